#include "core/parameter_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessavine {
namespace {

struct RuleCase {
    TextField field;
    std::string text;
    std::optional<std::string> replacement;  // nothing: the text stays
};

std::ostream& operator<<(std::ostream& out, const RuleCase& c) {
    return out << "field " << static_cast<int>(c.field) << " \"" << c.text << "\"";
}

class RangeRule : public testing::TestWithParam<RuleCase> {};

TEST_P(RangeRule, ReplacesOnlyOutOfRangeTextsWithTheBoundsLiteral) {
    EXPECT_EQ(correctedParameter(GetParam().field, GetParam().text), GetParam().replacement);
}

using F = TextField;
const std::optional<std::string> kStays;

INSTANTIATE_TEST_SUITE_P(
    HorizontalWidth, RangeRule,
    testing::Values(
        RuleCase{F::horizontal1, "0.2", "0.25"}, RuleCase{F::horizontal1, "2.5", "2.0"},
        RuleCase{F::horizontal1, "0.25", kStays}, RuleCase{F::horizontal1, "2.0", kStays},
        RuleCase{F::horizontal1, "0.8", kStays}, RuleCase{F::horizontal1, ".249", "0.25"},
        RuleCase{F::horizontal1, "2.004", "2.0"}, RuleCase{F::horizontal1, "2.0004", kStays},
        RuleCase{F::horizontal1, "", "0.25"}, RuleCase{F::horizontal1, "abc", "0.25"},
        RuleCase{F::horizontal1, "3", "2.0"}, RuleCase{F::horizontal1, "1e999", "2.0"},
        RuleCase{F::horizontal1, "1.9995", kStays}, RuleCase{F::horizontal1, "2.0015", "2.0"}));

INSTANTIATE_TEST_SUITE_P(
    AdvanceScaling, RangeRule,
    testing::Values(RuleCase{F::advance1, ".249", kStays}, RuleCase{F::advance1, "2.004", kStays},
                    RuleCase{F::advance1, "", "0.25"}, RuleCase{F::advance1, "1.00", kStays},
                    RuleCase{F::advance1, "0.244", "0.25"}, RuleCase{F::advance1, "2.01", "2.0"},
                    // 200.5 rounds to the even 200, so the text is on the bound and stays
                    RuleCase{F::advance1, "2.005", kStays},
                    // 24.5 rounds to the even 24, below the bound
                    RuleCase{F::advance1, "0.245", "0.25"}));

INSTANTIATE_TEST_SUITE_P(
    ShadowBlurring, RangeRule,
    testing::Values(RuleCase{F::blur1, "0.05", "0.1"}, RuleCase{F::blur1, "4.5", "4.0"},
                    RuleCase{F::blur1, "4.0", kStays}, RuleCase{F::blur1, "", "0.1"},
                    RuleCase{F::blur1, "0", "0.1"}, RuleCase{F::blur1, "1.5abc", kStays},
                    RuleCase{F::blur1, "0.095", kStays}, RuleCase{F::blur1, "4.005", kStays}));

INSTANTIATE_TEST_SUITE_P(
    ShadowIntensity, RangeRule,
    testing::Values(RuleCase{F::intensity1, "3.0", kStays}, RuleCase{F::intensity1, "4.0", kStays},
                    RuleCase{F::intensity1, "4.5", "4.0"}, RuleCase{F::intensity1, "-1", "0.0"},
                    RuleCase{F::intensity1, "", kStays}, RuleCase{F::intensity1, "x", kStays},
                    RuleCase{F::intensity1, "-0.004", kStays},
                    RuleCase{F::intensity1, "4.005", kStays}));

INSTANTIATE_TEST_SUITE_P(
    FontScale, RangeRule,
    testing::Values(RuleCase{F::height1, "7", "8"}, RuleCase{F::height1, "0", "8"},
                    RuleCase{F::height1, "8", kStays}, RuleCase{F::height1, "24", kStays},
                    RuleCase{F::height1, "999", kStays}, RuleCase{F::height1, "007", "8"},
                    RuleCase{F::height1, "08", kStays}, RuleCase{F::height1, "7.5", kStays},
                    RuleCase{F::height1, "8.5", kStays}, RuleCase{F::height1, "7.4", "8"},
                    RuleCase{F::height1, "", "8"}, RuleCase{F::height1, "abc", "8"},
                    RuleCase{F::height1, "24px", "8"}, RuleCase{F::height1, " 24 ", kStays},
                    RuleCase{F::height1, "-40000", "8"}, RuleCase{F::height1, "99999", kStays},
                    RuleCase{F::height1, "1e999", kStays}));

INSTANTIATE_TEST_SUITE_P(FontName, RangeRule,
                         testing::Values(RuleCase{F::fontname1, "", kStays},
                                         RuleCase{F::fontname1, "0", kStays}));

TEST(NormaliseParameters, CorrectsInHandlingOrderAndLeavesTheRestAlone) {
    const std::vector<ParameterCorrection> corrections =
        normaliseParameters({"3", "1.00", "", "", "7"});
    ASSERT_EQ(corrections.size(), 3u);
    EXPECT_EQ(corrections[0].field, F::horizontal1);
    EXPECT_EQ(corrections[0].text, "2.0");
    EXPECT_EQ(corrections[1].field, F::blur1);
    EXPECT_EQ(corrections[1].text, "0.1");
    EXPECT_EQ(corrections[2].field, F::height1);
    EXPECT_EQ(corrections[2].text, "8");
}

TEST(NormaliseParameters, InRangeTextsNeedNothing) {
    EXPECT_TRUE(normaliseParameters({"0.8", "1.0", "2.5", "1.2", "24"}).empty());
}

}  // namespace
}  // namespace tessavine
