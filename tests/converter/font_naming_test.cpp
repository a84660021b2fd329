#include <gtest/gtest.h>

#include <string>

#include "converter/pgf/font_name.h"
#include "converter/pgf/shadow_flags.h"

namespace tessavine::pgf {
namespace {

struct NameCase {
    std::string family;
    std::string stored;
};

class StorableFontName : public testing::TestWithParam<NameCase> {};

TEST_P(StorableFontName, AvoidsNamesReadersTreatSpecially) {
    EXPECT_EQ(makeStorableFontName(GetParam().family), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Families, StorableFontName,
                         testing::Values(NameCase{"DejaVu Sans", "DejaVu Sans"},
                                         NameCase{"Liberation Sans", "Custom Liberation Sans"},
                                         NameCase{"Liberation Mono", "Custom Liberation Mono"},
                                         NameCase{"liberation serif", "Custom liberation serif"},
                                         NameCase{"Sazanami Gothic", "Custom Sazanami Gothic"},
                                         NameCase{"UnDotum", "Custom UnDotum"},
                                         NameCase{"Microsoft YaHei", "Custom Microsoft YaHei"},
                                         NameCase{"Microsoft YaHei UI", "Microsoft YaHei UI"},
                                         NameCase{"", "Untitled"}, NameCase{"  Caf\xc3\xa9", "Caf"},
                                         NameCase{std::string(80, 'x'), std::string(63, 'x')}));

struct FlagCase {
    char32_t code;
    ShadowFlags flags;
};

class ShadowFlagClasses : public testing::TestWithParam<FlagCase> {};

TEST_P(ShadowFlagClasses, FollowTheFirmwaresCharacterClasses) {
    EXPECT_EQ(shadowFlagsFor(GetParam().code), GetParam().flags)
        << std::hex << static_cast<unsigned>(GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Characters, ShadowFlagClasses,
                         testing::Values(FlagCase{U'A', {2, 2, 1}}, FlagCase{U'z', {2, 2, 1}},
                                         FlagCase{U'\u00e9', {2, 2, 1}},
                                         FlagCase{U'\u0416', {2, 2, 1}},
                                         FlagCase{U'\u0141', {2, 2, 1}}, FlagCase{U'7', {2, 2, 2}},
                                         FlagCase{U'\u00bd', {0, 0, 2}}, FlagCase{U' ', {2, 0, 6}},
                                         FlagCase{U')', {2, 0, 6}}, FlagCase{U'(', {0, 2, 6}},
                                         FlagCase{U'\u20ac', {0, 2, 6}}, FlagCase{U'"', {2, 2, 6}},
                                         FlagCase{U'_', {2, 1, 6}}, FlagCase{U'\u2122', {2, 1, 6}},
                                         FlagCase{U'#', {0, 0, 6}}, FlagCase{U'\u00d7', {0, 0, 6}},
                                         FlagCase{U'\u02dc', {0, 0, 1}},
                                         FlagCase{U'\u0301', {0, 0, 1}}));

}  // namespace
}  // namespace tessavine::pgf
