// hlpfile.cpp - numbers, B+ trees and the internal files of a WinHelp help file.
#include "help/hlpfile.h"

#include <string.h>

#include <algorithm>

#include "core/codepage.h"

void PutByte(Bytes* out, unsigned value)
{
    out->push_back(static_cast<unsigned char>(value & 0xFF));
}

void PutWord(Bytes* out, unsigned value)
{
    PutByte(out, value);
    PutByte(out, value >> 8);
}

void PutDword(Bytes* out, uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

void PutString(Bytes* out, const std::string& text)
{
    out->insert(out->end(), text.begin(), text.end());
    PutByte(out, 0);
}

void PutCompressedUnsigned16(Bytes* out, unsigned value)
{
    if (value < 0x80) {
        PutByte(out, value * 2);
    } else {
        PutByte(out, (value % 128) * 2 + 1);
        PutByte(out, value / 128);
    }
}

void PutCompressedSigned16(Bytes* out, int value)
{
    if (value >= -0x40 && value < 0x40)
        PutCompressedUnsigned16(out, value + 0x40);
    else
        PutCompressedUnsigned16(out, value + 0x4000);
}

void PutCompressedUnsigned32(Bytes* out, uint32_t value)
{
    if (value < 0x8000) {
        PutWord(out, value * 2);
    } else {
        PutWord(out, (value % 0x8000) * 2 + 1);
        PutWord(out, value / 0x8000);
    }
}

void PutCompressedSigned32(Bytes* out, int32_t value)
{
    if (value >= -0x4000 && value < 0x4000)
        PutCompressedUnsigned32(out, value + 0x4000);
    else
        PutCompressedUnsigned32(out, value + 0x4000000);
}

uint32_t ContextHash(const std::string& name)
{
    // Letters count from 17 without regard to case, '1' to '9' as 1 to 9, '0' as 10, '.'
    // as 12 and '_' as 13; the empty name hashes to 1.
    if (name.empty()) return 1;
    uint32_t hash = 0;
    for (unsigned char c : name) {
        unsigned value = 0;
        if (c >= 'A' && c <= 'Z') value = c - 'A' + 17;
        if (c >= 'a' && c <= 'z') value = c - 'a' + 17;
        if (c >= '1' && c <= '9') value = c - '0';
        if (c == '0') value = 10;
        if (c == '.') value = 12;
        if (c == '_') value = 13;
        hash = hash * 43 + value;
    }
    return hash;
}

void PutDwordAt(Bytes* out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) (*out)[at + i] = (value >> (8 * i)) & 0xFF;
}

namespace {

enum { BTREE_HEADER_SIZE = 38, LEAF_HEADER_SIZE = 8, INDEX_HEADER_SIZE = 6 };

// The first entry of each page, carried up to be the key of the page above.
struct PageStart {
    size_t firstEntry;
    unsigned page;
};

// Fills leaf pages with as many whole entries as fit; returns the first entry of each.
std::vector<PageStart> WriteLeafPages(const std::vector<BTreeEntry>& entries, unsigned pageSize, Bytes* pages)
{
    std::vector<PageStart> starts;
    size_t next = 0;
    do {
        size_t page = starts.size();
        starts.push_back({next, static_cast<unsigned>(page)});
        Bytes body;
        size_t count = 0;
        while (next < entries.size() && body.size() + entries[next].leaf.size() <= pageSize - LEAF_HEADER_SIZE) {
            body.insert(body.end(), entries[next].leaf.begin(), entries[next].leaf.end());
            ++next, ++count;
        }
        PutWord(pages, pageSize - LEAF_HEADER_SIZE - body.size());
        PutWord(pages, count);
        PutWord(pages, page == 0 ? 0xFFFF : page - 1);
        PutWord(pages, next < entries.size() ? page + 1 : 0xFFFF);
        pages->insert(pages->end(), body.begin(), body.end());
        pages->resize(pages->size() + pageSize - LEAF_HEADER_SIZE - body.size(), 0);
    } while (next < entries.size());
    return starts;
}

// One level of index pages over the pages below; returns the first entry of each new page.
std::vector<PageStart> WriteIndexLevel(const std::vector<BTreeEntry>& entries, const std::vector<PageStart>& below,
                                       unsigned pageSize, Bytes* pages)
{
    std::vector<PageStart> starts;
    size_t next = 0;
    while (next < below.size()) {
        unsigned page = pages->size() / pageSize;
        starts.push_back({below[next].firstEntry, page});
        unsigned previous = below[next++].page;
        Bytes body;
        size_t count = 0;
        while (next < below.size()) {
            const Bytes& key = entries[below[next].firstEntry].key;
            if (body.size() + key.size() + 2 > pageSize - INDEX_HEADER_SIZE) break;
            body.insert(body.end(), key.begin(), key.end());
            PutWord(&body, below[next++].page);
            ++count;
        }
        PutWord(pages, pageSize - INDEX_HEADER_SIZE - body.size());
        PutWord(pages, count);
        PutWord(pages, previous);
        pages->insert(pages->end(), body.begin(), body.end());
        pages->resize(pages->size() + pageSize - INDEX_HEADER_SIZE - body.size(), 0);
    }
    return starts;
}

}  // namespace

