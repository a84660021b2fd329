#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "pgf/character_set.h"

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

}  // namespace
}  // namespace tessavine::pgf
