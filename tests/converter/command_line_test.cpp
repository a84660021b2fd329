#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/command_line.h"
#include "converter/conversion_error.h"
#include "pgf/firmware_slots.h"

namespace tessavine::converter {
namespace {

using Words = std::vector<std::string>;

// The words are refused with a message of one line that mentions `mentions`.
void expectRefused(const Words& words, const std::string& mentions) {
    try {
        readCommandLine(words);
        ADD_FAILURE() << mentions << ": accepted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(mentions), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST(CommandLine, ReadsTheFourFormsAsTheWindowReadsNumbers) {
    const std::pair<Words, ConversionParameters> cases[] = {
        {{"Example.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"}, {24, 0.8, false, false, 2.5, 1.2}},
        {{"Example.ttf", "ltn0.pgf", "24bh0.8", "b2.5i1.2"}, {24, 0.8, true, false, 2.5, 1.2}},
        {{"Example.ttf", "ltn0.pgf", "24ih0.8", "b2.5i1.2"}, {24, 0.8, false, true, 2.5, 1.2}},
        {{"Example.ttf", "ltn0.pgf", "24bih0.8", "b2.5i1.2"}, {24, 0.8, true, true, 2.5, 1.2}},
        // Empty numbers are 0 and text after a number is ignored.
        {{"f.ttf", "o.pgf", "18h1", "b2.5i"}, {18, 1, false, false, 2.5, 0}},
        {{"f.ttf", "o.pgf", "18h1", "bi1"}, {18, 1, false, false, 0, 1}},
        {{"f.ttf", "o.pgf", "18h1.5abc", "b1.5abci1.2xyz"}, {18, 1.5, false, false, 1.5, 1.2}},
        // The last "i" ends the blur; the last "h" ends the scale, which may be hexadecimal.
        {{"f.ttf", "o.pgf", "18h1", "b2.5i1i3"}, {18, 1, false, false, 2.5, 3}},
        {{"f.ttf", "o.pgf", "&H18bh1", "b1i1"}, {24, 1, true, false, 1, 1}},
        // The scale rounds to the nearest whole pixel, halves to even.
        {{"f.ttf", "o.pgf", "24.5h1", "b1i1"}, {24, 1, false, false, 1, 1}},
        {{"f.ttf", "o.pgf", "25.5h1", "b1i1"}, {26, 1, false, false, 1, 1}},
        // A blank typed into a field splits the line into more words.
        {{"f.ttf", "o.pgf", "2", "4h0.8", "b2.", "5i1.2"}, {24, 0.8, false, false, 2.5, 1.2}}};
    for (const auto& [words, expected] : cases) {
        SCOPED_TRACE(words[2] + " " + words[3]);
        const CommandLine line = readCommandLine(words);
        ASSERT_EQ(line.action, CommandLine::Action::Convert);
        EXPECT_EQ(line.fontPath, words[0]);
        EXPECT_EQ(line.outputPath, words[1]);
        const ConversionParameters& p = line.parameters;
        EXPECT_EQ(std::tuple(p.fontScale, p.horizontalWidth, p.embolden, p.italicize, p.shadowBlur,
                             p.shadowIntensity),
                  std::tuple(expected.fontScale, expected.horizontalWidth, expected.embolden,
                             expected.italicize, expected.shadowBlur, expected.shadowIntensity));
    }
}

// The window passes whatever font name was typed: a font file called "-h" is converted like any
// other, and only a lone word asks for the help or the version.
TEST(CommandLine, TakesAFontNamedLikeAnOptionAsAFont) {
    // The window always passes four words, whatever the font is called.
    for (const std::string name :
         {"--help", "-h", "/?", "--version", "--set", "--bold", "--slot", "--font-line-metrics"}) {
        SCOPED_TRACE(name);
        const CommandLine line = readCommandLine(Words{name, "ltn0.pgf", "24h1", "b1i1"});
        EXPECT_EQ(line.action, CommandLine::Action::Convert);
        EXPECT_EQ(line.fontPath, name);
        EXPECT_EQ(line.parameters.fontScale, 24);
    }
    EXPECT_EQ(readCommandLine(Words{"-h"}).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(readCommandLine(Words{"--version"}).action, CommandLine::Action::ShowVersion);
}

TEST(CommandLine, RefusesUnreadableWordsInOneLineThatSaysWhy) {
    const std::pair<Words, std::string> cases[] = {
        {{}, "expected 4 words"},
        {{"f.ttf", "o.pgf", "24h1"}, "expected 4 words"},
        {{"f.ttf", "o.pgf", "24x1", "b1i1"}, "no \"h\""},
        {{"f.ttf", "o.pgf", "h1", "b1i1"}, "font scale"},
        {{"f.ttf", "o.pgf", "0.4h1", "b1i1"}, "font scale"},
        {{"f.ttf", "o.pgf", "-24h1", "b1i1"}, "font scale"},
        {{"f.ttf", "o.pgf", "1e99h1", "b1i1"}, "font scale"},
        {{"f.ttf", "o.pgf", "24h", "b1i1"}, "horizontal width"},
        {{"f.ttf", "o.pgf", "24h-1", "b1i1"}, "horizontal width"},
        {{"f.ttf", "o.pgf", "24h1", "x1i1"}, "shadow word"},
        {{"f.ttf", "o.pgf", "24h1", "b1"}, "shadow word"},
        {{"f.ttf", "o.pgf", "24h1", "b-1i1"}, "blurring"},
        {{"f.ttf", "o.pgf", "24h1", "b1i-1"}, "intensity"},
        {{"f.ttf", "o.pgf", "24h1", "b1i1e999"}, "intensity"},
        {{"", "o.pgf", "24h1", "b1i1"}, "file names"}};
    for (const auto& [words, mentions] : cases) {
        expectRefused(words, mentions);
    }
}

TEST(CommandLine, OptionsStandAnywhereAmongTheWindowsWords) {
    const CommandLine set = readCommandLine(
        Words{"--set", "f.ttf", "out", "--bold", "b.ttf", "18h1", "--italic", "i.ttf", "b1i1"});
    EXPECT_TRUE(set.wholeSet);
    EXPECT_EQ(set.fontPath + set.outputPath + set.boldFontPath + set.italicFontPath,
              "f.ttfoutb.ttfi.ttf");
    EXPECT_EQ(set.parameters.fontScale, 18);
    const CommandLine slot =
        readCommandLine(Words{"f.ttf", "o.pgf", "--slot", "8", "18h1", "b1i1",
                              "--font-line-metrics", "--ascender", "13.5", "--descender", "-3"});
    EXPECT_EQ(slot.parameters.slot, 8);
    EXPECT_EQ(slot.parameters.lineMetrics, LineMetricsSource::Font);
    EXPECT_EQ(slot.parameters.ascender, 13.5);
    EXPECT_EQ(slot.parameters.descender, -3.0);
    const CommandLine largest = readCommandLine(
        Words{"f.ttf", "o.pgf", "18h1", "b1i1", "--ascender", "1000", "--descender", "-1000"});
    EXPECT_EQ(largest.parameters.ascender, 1000.0);
    EXPECT_EQ(largest.parameters.descender, -1000.0);
    // The smallest: any ascender above 0, a descender of 0 (a font that never goes below).
    const CommandLine smallest = readCommandLine(
        Words{"f.ttf", "o.pgf", "18h1", "b1i1", "--ascender", "0.5", "--descender", "0"});
    EXPECT_EQ(smallest.parameters.ascender, 0.5);
    EXPECT_EQ(smallest.parameters.descender, 0.0);
    // Without options: no slot, the firmware's line metrics.
    const CommandLine plain = readCommandLine(Words{"f.ttf", "o.pgf", "18h1", "b1i1"});
    EXPECT_FALSE(plain.parameters.slot || plain.parameters.ascender || plain.parameters.descender);
    EXPECT_EQ(plain.parameters.lineMetrics, LineMetricsSource::Firmware);
    // The big font by its file's name, never by a number beside the latin slots.
    const CommandLine big =
        readCommandLine(Words{"f.ttf", "o.pgf", "--slot", "jpn0", "18h1", "b1i1"});
    EXPECT_EQ(big.parameters.slot, pgf::kBigFontSlot);
    EXPECT_EQ(pgf::firmwareSlot(pgf::kBigFontSlot).fileName, "jpn0.pgf");
}

TEST(CommandLine, RefusesOptionsThatCannotBeMet) {
    const std::pair<Words, std::string> cases[] = {
        {{"--slot", "16"}, "0 to 15"},
        {{"--slot", "-1"}, "0 to 15"},
        {{"--slot", "3.5"}, "0 to 15"},
        {{"--slot", "3x"}, "0 to 15"},
        {{"--slot", "JPN0"}, "or jpn0"},
        {{"--slot", "jpn1"}, "or jpn0"},
        {{"--set", "--slot", "jpn0"}, "leave out --slot"},
        {{"--slot"}, "--slot needs a slot number"},
        {{"--ascender", "0"}, "above 0"},
        {{"--ascender", "12px"}, "above 0"},
        {{"--descender", "3"}, "negative"},
        {{"--descender", "-nan"}, "negative"},
        {{"--ascender", "1000.5"}, "above 0"},  // past the largest, 1000 pixels
        {{"--descender", "-1000.5"}, "negative"},
        {{"--set", "--slot", "2"}, "leave out --slot"},
        {{"--bold", "b.ttf"}, "for --set"},
        {{"--frobnicate"}, "\"--frobnicate\" is no option"}};
    for (const auto& [options, mentions] : cases) {
        Words words{"f.ttf", "o.pgf", "18h1", "b1i1"};
        words.insert(words.end(), options.begin(), options.end());
        expectRefused(words, mentions);
    }
    // a bold size word with a slot or a set
    EXPECT_THROW(readCommandLine(Words{"f.ttf", "o.pgf", "18bh1", "b1i1", "--slot", "4"}),
                 ConversionError);
    EXPECT_THROW(readCommandLine(Words{"f.ttf", "o.pgf", "18bh1", "b1i1", "--set"}),
                 ConversionError);
}

}  // namespace
}  // namespace tessavine::converter