BTree BuildBTree(const std::vector<BTreeEntry>& entries, unsigned flags, unsigned pageSize, const std::string& format)
{
    BTree tree;
    Bytes pages;
    std::vector<PageStart> level = WriteLeafPages(entries, pageSize, &pages);
    for (const PageStart& start : level)
        tree.leaves.push_back({static_cast<uint32_t>(start.firstEntry), static_cast<uint16_t>(start.page)});
    unsigned levels = 1;
    while (level.size() > 1) {
        level = WriteIndexLevel(entries, level, pageSize, &pages);
        ++levels;
    }
    unsigned totalPages = pages.size() / pageSize;

    Bytes& out = tree.bytes;
    PutWord(&out, 0x293B);
    PutWord(&out, flags);
    PutWord(&out, pageSize);
    char structure[16] = {};
    memcpy(structure, format.data(), std::min<size_t>(format.size(), sizeof structure));
    out.insert(out.end(), structure, structure + sizeof structure);
    PutWord(&out, 0);
    PutWord(&out, totalPages - levels);  // every page but the first of each level came from a split
    PutWord(&out, level[0].page);        // the root
    PutWord(&out, 0xFFFF);
    PutWord(&out, totalPages);
    PutWord(&out, levels);
    PutDword(&out, entries.size());
    out.insert(out.end(), pages.begin(), pages.end());
    return tree;
}

namespace {

enum { FILE_HEADER_SIZE = 9, HELP_HEADER_SIZE = 16 };

void PutInternalFile(Bytes* out, const Bytes& content)
{
    PutDword(out, content.size() + FILE_HEADER_SIZE);  // reserved space, header included
    PutDword(out, content.size());
    PutByte(out, 0);
    out->insert(out->end(), content.begin(), content.end());
}

}  // namespace

Bytes PackHelpFile(const std::map<std::string, Bytes>& files)
{
    std::vector<BTreeEntry> directory;
    uint32_t offset = HELP_HEADER_SIZE;
    for (const auto& file : files) {
        BTreeEntry entry;
        PutString(&entry.key, file.first);
        entry.leaf = entry.key;
        PutDword(&entry.leaf, offset);
        directory.push_back(entry);
        offset += FILE_HEADER_SIZE + file.second.size();
    }
    Bytes directoryFile = BuildBTree(directory, 0x0402, 0x0400, "z4").bytes;

    Bytes out;
    PutDword(&out, 0x00035F3F);
    PutDword(&out, offset);      // the directory comes last
    PutDword(&out, 0xFFFFFFFF);  // no free list
    PutDword(&out, offset + FILE_HEADER_SIZE + directoryFile.size());
    for (const auto& file : files) PutInternalFile(&out, file.second);
    PutInternalFile(&out, directoryFile);
    return out;
}

namespace {

void PutSystemRecord(Bytes* out, unsigned type, const Bytes& data)
{
    PutWord(out, type);
    PutWord(out, data.size());
    out->insert(out->end(), data.begin(), data.end());
}

Bytes StringRecord(const std::string& text)
{
    Bytes data;
    PutString(&data, text);
    return data;
}

// A text field of a fixed size, zero-padded; the caller keeps the text shorter than size.
void PutField(Bytes* out, const std::string& text, size_t size)
{
    size_t start = out->size();
    out->insert(out->end(), text.begin(), text.end());
    out->resize(start + size, 0);
}

Bytes WindowRecord(const HelpWindow& window)
{
    enum { TYPE_VALID = 1, NAME_VALID = 2, CAPTION_VALID = 4 };
    Bytes data;
    PutWord(&data, TYPE_VALID | NAME_VALID | CAPTION_VALID);
    PutField(&data, window.type, 10);
    PutField(&data, window.name, 9);
    PutField(&data, window.caption, 51);
    for (int i = 0; i < 5; ++i) PutWord(&data, 0);  // position, size, show state: not valid
    PutDword(&data, 0xFFFFFF);                      // background colours: white
    PutDword(&data, 0xFFFFFF);
    return data;
}

}  // namespace

