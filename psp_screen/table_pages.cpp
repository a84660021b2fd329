#include "table_pages.h"

#include <algorithm>
#include <iterator>

#include "grouped_digits.h"

namespace tessavine::psp_screen {
namespace {

struct Block {
    char32_t first;
    char32_t last;
    const char* name;
};

// The blocks of the 16-bit codes a PGF charmap holds that the PSP's fonts and the converter's
// sets reach; a code outside them is shown under its run of 256 codes.
constexpr Block kBlocks[] = {
    {0x0000, 0x007F, "Basic Latin"},
    {0x0080, 0x00FF, "Latin-1 Supplement"},
    {0x0100, 0x017F, "Latin Extended-A"},
    {0x0180, 0x024F, "Latin Extended-B"},
    {0x0250, 0x02AF, "IPA Extensions"},
    {0x02B0, 0x02FF, "Spacing Modifier Letters"},
    {0x0300, 0x036F, "Combining Diacritical Marks"},
    {0x0370, 0x03FF, "Greek and Coptic"},
    {0x0400, 0x04FF, "Cyrillic"},
    {0x0500, 0x052F, "Cyrillic Supplement"},
    {0x1100, 0x11FF, "Hangul Jamo"},
    {0x1E00, 0x1EFF, "Latin Extended Additional"},
    {0x1F00, 0x1FFF, "Greek Extended"},
    {0x2000, 0x206F, "General Punctuation"},
    {0x2070, 0x209F, "Superscripts and Subscripts"},
    {0x20A0, 0x20CF, "Currency Symbols"},
    {0x2100, 0x214F, "Letterlike Symbols"},
    {0x2150, 0x218F, "Number Forms"},
    {0x2190, 0x21FF, "Arrows"},
    {0x2200, 0x22FF, "Mathematical Operators"},
    {0x2300, 0x23FF, "Miscellaneous Technical"},
    {0x2460, 0x24FF, "Enclosed Alphanumerics"},
    {0x2500, 0x257F, "Box Drawing"},
    {0x2580, 0x259F, "Block Elements"},
    {0x25A0, 0x25FF, "Geometric Shapes"},
    {0x2600, 0x26FF, "Miscellaneous Symbols"},
    {0x2700, 0x27BF, "Dingbats"},
    {0x2E80, 0x2EFF, "CJK Radicals Supplement"},
    {0x2F00, 0x2FDF, "Kangxi Radicals"},
    {0x3000, 0x303F, "CJK Symbols and Punctuation"},
    {0x3040, 0x309F, "Hiragana"},
    {0x30A0, 0x30FF, "Katakana"},
    {0x3100, 0x312F, "Bopomofo"},
    {0x3130, 0x318F, "Hangul Compatibility Jamo"},
    {0x3190, 0x319F, "Kanbun"},
    {0x31A0, 0x31BF, "Bopomofo Extended"},
    {0x31C0, 0x31EF, "CJK Strokes"},
    {0x31F0, 0x31FF, "Katakana Phonetic Extensions"},
    {0x3200, 0x32FF, "Enclosed CJK Letters and Months"},
    {0x3300, 0x33FF, "CJK Compatibility"},
    {0x3400, 0x4DBF, "CJK Unified Ideographs Extension A"},
    {0x4E00, 0x9FFF, "CJK Unified Ideographs"},
    {0xAC00, 0xD7AF, "Hangul Syllables"},
    {0xE000, 0xF8FF, "Private Use Area"},
    {0xF900, 0xFAFF, "CJK Compatibility Ideographs"},
    {0xFE30, 0xFE4F, "CJK Compatibility Forms"},
    {0xFF00, 0xFFEF, "Halfwidth and Fullwidth Forms"},
    {0xFFF0, 0xFFFF, "Specials"},
};

// A block of the table above, or for a code in none the run of 256 codes it is in, named by its
// range.
struct PageKey {
    std::string name;
    char32_t last = 0;
};

std::string hex4(char32_t code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[code & 0xF];
        code >>= 4;
    }
    return text;
}

PageKey keyOf(char32_t code) {
    const auto* block = std::find_if(std::begin(kBlocks), std::end(kBlocks),
                                     [code](const Block& b) { return code <= b.last; });
    if (block != std::end(kBlocks) && code >= block->first) {
        return {block->name, block->last};
    }
    // Between blocks: the run of 256 codes, cut short where the next named block begins.
    char32_t first = code & ~char32_t{0xFF};
    char32_t last = first + 0xFF;
    if (block != std::end(kBlocks)) {
        last = std::min<char32_t>(last, block->first - 1);
    }
    if (block != std::begin(kBlocks)) {
        first = std::max<char32_t>(first, std::prev(block)->last + 1);
    }
    return {"U+" + hex4(first) + "-" + hex4(last), last};
}

}  // namespace

std::string unicodeBlockName(char32_t code) {
    const auto* block = std::find_if(std::begin(kBlocks), std::end(kBlocks),
                                     [code](const Block& b) { return code <= b.last; });
    return block != std::end(kBlocks) && code >= block->first ? block->name : "";
}

std::vector<TablePage> characterTablePages(const pgf::PgfFile& font,
                                           std::span<const TableEntry> entries) {
    const std::size_t capacity = std::max<std::size_t>(
        kTableColumns,
        static_cast<std::size_t>(tableGeometry(font, kMostTableEntries).rows) * kTableColumns);
    if (entries.size() <= capacity) {
        return {{"All characters (" + groupedDigits(entries.size()) + ")", 0, entries.size()}};
    }
    std::vector<TablePage> pages;
    std::size_t first = 0;
    while (first < entries.size()) {
        const PageKey key = keyOf(entries[first].code);
        std::size_t end = first;
        while (end < entries.size() && entries[end].code <= key.last) {
            ++end;
        }
        const std::size_t size = end - first;
        const std::size_t parts = (size + capacity - 1) / capacity;
        for (std::size_t part = 0; part < parts; ++part) {
            const std::size_t start = first + part * capacity;
            const std::size_t count = std::min(capacity, end - start);
            std::string title = key.name;
            if (parts > 1) {
                title += ", part " + std::to_string(part + 1) + " of " + std::to_string(parts);
            }
            pages.push_back({title + " (" + groupedDigits(count) + ")", start, count});
        }
        first = end;
    }
    return pages;
}

}  // namespace tessavine::psp_screen
