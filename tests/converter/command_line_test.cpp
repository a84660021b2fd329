#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/command_line.h"
#include "converter/conversion_error.h"

namespace tessavine::converter {
namespace {

using Words = std::vector<std::string>;

struct ReadCase {
    const char* name;
    Words words;
    int scale;
    double width;
    bool embolden;
    bool italicize;
    double blur;
    double intensity;
};

class CommandLineReading : public testing::TestWithParam<ReadCase> {};

TEST_P(CommandLineReading, ReadsTheParameters) {
    const ReadCase& c = GetParam();
    const CommandLine line = readCommandLine(c.words);
    ASSERT_EQ(line.action, CommandLine::Action::Convert);
    EXPECT_EQ(line.fontPath, c.words[0]);
    EXPECT_EQ(line.outputPath, c.words[1]);
    EXPECT_EQ(line.parameters.fontScale, c.scale);
    EXPECT_DOUBLE_EQ(line.parameters.horizontalWidth, c.width);
    EXPECT_EQ(line.parameters.embolden, c.embolden);
    EXPECT_EQ(line.parameters.italicize, c.italicize);
    EXPECT_DOUBLE_EQ(line.parameters.shadowBlur, c.blur);
    EXPECT_DOUBLE_EQ(line.parameters.shadowIntensity, c.intensity);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineReading,
    testing::Values(
        ReadCase{"Plain",
                 {"Example.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"},
                 24,
                 0.8,
                 false,
                 false,
                 2.5,
                 1.2},
        ReadCase{"Bold",
                 {"Example.ttf", "ltn0.pgf", "24bh0.8", "b2.5i1.2"},
                 24,
                 0.8,
                 true,
                 false,
                 2.5,
                 1.2},
        ReadCase{"Italic",
                 {"Example.ttf", "ltn0.pgf", "24ih0.8", "b2.5i1.2"},
                 24,
                 0.8,
                 false,
                 true,
                 2.5,
                 1.2},
        ReadCase{"BoldItalic",
                 {"Example.ttf", "ltn0.pgf", "24bih0.8", "b2.5i1.2"},
                 24,
                 0.8,
                 true,
                 true,
                 2.5,
                 1.2},
        ReadCase{"FontNameWithBlanks",
                 {"My Font.otf", "ltn0.pgf", "8h2.0", "b0.1i4.0"},
                 8,
                 2.0,
                 false,
                 false,
                 0.1,
                 4.0},
        ReadCase{"EmptyIntensityIsZero",
                 {"f.ttf", "o.pgf", "18h1", "b2.5i"},
                 18,
                 1,
                 false,
                 false,
                 2.5,
                 0},
        ReadCase{"TrailingTextIsIgnored",
                 {"f.ttf", "o.pgf", "18h1.5abc", "b1.5abci1.2xyz"},
                 18,
                 1.5,
                 false,
                 false,
                 1.5,
                 1.2},
        ReadCase{"LastIEndsTheBlur",
                 {"f.ttf", "o.pgf", "18h1", "b2.5i1i3"},
                 18,
                 1,
                 false,
                 false,
                 2.5,
                 3},
        ReadCase{"HexScaleBeforeTheLastH",
                 {"f.ttf", "o.pgf", "&H18bh1", "b1i1"},
                 24,
                 1,
                 true,
                 false,
                 1,
                 1},
        ReadCase{"ScaleRoundsHalfToEven",
                 {"f.ttf", "o.pgf", "24.5h1", "b1i1"},
                 24,
                 1,
                 false,
                 false,
                 1,
                 1},
        ReadCase{"ScaleRoundsToNearest",
                 {"f.ttf", "o.pgf", "25.5h1", "b1i1"},
                 26,
                 1,
                 false,
                 false,
                 1,
                 1},
        ReadCase{"EmptyBlurIsZero", {"f.ttf", "o.pgf", "18h1", "bi1"}, 18, 1, false, false, 0, 1},
        // A blank typed into a field splits the line into more words.
        ReadCase{"BlankInsideAField",
                 {"f.ttf", "o.pgf", "2", "4h0.8", "b2.", "5i1.2"},
                 24,
                 0.8,
                 false,
                 false,
                 2.5,
                 1.2}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

struct RefusalCase {
    const char* name;
    Words words;
    const char* mentions;
};

class CommandLineRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(CommandLineRefusal, SaysWhatIsWrong) {
    try {
        readCommandLine(GetParam().words);
        FAIL() << "accepted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(GetParam().mentions), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one line only";
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadWords, CommandLineRefusal,
    testing::Values(
        RefusalCase{"Nothing", {}, "expected 4 words"},
        RefusalCase{"ThreeWords", {"f.ttf", "o.pgf", "24h1"}, "expected 4 words"},
        RefusalCase{"NoH", {"f.ttf", "o.pgf", "24x1", "b1i1"}, "no \"h\""},
        RefusalCase{"NoScale", {"f.ttf", "o.pgf", "h1", "b1i1"}, "font scale"},
        RefusalCase{"ZeroScale", {"f.ttf", "o.pgf", "0.4h1", "b1i1"}, "font scale"},
        RefusalCase{"NegativeScale", {"f.ttf", "o.pgf", "-24h1", "b1i1"}, "font scale"},
        RefusalCase{"HugeScale", {"f.ttf", "o.pgf", "1e99h1", "b1i1"}, "font scale"},
        RefusalCase{"ZeroWidth", {"f.ttf", "o.pgf", "24h", "b1i1"}, "horizontal width"},
        RefusalCase{"NegativeWidth", {"f.ttf", "o.pgf", "24h-1", "b1i1"}, "horizontal width"},
        RefusalCase{"NoB", {"f.ttf", "o.pgf", "24h1", "x1i1"}, "shadow word"},
        RefusalCase{"NoI", {"f.ttf", "o.pgf", "24h1", "b1"}, "shadow word"},
        RefusalCase{"NegativeBlur", {"f.ttf", "o.pgf", "24h1", "b-1i1"}, "blurring"},
        RefusalCase{"NegativeIntensity", {"f.ttf", "o.pgf", "24h1", "b1i-1"}, "intensity"},
        RefusalCase{"InfiniteIntensity", {"f.ttf", "o.pgf", "24h1", "b1i1e999"}, "intensity"},
        RefusalCase{"EmptyFontName", {"", "o.pgf", "24h1", "b1i1"}, "file names"}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(CommandLineActions, HelpAndVersion) {
    EXPECT_EQ(readCommandLine(Words{"--help"}).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(readCommandLine(Words{"--version"}).action, CommandLine::Action::ShowVersion);
    EXPECT_NE(usageText().find("Example.ttf\" ltn0.pgf 24h0.8 b2.5i1.2"), std::string::npos);
}

}  // namespace
}  // namespace tessavine::converter
