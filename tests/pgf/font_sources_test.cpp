// The block that says which font drew which characters: after the glyph data, ignored by every
// reader's glyph lookup, and never mistaken for something it is not.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "pgf/font_sources.h"
#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"
#include "pgf_invariants.h"

namespace tessavine::pgf {
namespace {

PgfFont twoGlyphs() {
    PgfFont font;
    font.name = "Mixed";
    font.style = "Regular";
    for (const char16_t code : {u'_', u'\u03A9'}) {
        PgfGlyph glyph;
        glyph.code = code;
        glyph.image = {2, 1, 0, 1, {15, 7}};
        glyph.shadow = {2, 2, -1, 2, {1, 2, 3, 4}};
        glyph.metrics = {{128, 64}, {0, -64}, {64, 18}, {192, 1094}};
        font.glyphs.push_back(glyph);
    }
    return font;
}

TEST(FontSources, TravelAfterTheGlyphsAndChangeNothingElse) {
    PgfFont font = twoGlyphs();
    const std::vector<std::uint8_t> plain = writePgf(font);
    font.sources = {{"Main.otf", {{u'_', u'_'}}}, {"Ελληνικά.ttf", {{u'\u03A9', u'\u03A9'}}}};
    const std::vector<std::uint8_t> mixed = writePgf(font);

    // The file is the plain one with the block behind it: header, tables and records unchanged.
    ASSERT_GT(mixed.size(), plain.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), mixed.begin()));
    EXPECT_EQ(mixed.size() % 4, 0u);
    const PgfFile file = readPgf(mixed);
    expectWellFormed(file, mixed.size());
    ASSERT_TRUE(file.sources.has_value());
    ASSERT_EQ(file.sources->size(), 2u);
    EXPECT_EQ((*file.sources)[1].name, "Ελληνικά.ttf");
    EXPECT_EQ((*file.sources)[1].runs,
              (std::vector<std::pair<char16_t, char16_t>>{{u'\u03A9', u'\u03A9'}}));
    EXPECT_EQ(file.glyphs[1].image, font.glyphs[1].image);
    EXPECT_FALSE(readPgf(plain).sources.has_value());

    // One font alone writes no block.
    font.sources.resize(1);
    EXPECT_EQ(writePgf(font), plain);
}

