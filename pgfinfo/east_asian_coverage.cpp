#include "east_asian_coverage.h"

#include <cstdio>
#include <string>
#include <vector>

#include "pgf/named_character_sets.h"
#include "psp_screen/grouped_digits.h"

namespace tessavine::pgfinfo {
namespace {

struct Block {
    const char* name;
    char32_t first;
    char32_t last;
};

constexpr Block kBlocks[] = {
    {"CJK punctuation", 0x3000, 0x303F},  {"Hiragana", 0x3040, 0x309F},
    {"Katakana", 0x30A0, 0x30FF},         {"CJK ideographs", 0x4E00, 0x9FFF},
    {"Hangul syllables", 0xAC00, 0xD7A3}, {"Half/full-width", 0xFF00, 0xFFEF},
};

struct NamedSet {
    const char* label;
    const char* name;
};

constexpr NamedSet kSets[] = {
    {"JIS X 0208", "jis0208"}, {"japanese", "japanese"}, {"GB 2312", "gb2312"},
    {"Big5", "big5"},          {"KS X 1001", "ksx1001"}, {"buttons", "buttons"},
};

void printLine(std::ostream& out, const char* label, std::size_t present, std::size_t size) {
    char line[96];
    std::snprintf(line, sizeof line, "  %-18s %6s of %6s\n", label,
                  psp_screen::groupedDigits(present).c_str(),
                  psp_screen::groupedDigits(size).c_str());
    out << line;
}

}  // namespace

void printEastAsianCoverage(std::ostream& out, const pgf::PgfFile& font) {
    std::vector<std::size_t> present;
    std::size_t any = 0;
    for (const Block& block : kBlocks) {
        std::size_t count = 0;
        for (char32_t code = block.first; code <= block.last; ++code) {
            count += font.glyphIndexOf(code) ? 1u : 0u;
        }
        present.push_back(count);
        any += count;
    }
    if (any == 0) {
        return;
    }
    out << "  East Asian blocks (among the glyphs beyond)\n";
    for (std::size_t i = 0; i < std::size(kBlocks); ++i) {
        printLine(out, kBlocks[i].name, present[i], kBlocks[i].last - kBlocks[i].first + 1);
    }
    out << "  named sets (--chars)\n";
    for (const NamedSet& set : kSets) {
        const std::vector<char32_t> codes = pgf::namedCharacterSet(set.name);
        std::size_t held = 0;
        for (const char32_t code : codes) {
            held += font.glyphIndexOf(code) ? 1u : 0u;
        }
        printLine(out, set.label, held, codes.size());
    }
}

}  // namespace tessavine::pgfinfo
