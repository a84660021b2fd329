// The named sets against the Unicode blocks written out here by hand, and the --chars lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "pgf/character_list.h"
#include "pgf/character_set.h"
#include "pgf/named_character_sets.h"

namespace tessavine::pgf {
namespace {

using Codes = std::vector<char32_t>;

Codes span(std::initializer_list<std::pair<char32_t, char32_t>> ranges) {
    Codes codes;
    for (const auto& [first, last] : ranges) {
        for (char32_t c = first; c <= last; ++c) {
            codes.push_back(c);
        }
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

// The Vietnamese letters as a Vietnamese keyboard types them, decoded from UTF-8 here.
Codes vietnameseLetters() {
    const std::u32string lower =
        U"àáảãạăằắẳẵặâầấẩẫậđèéẻẽẹêềếểễệìíỉĩịòóỏõọôồốổỗộơờớởỡợùúủũụưừứửữựỳýỷỹỵ";
    const std::u32string upper =
        U"ÀÁẢÃẠĂẰẮẲẴẶÂẦẤẨẪẬĐÈÉẺẼẸÊỀẾỂỄỆÌÍỈĨỊÒÓỎÕỌÔỒỐỔỖỘƠỜỚỞỠỢÙÚỦŨỤƯỪỨỬỮỰỲÝỶỸỴ";
    Codes codes(lower.begin(), lower.end());
    codes.insert(codes.end(), upper.begin(), upper.end());
    std::sort(codes.begin(), codes.end());
    return codes;
}

struct NamedCase {
    const char* name;
    Codes expected;
    std::size_t size;
};

TEST(NamedCharacterSets, HoldExactlyTheirBlocks) {
    const NamedCase cases[] = {
        {"ascii", span({{0x20, 0x7E}}), 95},
        {"latin1", span({{0x20, 0x7E}, {0xA0, 0xFF}}), 191},
        {"latin-ext-a", span({{0x100, 0x17F}}), 128},
        {"latin-ext-b", span({{0x180, 0x24F}}), 208},
        // Greek and Coptic without its nine unassigned code points.
        {"greek",
         span({{0x370, 0x377},
               {0x37A, 0x37F},
               {0x384, 0x38A},
               {0x38C, 0x38C},
               {0x38E, 0x3A1},
               {0x3A3, 0x3FF}}),
         135},
        {"cyrillic", span({{0x400, 0x4FF}}), 256},
        {"vietnamese", vietnameseLetters(), 134},
        {"arrows", span({{0x2190, 0x21FF}}), 112},
        {"shapes", span({{0xD7, 0xD7}, {0x25A0, 0x25FF}}), 97},
        {"punctuation", span({{0x2010, 0x2027}, {0x2030, 0x205E}}), 71},
        // The firmware's ltn0.pgf as the format notes list it: 324 characters.
        {"firmware", span({{0x20, 0x7E},     {0xA0, 0xFF},     {0x152, 0x153},   {0x160, 0x161},
                           {0x178, 0x178},   {0x192, 0x192},   {0x2C6, 0x2C6},   {0x2DC, 0x2DC},
                           {0x301, 0x301},   {0x306, 0x306},   {0x308, 0x308},   {0x338, 0x338},
                           {0x401, 0x40C},   {0x40E, 0x44F},   {0x451, 0x45C},   {0x45E, 0x45F},
                           {0x490, 0x491},   {0x4C0, 0x4C0},   {0x2013, 0x2014}, {0x2018, 0x201A},
                           {0x201C, 0x201E}, {0x2020, 0x2022}, {0x2026, 0x2026}, {0x2030, 0x2030},
                           {0x2039, 0x203A}, {0x20AC, 0x20AC}, {0x2116, 0x2116}, {0x2122, 0x2122},
                           {0x2206, 0x2206}, {0x2219, 0x221A}, {0x221E, 0x221E}, {0x2248, 0x2248},
                           {0x2260, 0x2260}, {0x2264, 0x2265}}),
         324},
    };
    for (const NamedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected.size(), c.size);  // the hand-written list itself
        EXPECT_EQ(namedCharacterSet(c.name), c.expected);
    }
    EXPECT_EQ(namedCharacterSet("psp"), pspLatinCharacters());
    EXPECT_TRUE(namedCharacterSet("klingon").empty());
    // Every set --help names exists.
    EXPECT_EQ(namedCharacterSets().size(), 12u + 10u);  // the latin sets and the East Asian ones
    for (const NamedCharacterSet& set : namedCharacterSets()) {
        EXPECT_FALSE(namedCharacterSet(set.name).empty()) << set.name;
    }
}

Codes parsed(const std::string& list) {
    auto result = parseCharacterList(list);
    if (auto* error = std::get_if<CharacterSetError>(&result)) {
        ADD_FAILURE() << list << ": " << error->message;
        return {};
    }
    return std::get<Codes>(result);
}

Codes without(Codes codes, const Codes& removed) {
    std::erase_if(codes, [&](char32_t c) {
        return std::find(removed.begin(), removed.end(), c) != removed.end();
    });
    return codes;
}

TEST(CharacterList, CombinesSetsAndRangesFromLeftToRight) {
    const Codes psp = pspLatinCharacters();
    const Codes cyrillic = span({{0x400, 0x4FF}});
    const std::pair<std::string, Codes> cases[] = {
        {"ascii", span({{0x20, 0x7E}})},
        {" ASCII , U+2192 ", span({{0x20, 0x7E}, {0x2192, 0x2192}})},
        {"u+0370-03ff,-greek",
         span({{0x378, 0x379}, {0x380, 0x383}, {0x38B, 0x38B}, {0x38D, 0x38D}, {0x3A2, 0x3A2}})},
        {"U+0041-U+0043", span({{0x41, 0x43}})},
        // Lower case throughout: the prefix at both ends, the hex digits at both ends of a-f.
        {"u+0041-u+0043,u+00aa-00af", span({{0x41, 0x43}, {0xAA, 0xAF}})},
        {"U+00A9-U+00AA, Latin-Ext-A", span({{0xA9, 0xAA}, {0x100, 0x17F}})},
        {"U+A-21", span({{0x20, 0x21}})},  // a code of one digit
        {"psp,-cyrillic", without(psp, cyrillic)},
        {"-cyrillic", without(psp, cyrillic)},  // a list that starts by removing starts from psp
        {"ascii,-U+0041-005A,U+0042", span({{0x20, 0x40}, {0x42, 0x42}, {0x5B, 0x7E}})},
        // Controls, surrogates and non-characters are left out of ranges.
        {"U+0000-0021", span({{0x20, 0x21}})},
        {"U+007E-00A0", span({{0x7E, 0x7E}, {0xA0, 0xA0}})},
        {"U+D7FF-E000", span({{0xD7FF, 0xD7FF}, {0xE000, 0xE000}})},
        {"U+FFFC-FFFF", span({{0xFFFC, 0xFFFD}})},
    };
    for (const auto& [list, expected] : cases) {
        EXPECT_EQ(parsed(list), expected) << list;
    }
}

TEST(CharacterList, RefusesInOneLineNamingTheItem) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "empty item"},
        {"psp,", "empty item"},
        {"psp,,greek", "empty item"},
        {"greak", "\"greak\" is no character set"},
        {"U+", "\"U+\" is no character set"},
        {"U+12G4", "\"U+12G4\" is no character set"},
        {"U+0370-", "does not end in hex digits"},
        {"U+03FF-0370", "ends before it starts"},
        {"U+1F600", "beyond U+FFFF"},
        {"U+0370-1F600", "beyond U+FFFF"},
        {"U+1234567", "is no character set"},
        {"U+0009", "control"},
        {"U+D800", "surrogate"},
        {"-", "empty item"},
        {"~x\x7F", "\"~x?\" is no character set"},  // the last printable shown, the next not
    };
    for (const auto& [list, mention] : cases) {
        const auto result = parseCharacterList(list);
        const auto* error = std::get_if<CharacterSetError>(&result);
        ASSERT_NE(error, nullptr) << list;
        EXPECT_NE(error->message.find(mention), std::string::npos)
            << list << ": " << error->message;
        EXPECT_EQ(error->message.find('\n'), std::string::npos);
    }
    // A long or binary item is shown cut and printable.
    const auto result = parseCharacterList(std::string(200, 'x') + "\x01\n");
    const auto& message = std::get<CharacterSetError>(result).message;
    EXPECT_LT(message.size(), 400u);
    EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(CharacterList, DescribesRunsAsTheListWritesThem) {
    EXPECT_EQ(describeCharacterRuns({0x20, 0x21, 0x22, 0x2192}, 10), "U+0020-0022,U+2192");
    EXPECT_EQ(describeCharacterRuns({0x20, 0x22, 0x24}, 2), "U+0020,U+0022,...");
    EXPECT_EQ(describeCharacterRuns({}, 2), "");
    // What is written reads back as the same codes.
    const Codes greek = namedCharacterSet("greek");
    EXPECT_EQ(parsed(describeCharacterRuns(greek, 100)), greek);
}

}  // namespace
}  // namespace tessavine::pgf
