// clipboard.cpp - putting text on the clipboard in its Unicode and code page 932 forms.
#include "clipboard.h"

#include <string.h>

#include <algorithm>
#include <iterator>

namespace {

const UINT JAPANESE_CODE_PAGE = 932;
const LCID JAPANESE_LOCALE = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// A movable memory block holding a copy of size bytes, as the clipboard takes it; nullptr when
// memory is short.
HGLOBAL GlobalCopy(const void* data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes) return block ? GlobalFree(block) : nullptr;
    memcpy(bytes, data, size);
    GlobalUnlock(block);
    return block;
}

// The UTF-16 form of code page 932 text; empty when the system lacks the code page.
std::wstring ToUnicode(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');  // no character takes more UTF-16 units than bytes
    const int count = MultiByteToWideChar(JAPANESE_CODE_PAGE, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                          static_cast<int>(wide.size()));
    wide.resize(count);
    return wide;
}

}  // namespace

const char MSG_COPY_FAILED[] = "クリップボードへのコピーに失敗しました";

int CopyTextToClipboard(HWND owner, const std::string& text)
{
    const std::string bytes = WithCrLf(text);
    const std::wstring wide = ToUnicode(bytes);
    struct {
        UINT format;
        HGLOBAL block;
    } forms[] = {{CF_UNICODETEXT, GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t))},
                 {CF_TEXT, GlobalCopy(bytes.c_str(), bytes.size() + 1)},
                 {CF_LOCALE, GlobalCopy(&JAPANESE_LOCALE, sizeof JAPANESE_LOCALE)}};
    // Everything is made before the clipboard is opened, so that it is replaced whole or not at all.
    const bool made =
        std::all_of(std::begin(forms), std::end(forms), [](const auto& form) { return form.block != nullptr; });
    if (!made || !OpenClipboard(owner)) {
        for (const auto& form : forms)
            if (form.block) GlobalFree(form.block);
        return 0;
    }
    EmptyClipboard();
    // The clipboard owns each block it accepted; one it refused is still ours.
    for (const auto& form : forms)
        if (!SetClipboardData(form.format, form.block)) GlobalFree(form.block);
    CloseClipboard();
    return 1;
}
