#include "named_character_sets.h"

#include <algorithm>
#include <array>
#include <utility>

#include "character_set.h"
#include "cjk_set_tables.h"
#include "packed_code_runs.h"

namespace tessavine::pgf {
namespace {

using Range = CodeRange;

// As the firmware's ltn0.pgf holds them: Windows-1252 without Žž, Windows-1251, a few marks and
// signs.
constexpr auto kFirmware = std::to_array<Range>({
    {0x0020, 0x007E}, {0x00A0, 0x00FF}, {0x0152, 0x0153}, {0x0160, 0x0161}, {0x0178, 0x0178},
    {0x0192, 0x0192}, {0x02C6, 0x02C6}, {0x02DC, 0x02DC}, {0x0301, 0x0301}, {0x0306, 0x0306},
    {0x0308, 0x0308}, {0x0338, 0x0338}, {0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C},
    {0x045E, 0x045F}, {0x0490, 0x0491}, {0x04C0, 0x04C0}, {0x2013, 0x2014}, {0x2018, 0x201A},
    {0x201C, 0x201E}, {0x2020, 0x2022}, {0x2026, 0x2026}, {0x2030, 0x2030}, {0x2039, 0x203A},
    {0x20AC, 0x20AC}, {0x2116, 0x2116}, {0x2122, 0x2122}, {0x2206, 0x2206}, {0x2219, 0x221A},
    {0x221E, 0x221E}, {0x2248, 0x2248}, {0x2260, 0x2260}, {0x2264, 0x2265},
});

// U+0378-0379, U+0380-0383, U+038B, U+038D and U+03A2 are unassigned.
constexpr auto kGreek = std::to_array<Range>({
    {0x0370, 0x0377},
    {0x037A, 0x037F},
    {0x0384, 0x038A},
    {0x038C, 0x038C},
    {0x038E, 0x03A1},
    {0x03A3, 0x03FF},
});

// Ă ă Â â Đ đ Ê ê Ô ô Ơ ơ Ư ư with the tone marks, and the vowels of Latin-1 and Latin
// Extended-A that carry them (À Á Â Ã È É Ê Ì Í Ò Ó Ô Õ Ù Ú Ý, Ĩ Ũ); the rest is Latin Extended
// Additional's Vietnamese run.
constexpr auto kVietnamese = std::to_array<Range>({
    {0x00C0, 0x00C3}, {0x00C8, 0x00CA}, {0x00CC, 0x00CD}, {0x00D2, 0x00D5}, {0x00D9, 0x00DA},
    {0x00DD, 0x00DD}, {0x00E0, 0x00E3}, {0x00E8, 0x00EA}, {0x00EC, 0x00ED}, {0x00F2, 0x00F5},
    {0x00F9, 0x00FA}, {0x00FD, 0x00FD}, {0x0102, 0x0103}, {0x0110, 0x0111}, {0x0128, 0x0129},
    {0x0168, 0x0169}, {0x01A0, 0x01A1}, {0x01AF, 0x01B0}, {0x1EA0, 0x1EF9},
});

constexpr auto kAscii = std::to_array<Range>({{0x0020, 0x007E}});
constexpr auto kLatin1 = std::to_array<Range>({{0x0020, 0x007E}, {0x00A0, 0x00FF}});
constexpr auto kLatinExtA = std::to_array<Range>({{0x0100, 0x017F}});
constexpr auto kLatinExtB = std::to_array<Range>({{0x0180, 0x024F}});
constexpr auto kCyrillic = std::to_array<Range>({{0x0400, 0x04FF}});
constexpr auto kArrows = std::to_array<Range>({{0x2190, 0x21FF}});
constexpr auto kShapes = std::to_array<Range>({{0x00D7, 0x00D7}, {0x25A0, 0x25FF}});
constexpr auto kPunctuation = std::to_array<Range>({{0x2010, 0x2027}, {0x2030, 0x205E}});

// The signs games draw for the PSP's buttons (○ × △ □, the big circle, the filled shapes) and the
// four arrows of the direction pad. A replacement for the big font must keep them wherever the
// script's own set lacks them (GB 2312 has no big circle), so every East Asian set holds them.
constexpr auto kButtons = std::to_array<Range>({
    {0x00D7, 0x00D7},
    {0x2190, 0x2193},
    {0x25A0, 0x25A1},
    {0x25B2, 0x25B3},
    {0x25CB, 0x25CB},
    {0x25CF, 0x25CF},
    {0x25EF, 0x25EF},
});
constexpr auto kHalfWidthKatakana = std::to_array<Range>({{0xFF61, 0xFF9F}});
// Hiragana and katakana without the unassigned U+3040, U+3097 and U+3098.
constexpr auto kKana = std::to_array<Range>({{0x3041, 0x3096}, {0x3099, 0x30FF}});
constexpr auto kCjkPunctuation = std::to_array<Range>({{0x3000, 0x303F}});
constexpr auto kFullwidth = std::to_array<Range>({{0xFF00, 0xFFEF}});
constexpr auto kHangul = std::to_array<Range>({{0xAC00, 0xD7A3}});

// An East Asian set: its packed tables and ranges, and the buttons.
std::vector<char32_t> eastAsianSet(std::initializer_list<std::string_view> packedTables,
                                   std::initializer_list<std::span<const Range>> rangeLists) {
    std::vector<char32_t> codes = charactersInRanges(kButtons);
    for (const std::string_view packed : packedTables) {
        const std::vector<char32_t> table = unpackCodeRuns(packed);
        codes.insert(codes.end(), table.begin(), table.end());
    }
    for (const std::span<const Range> ranges : rangeLists) {
        const std::vector<char32_t> more = charactersInRanges(ranges);
        codes.insert(codes.end(), more.begin(), more.end());
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

std::vector<char32_t> eastAsianSet(std::string_view name) {
    namespace t = cjk_tables;
    if (name == "jis0208") {
        return eastAsianSet({t::kJis0208}, {});
    }
    if (name == "japanese") {
        return eastAsianSet({t::kJis0208, t::kWindowsJapaneseExtensions},
                            {kAscii, kHalfWidthKatakana});
    }
    if (name == "gb2312") {
        return eastAsianSet({t::kGb2312}, {});
    }
    if (name == "big5") {
        return eastAsianSet({t::kBig5}, {});
    }
    if (name == "ksx1001") {
        return eastAsianSet({t::kKsx1001}, {});
    }
    if (name == "hangul") {
        return eastAsianSet({}, {kHangul});
    }
    if (name == "kana") {
        return eastAsianSet({}, {kKana});
    }
    if (name == "cjk-punctuation") {
        return eastAsianSet({}, {kCjkPunctuation});
    }
    if (name == "fullwidth") {
        return eastAsianSet({}, {kFullwidth});
    }
    if (name == "buttons") {
        return charactersInRanges(kButtons);
    }
    return {};
}

constexpr auto kSets = std::to_array<NamedCharacterSet>({
    {"psp", "the 447 characters of earlier Tessavine fonts (the default)"},
    {"firmware", "the 324 characters of the PSP's own ltn0.pgf"},
    {"ascii", "U+0020-007E"},
    {"latin1", "ascii and U+00A0-00FF"},
    {"latin-ext-a", "U+0100-017F"},
    {"latin-ext-b", "U+0180-024F (Romanian s and t with comma below, ...)"},
    {"greek", "the 135 assigned characters of U+0370-03FF (monotonic Greek)"},
    {"cyrillic", "U+0400-04FF"},
    {"vietnamese", "the 134 precomposed letters Vietnamese needs beyond ascii"},
    {"arrows", "U+2190-21FF"},
    {"shapes", "U+25A0-25FF and the multiplication sign U+00D7 (the PSP's buttons)"},
    {"punctuation", "U+2010-2027 and U+2030-205E"},
    {"buttons", "the PSP's button signs and the arrows U+2190-2193 (in every set below)"},
    {"jis0208", "JIS X 0208, Japanese: kana, 6,355 kanji, Greek, Cyrillic, signs (6,879)"},
    {"japanese", "jis0208, ascii, half-width kana, CP932's additions (7,490; jpn0's default)"},
    {"gb2312", "GB 2312, simplified Chinese (7,446)"},
    {"big5", "Big5, traditional Chinese (13,494)"},
    {"ksx1001", "KS X 1001, Korean: 2,350 Hangul, 4,888 hanja, signs (8,228)"},
    {"hangul", "all 11,172 Hangul syllables U+AC00-D7A3"},
    {"kana", "hiragana and katakana U+3041-3096, U+3099-30FF"},
    {"cjk-punctuation", "U+3000-303F"},
    {"fullwidth", "half- and full-width forms U+FF00-FFEF"},
});

}  // namespace

std::span<const NamedCharacterSet> namedCharacterSets() {
    return kSets;
}

std::vector<char32_t> namedCharacterSet(std::string_view name) {
    const std::pair<std::string_view, std::span<const Range>> table[] = {
        {"firmware", kFirmware},       {"ascii", kAscii},
        {"latin1", kLatin1},           {"latin-ext-a", kLatinExtA},
        {"latin-ext-b", kLatinExtB},   {"greek", kGreek},
        {"cyrillic", kCyrillic},       {"vietnamese", kVietnamese},
        {"arrows", kArrows},           {"shapes", kShapes},
        {"punctuation", kPunctuation},
    };
    if (name == "psp") {
        return pspLatinCharacters();
    }
    if (std::vector<char32_t> eastAsian = eastAsianSet(name); !eastAsian.empty()) {
        return eastAsian;
    }
    for (const auto& [setName, ranges] : table) {
        if (setName == name) {
            return charactersInRanges(ranges);
        }
    }
    return {};
}

}  // namespace tessavine::pgf