// A block put together byte by byte: its contents, then the length it claims and the end mark.
std::vector<std::uint8_t> handMadeBlock(std::vector<std::uint8_t> body,
                                        std::optional<std::uint32_t> claimedLength = {}) {
    const std::uint32_t length = claimedLength.value_or(static_cast<std::uint32_t>(body.size()));
    for (int shift = 0; shift < 32; shift += 8) {
        body.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    body.insert(body.end(), {'T', 'S', 'V', 'S'});
    return body;
}

std::vector<std::uint8_t> startMark(std::uint8_t fonts) {
    return {'T', 'S', 'V', 'S', 'R', 'C', '1', 0, fonts, 0};
}

std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a,
                                    const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Each case lies one byte inside or outside one of the reader's checks: a damaged block is
// ignored (the file still reads), a whole one is read exactly.
TEST(FontSources, EachBoundOfTheBlockHoldsToTheByte) {
    const std::vector<std::uint8_t> fontAB = {1, 'A', 1, 0, 0x41, 0, 0x43, 0};  // "A": U+41-43
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        int fonts;  // -1: refused
    };
    const std::vector<std::uint8_t> lead(16, 0);  // glyph data before the block
    const Case cases[] = {
        {"no fonts, shortest block", lead + handMadeBlock(startMark(0)), 0},
        {"one byte too short to count its fonts",
         lead + handMadeBlock(startMark(0), std::uint32_t{9}), -1},
        {"the block is the whole file", handMadeBlock(startMark(1) + fontAB), 1},
        {"claims one byte more than the file has",
         handMadeBlock(startMark(1) + fontAB, std::uint32_t{19}), -1},
        {"a run whose last code is its first",
         lead + handMadeBlock(startMark(1) + std::vector<std::uint8_t>{0, 1, 0, 7, 0, 7, 0}), 1},
        {"a run that ends before it starts",
         lead + handMadeBlock(startMark(1) + std::vector<std::uint8_t>{0, 1, 0, 8, 0, 7, 0}), -1},
        {"a name that ends where its run count begins",
         lead + handMadeBlock(startMark(1) + std::vector<std::uint8_t>{2, 'A', 'B', 0, 0}), 1},
        {"a name with one byte of its run count",
         lead + handMadeBlock(startMark(1) + std::vector<std::uint8_t>{2, 'A', 'B', 0}), -1},
        {"a name longer than the block",
         lead + handMadeBlock(startMark(1) + std::vector<std::uint8_t>{5, 'A', 'B', 0, 0}), -1},
        {"a second font after the last", lead + handMadeBlock(startMark(1) + fontAB + fontAB), -1},
        {"no byte left for the next name's length", lead + handMadeBlock(startMark(2) + fontAB),
         -1},
        {"runs to the last byte",
         lead + handMadeBlock(startMark(1) +
                              std::vector<std::uint8_t>{0, 2, 0, 1, 0, 1, 0, 2, 0, 3, 0}),
         1},
        {"one run byte short",
         lead +
             handMadeBlock(startMark(1) + std::vector<std::uint8_t>{0, 2, 0, 1, 0, 1, 0, 2, 0, 3}),
         -1},
        {"three bytes of padding",
         lead + handMadeBlock(startMark(1) + fontAB + std::vector<std::uint8_t>(3, 0)), 1},
        {"four bytes after the last font",
         lead + handMadeBlock(startMark(1) + fontAB + std::vector<std::uint8_t>(4, 0)), -1},
        {"another start mark", lead + handMadeBlock({'T', 'S', 'V', 'S', 'R', 'C', '2', 0, 0, 0}),
         -1},
        {"the end mark alone", {'T', 'S', 'V', 'S'}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = readFontSources(c.file);
        ASSERT_EQ(read.has_value(), c.fonts >= 0);
        if (read) {
            EXPECT_EQ(read->size(), static_cast<std::size_t>(c.fonts));
        }
    }
    const auto whole = readFontSources(cases[2].file);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ((*whole)[0].name, "A");
    EXPECT_EQ((*whole)[0].runs, (std::vector<std::pair<char16_t, char16_t>>{{0x41, 0x43}}));
}

TEST(FontSources, ADamagedBlockIsIgnored) {
    const std::vector<std::uint8_t> block =
        encodeFontSources({{"A.ttf", {{0x20, 0x7E}}}, {"B.ttf", {{0x391, 0x3A9}, {0x3B1, 0x3C9}}}});
    ASSERT_TRUE(readFontSources(block).has_value());
    EXPECT_EQ(
        runsOf({0x20, 0x21, 0x23, 0x24, 0x30}),
        (std::vector<std::pair<char16_t, char16_t>>{{0x20, 0x21}, {0x23, 0x24}, {0x30, 0x30}}));
    // Every single byte changed and every cut: never a crash (the sanitizers watch); a cut block
    // is never read.
    for (std::size_t i = 0; i < block.size(); ++i) {
        std::vector<std::uint8_t> damaged = block;
        damaged[i] ^= 0x5A;
        (void)readFontSources(damaged);
        EXPECT_FALSE(readFontSources(std::span(block.data(), i)).has_value()) << "cut at " << i;
    }
    // Glyph data that happens to end in "TSVS" with an absurd length is no block.
    std::vector<std::uint8_t> zeros(64, 0);
    zeros.insert(zeros.end(), {0xFF, 0xFF, 0xFF, 0x7F, 'T', 'S', 'V', 'S'});
    EXPECT_FALSE(readFontSources(zeros).has_value());
}

// A crafted block may name far more than any conversion does; the reader refuses it whole, at
// once and with the reason, instead of working through 65,535 fonts or runs.
TEST(FontSources, ABlockBeyondTheBoundsIsRefusedWithItsReason) {
    const auto sources = [](std::size_t fonts, std::size_t firstRuns, std::size_t laterRuns) {
        std::vector<FontSource> list(fonts);
        for (std::size_t f = 0; f < fonts; ++f) {
            list[f].name = std::string(255, static_cast<char>('a' + f % 26));
            list[f].runs.assign(f == 0 ? firstRuns : laterRuns, {u'a', u'a'});
        }
        return list;
    };
    // fonts, runs of the first font, runs of each later one, accepted, words of the refusal
    const std::tuple<std::size_t, std::size_t, std::size_t, bool, std::string> cases[] = {
        {64, 1, 1, true, ""},
        {65, 1, 1, true, ""},  // the encoder keeps to the bound: 64 are written
        {2, 32768, 32768, true, ""},
        {2, 32768, 32769, false, "more than 65536 runs"},
        {3, 65535, 1, false, "more than 65536 runs"},
    };
    for (const auto& [fonts, firstRuns, laterRuns, accepted, words] : cases) {
        SCOPED_TRACE(std::to_string(fonts) + " fonts, " + std::to_string(laterRuns) + " runs");
        const FontSourcesRead read =
            readFontSourcesBlock(encodeFontSources(sources(fonts, firstRuns, laterRuns)));
        ASSERT_EQ(read.sources.has_value(), accepted) << read.problem;
        if (accepted) {
            EXPECT_EQ(read.sources->size(), std::min<std::size_t>(fonts, 64));
            EXPECT_EQ(read.sources->back().name.size(), 255u);
            EXPECT_EQ(read.problem, "");
        } else {
            EXPECT_NE(read.problem.find(words), std::string::npos) << read.problem;
        }
    }
    // A count above the bound is refused for what it says, before any name is read.
    std::vector<std::uint8_t> block = encodeFontSources(sources(64, 1, 1));
    block[8] = 65;
    const FontSourcesRead read = readFontSourcesBlock(block);
    EXPECT_FALSE(read.sources.has_value());
    EXPECT_NE(read.problem.find("names 65 fonts, more than the 64"), std::string::npos)
        << read.problem;
    block[8] = 0xFF;
    block[9] = 0xFF;
    EXPECT_NE(readFontSourcesBlock(block).problem.find("names 65535 fonts"), std::string::npos);
}

}  // namespace
}  // namespace tessavine::pgf
