// hlpfile.h - the internal files of a WinHelp help file, and the packing of them into one .HLP file.
//
// A help file is a small file system: a header, internal files (|SYSTEM, |TOPIC, |FONT,
// |CONTEXT, ...) and a directory that maps their names to offsets, kept as a B+ tree.
// Everything here is plain bytes in little-endian order; the text handed in is already
// code page 932. The viewer we must satisfy is the one that ships with Wine, so where the
// format leaves room we take the reading that viewer takes.
#ifndef ZENTAVO_HELP_HLPFILE_H
#define ZENTAVO_HELP_HLPFILE_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// ---- Numbers as the format stores them ----

void PutByte(Bytes* out, unsigned value);
void PutWord(Bytes* out, unsigned value);
void PutDword(Bytes* out, uint32_t value);
void PutString(Bytes* out, const std::string& text);     // the bytes and a terminating zero
void PutDwordAt(Bytes* out, size_t at, uint32_t value);  // overwrites 4 bytes already there

// The variable-length numbers of paragraph records: one byte (or two, low bit set) for
// 16-bit values, two bytes (or four) for 32-bit values. Signed forms are stored biased.
void PutCompressedUnsigned16(Bytes* out, unsigned value);  // value < 32768
void PutCompressedSigned16(Bytes* out, int value);         // -16384 <= value < 16384
void PutCompressedUnsigned32(Bytes* out, uint32_t value);  // value < 2^31
void PutCompressedSigned32(Bytes* out, int32_t value);     // -2^30 <= value < 2^30

// The hash that links, |CONTEXT and the viewer's -i option use for a topic's context name.
// Names should use only letters, digits, '.' and '_': other bytes hash differently in
// different viewers.
uint32_t ContextHash(const std::string& name);

// ---- B+ trees ----

// One entry of a B+ tree: the whole leaf record, and the key part that index pages repeat.
struct BTreeEntry {
    Bytes leaf;
    Bytes key;
};

struct BTreeLeafPage {
    uint32_t firstEntry;  // number of the page's first entry, counting from 0
    uint16_t page;        // page number within the tree
};

struct BTree {
    Bytes bytes;                        // header and pages, ready to be an internal file
    std::vector<BTreeLeafPage> leaves;  // the leaf pages in order, for |KWMAP
};

// Builds a B+ tree of fixed-size pages from entries already in the tree's sort order.
// flags and format are stored in the header (format: at most 16 bytes). Leaf pages are
// filled in order, then index pages above them until one root page is left. Every entry
// must fit a page with its header.
BTree BuildBTree(const std::vector<BTreeEntry>& entries, unsigned flags, unsigned pageSize, const std::string& format);

// ---- Internal files ----

// The 16-byte help file header, the internal files in name order, then the directory.
// Each internal file gets its 9-byte header; |TOPIC's size must already be whole blocks.
Bytes PackHelpFile(const std::map<std::string, Bytes>& files);

// A secondary or main window as the help file defines it. Only the caption is set: the
// viewer keeps its own position and size.
struct HelpWindow {
    std::string type;     // at most 9 bytes, e.g. "main"
    std::string name;     // at most 8 bytes
    std::string caption;  // at most 50 bytes
};

struct SystemInfo {
    std::string title;                // record 1, the help file's title
    std::string copyright;            // record 2, shown in the viewer's about box; empty for none
    uint32_t contentsOffset;          // record 3, TOPICOFFSET of the contents topic
    std::vector<std::string> macros;  // record 4, one per macro run when the file opens
    std::vector<HelpWindow> windows;  // record 6
    uint16_t languageId;              // record 9, e.g. 0x0411 for Japanese
    uint8_t charset;                  // record 11, e.g. 128 for Shift-JIS
};

// The |SYSTEM file of a WinHelp 4.0 file with uncompressed 4 KB topic blocks and a
// generation date of 0, so that the same sources always give the same bytes.
Bytes BuildSystemFile(const SystemInfo& info);

enum FontFamily { FAMILY_MODERN = 1, FAMILY_ROMAN = 2, FAMILY_SWISS = 3, FAMILY_SCRIPT = 4, FAMILY_DECORATIVE = 5 };
enum FontFlag { FONT_FLAG_BOLD = 1, FONT_FLAG_ITALIC = 2, FONT_FLAG_UNDERLINE = 4 };

struct FontDescriptor {
    unsigned flags;       // FontFlag bits
    unsigned halfPoints;  // size in half points
    FontFamily family;
    unsigned face;  // index into the face names
    uint8_t red, green, blue;
};

// The |FONT file: face names in 32-byte slots (each at most 31 bytes) and the old 11-byte
// descriptors, whose sizes are half points. Paragraph records select a descriptor by index.
Bytes BuildFontFile(const std::vector<std::string>& faces, const std::vector<FontDescriptor>& descriptors);

struct ContextEntry {
    uint32_t hash;
    uint32_t topicOffset;
};

// |CONTEXT: a B+ tree from context hash to TOPICOFFSET, sorted by the hash as a signed
// number, the order in which the viewer searches it.
Bytes BuildContextFile(std::vector<ContextEntry> entries);

struct MapEntry {
    uint32_t mapNumber;
    uint32_t topicOffset;
};

// |CTXOMAP: the numbers that programs pass with HELP_CONTEXT, and their topics.
Bytes BuildContextMapFile(const std::vector<MapEntry>& entries);

struct TitleEntry {
    uint32_t topicOffset;
    std::string title;
};

// |TTLBTREE: topic titles by TOPICOFFSET, for the viewer's search dialog.
Bytes BuildTitleFile(std::vector<TitleEntry> entries);

struct KeywordEntry {
    std::string keyword;
    uint32_t topicOffset;
};

// |KWBTREE, |KWDATA and |KWMAP: the keyword index. Each keyword names one topic. The keywords
// are sorted the way the viewer compares them while it searches the index: byte by byte as
// unsigned values, with ASCII letters compared as capitals (so "_" comes after every letter).
// Only a byte that is a character of its own is a letter: code page 932 text is read character
// by character, and a double-byte character (lead byte 0x81 to 0x9F or 0xE0 to 0xFC) compares
// by its two bytes as they are, full-width letters included.
void AddKeywordFiles(std::vector<KeywordEntry> entries, std::map<std::string, Bytes>* files);

#endif
