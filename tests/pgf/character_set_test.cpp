#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/slot_characters.h"

namespace tessavine::pgf {
namespace {

TEST(CharacterSet, IsTheFirmwareLatinSetWithLatinExtendedA) {
    const std::vector<char32_t> set = pspLatinCharacters();
    EXPECT_EQ(set.size(), 447u);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
    EXPECT_EQ(set.front(), U' ');
    EXPECT_EQ(set.back(), U'\u2265');
    for (const char32_t code : {U'_', U'\u00ff', U'\u0100', U'\u017f', U'\u0401', U'\u20ac'}) {
        EXPECT_TRUE(std::binary_search(set.begin(), set.end(), code)) << int(code);
    }
    for (const char32_t code : {U'\u007f', U'\u009f', U'\u0180', U'\u040d', U'\u0391'}) {
        EXPECT_FALSE(std::binary_search(set.begin(), set.end(), code)) << int(code);
    }
    // Ranges that overlap give each code once, in order.
    const CodeRange overlapping[] = {{0x44, 0x45}, {0x41, 0x43}, {0x42, 0x44}};
    EXPECT_EQ(charactersInRanges(overlapping),
              (std::vector<char32_t>{0x41, 0x42, 0x43, 0x44, 0x45}));
}

// Which set a slot's font is held against: a latin slot, small or serif, the 447 of the PSP's
// latin set; jpn0.pgf the 7,490 of the set "japanese", which has kanji, kana and half-width
// katakana and no Latin-1 letters. A jpn0 held to the latin set, or a latin slot to the Japanese
// one, shows as the wrong size or the wrong member.
TEST(SlotCharacters, LatinSlotsTheLatinSetAndJpn0TheJapaneseSet) {
    const struct {
        int slot;
        const char* setName;
        std::size_t size;
        std::vector<char32_t> in, out;
    } cases[] = {
        {0, "psp", 447, {U'A', U'\u00e9', U'\u0141'}, {U'\u65e5', U'\u3042'}},
        {9, "psp", 447, {U'_', U'\u20ac'}, {U'\u30a2'}},
        {15, "psp", 447, {U' ', U'\u2265'}, {U'\uff71'}},
        {kBigFontSlot,
         "japanese",
         7490,
         {U'A', U'_', U'\u65e5', U'\u3042', U'\uff71'},
         {U'\u00e9', U'\u0141', U'\uac00'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        const SlotCharacters set = slotCharacters(c.slot);
        EXPECT_EQ(set.setName, c.setName);
        EXPECT_EQ(set.codes.size(), c.size);
        EXPECT_TRUE(std::is_sorted(set.codes.begin(), set.codes.end()));
        for (const char32_t code : c.in) {
            EXPECT_TRUE(std::binary_search(set.codes.begin(), set.codes.end(), code)) << int(code);
        }
        for (const char32_t code : c.out) {
            EXPECT_FALSE(std::binary_search(set.codes.begin(), set.codes.end(), code)) << int(code);
        }
    }
    for (const int none : {-1, kBigFontSlot + 1, 100}) {
        EXPECT_THROW(slotCharacters(none), std::out_of_range) << none;
    }
}

}  // namespace
}  // namespace tessavine::pgf