Bytes BuildSystemFile(const SystemInfo& info)
{
    Bytes out;
    PutWord(&out, 0x036C);
    PutWord(&out, 33);  // minor version: WinHelp 4.0
    PutWord(&out, 1);
    PutDword(&out, 0);  // generation date
    PutWord(&out, 0);   // flags: topic blocks of 4 KB, not compressed
    PutSystemRecord(&out, 1, StringRecord(info.title));
    if (!info.copyright.empty()) PutSystemRecord(&out, 2, StringRecord(info.copyright));
    Bytes contents;
    PutDword(&contents, info.contentsOffset);
    PutSystemRecord(&out, 3, contents);
    for (const std::string& macro : info.macros) PutSystemRecord(&out, 4, StringRecord(macro));
    for (const HelpWindow& window : info.windows) PutSystemRecord(&out, 6, WindowRecord(window));
    Bytes language(8, 0);
    PutWord(&language, info.languageId);
    PutSystemRecord(&out, 9, language);
    Bytes charset;
    PutWord(&charset, info.charset);
    PutSystemRecord(&out, 11, charset);
    return out;
}

Bytes BuildFontFile(const std::vector<std::string>& faces, const std::vector<FontDescriptor>& descriptors)
{
    enum { HEADER_SIZE = 8, FACE_SLOT = 32 };
    Bytes out;
    PutWord(&out, faces.size());
    PutWord(&out, descriptors.size());
    PutWord(&out, HEADER_SIZE);
    PutWord(&out, HEADER_SIZE + FACE_SLOT * faces.size());
    for (const std::string& face : faces) PutField(&out, face.substr(0, FACE_SLOT - 1), FACE_SLOT);
    for (const FontDescriptor& font : descriptors) {
        PutByte(&out, font.flags);
        PutByte(&out, font.halfPoints);
        PutByte(&out, font.family);
        PutWord(&out, font.face);
        PutByte(&out, font.red);
        PutByte(&out, font.green);
        PutByte(&out, font.blue);
        PutByte(&out, 0);  // background colour, unused
        PutByte(&out, 0);
        PutByte(&out, 0);
    }
    return out;
}

Bytes BuildContextFile(std::vector<ContextEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const ContextEntry& a, const ContextEntry& b) {
        return static_cast<int32_t>(a.hash) < static_cast<int32_t>(b.hash);
    });
    std::vector<BTreeEntry> tree;
    for (const ContextEntry& entry : entries) {
        BTreeEntry item;
        PutDword(&item.key, entry.hash);
        item.leaf = item.key;
        PutDword(&item.leaf, entry.topicOffset);
        tree.push_back(item);
    }
    return BuildBTree(tree, 0x0002, 0x0800, "L4").bytes;
}

Bytes BuildContextMapFile(const std::vector<MapEntry>& entries)
{
    Bytes out;
    PutWord(&out, entries.size());
    for (const MapEntry& entry : entries) {
        PutDword(&out, entry.mapNumber);
        PutDword(&out, entry.topicOffset);
    }
    return out;
}

Bytes BuildTitleFile(std::vector<TitleEntry> entries)
{
    std::sort(entries.begin(), entries.end(),
              [](const TitleEntry& a, const TitleEntry& b) { return a.topicOffset < b.topicOffset; });
    std::vector<BTreeEntry> tree;
    for (const TitleEntry& entry : entries) {
        BTreeEntry item;
        PutDword(&item.key, entry.topicOffset);
        item.leaf = item.key;
        PutString(&item.leaf, entry.title);
        tree.push_back(item);
    }
    return BuildBTree(tree, 0x0002, 0x0800, "Lz").bytes;
}

namespace {

// The keyword with every ASCII letter that stands as a character of its own in upper case. The
// second byte of a double-byte character keeps its value, even where that is a letter's.
std::string KeywordCompareForm(const std::string& keyword)
{
    std::string folded = keyword;
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char byte = folded[i];
        if (IsLeadByte(byte))
            ++i;
        else if (byte >= 'a' && byte <= 'z')
            folded[i] = static_cast<char>(byte - 'a' + 'A');
    }
    return folded;
}

bool KeywordLess(const KeywordEntry& a, const KeywordEntry& b)
{
    return KeywordCompareForm(a.keyword) < KeywordCompareForm(b.keyword);
}

}  // namespace

void AddKeywordFiles(std::vector<KeywordEntry> entries, std::map<std::string, Bytes>* files)
{
    std::stable_sort(entries.begin(), entries.end(), KeywordLess);
    Bytes data;
    std::vector<BTreeEntry> tree;
    for (const KeywordEntry& entry : entries) {
        BTreeEntry item;
        PutString(&item.key, entry.keyword);
        item.leaf = item.key;
        PutWord(&item.leaf, 1);  // one topic
        PutDword(&item.leaf, data.size());
        PutDword(&data, entry.topicOffset);
        tree.push_back(item);
    }
    BTree keywords = BuildBTree(tree, 0x0002, 0x0800, "F24");
    Bytes map;
    PutWord(&map, keywords.leaves.size());
    for (const BTreeLeafPage& leaf : keywords.leaves) {
        PutDword(&map, leaf.firstEntry);
        PutWord(&map, leaf.page);
    }
    (*files)["|KWBTREE"] = keywords.bytes;
    (*files)["|KWDATA"] = data;
    (*files)["|KWMAP"] = map;
}
