// clipboard.cpp - putting text on the clipboard in its Unicode and code page 932 forms.
#include "clipboard.h"

#include <string.h>

#include <vector>

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

// The zero-terminated UTF-16 form of code page 932 text.
std::vector<wchar_t> ToUnicode(const std::string& text)
{
    int count = MultiByteToWideChar(JAPANESE_CODE_PAGE, 0, text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(count > 0 ? count : 1, L'\0');
    MultiByteToWideChar(JAPANESE_CODE_PAGE, 0, text.c_str(), -1, wide.data(), count);
    return wide;
}

}  // namespace

int CopyTextToClipboard(HWND owner, const std::string& text)
{
    const std::string bytes = WithCrLf(text);
    const std::vector<wchar_t> wide = ToUnicode(bytes);
    const UINT formats[] = {CF_UNICODETEXT, CF_TEXT, CF_LOCALE};
    HGLOBAL blocks[] = {GlobalCopy(wide.data(), wide.size() * sizeof(wchar_t)),
                        GlobalCopy(bytes.c_str(), bytes.size() + 1),
                        GlobalCopy(&JAPANESE_LOCALE, sizeof JAPANESE_LOCALE)};
    // Everything is made before the clipboard is opened, so that it is replaced whole or not at all.
    bool ready = blocks[0] && blocks[1] && blocks[2] && OpenClipboard(owner);
    if (!ready) {
        for (HGLOBAL block : blocks)
            if (block) GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    // The clipboard owns each block it accepted; one it refused is still ours.
    for (int i = 0; i < 3; ++i)
        if (!SetClipboardData(formats[i], blocks[i])) GlobalFree(blocks[i]);
    CloseClipboard();
    return 1;
}
