// A big font on the PSP screen and in the character table: the screen's lines in the script the
// font serves, told apart by a character only that script's line has (読 Japanese, 读 simplified,
// 讀 traditional Chinese, 읽 Korean), and a table of 20,000 characters shown a block at a time,
// every character on exactly one page and every page within the table's memory bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "pgf/named_character_sets.h"
#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"
#include "psp_screen/character_table.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/table_pages.h"

namespace tessavine::psp_screen {
namespace {

// A font of 1 × 1 glyphs at an 18 px em (ascender 15 px, descender 3 px) for the codes given.
pgf::PgfFile fontOf(std::vector<char32_t> codes, int cellPixels = 18) {
    codes.push_back(U'_');
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    pgf::PgfFont font;
    font.name = "Big";
    font.style = "Regular";
    font.ascender = (cellPixels - 3) * 64;
    font.descender = -3 * 64;
    font.shareIdenticalShadows = true;
    for (const char32_t code : codes) {
        pgf::PgfGlyph glyph;
        glyph.code = static_cast<char16_t>(code);
        glyph.image = {1, 1, 0, 1, {15}};
        glyph.shadow = {1, 1, 0, 0, {0}};
        glyph.metrics.dimension = {64, 64};
        glyph.metrics.yAdjust = {64, 0};
        glyph.metrics.advance = {cellPixels * 64, cellPixels * 64};
        font.glyphs.push_back(glyph);
    }
    const std::vector<std::uint8_t> bytes = pgf::writePgf(font);
    return pgf::readPgf(bytes);
}

std::vector<char32_t> setsOf(std::initializer_list<const char*> names) {
    std::vector<char32_t> codes = pgf::namedCharacterSet("psp");
    for (const char* name : names) {
        const std::vector<char32_t> set = pgf::namedCharacterSet(name);
        codes.insert(codes.end(), set.begin(), set.end());
    }
    return codes;
}

std::u32string screenText(const pgf::PgfFile& font) {
    std::u32string text;
    for (const TextRun& run : pspScreenLayout(font, U"Sample").runs) {
        text += run.text + U'\n';
    }
    return text;
}

TEST(BigFontScreen, ShowsTheLinesOfTheScriptTheFontServes) {
    struct Case {
        const char* what;
        std::vector<char32_t> codes;
        std::u32string shown;  // of 読 读 讀 읽, the ones the screen must show
    };
    const Case cases[] = {
        {"latin", setsOf({}), U""},
        // Kana alone make no Japanese line: it needs kanji too.
        {"kana", setsOf({"kana"}), U""},
        {"japanese", setsOf({"japanese"}), U"読"},
        // GB 2312 holds the kana and the traditional line's hanzi are partly there: Chinese only.
        {"gb2312", setsOf({"gb2312"}), U"读"},
        {"big5", setsOf({"big5"}), U"讀"},
        // KS X 1001 holds kana and hanja enough for the traditional line, yet serves Korean.
        {"ksx1001", setsOf({"ksx1001"}), U"읽"},
        {"all four", setsOf({"japanese", "gb2312", "big5", "ksx1001"}), U"読读讀읽"},
    };
    for (const Case& c : cases) {
        const std::u32string text = screenText(fontOf(c.codes));
        for (const char32_t mark : std::u32string(U"読读讀읽")) {
            const bool expected = c.shown.find(mark) != std::u32string::npos;
            EXPECT_EQ(text.find(mark) != std::u32string::npos, expected)
                << c.what << ": U+" << std::hex << static_cast<unsigned>(mark);
        }
        // The latin paragraph is still there under the script's lines, and no line is wider
        // than the dialog leaves (18 px a character, 262 px inside it).
        // (A font serving all four fills the dialog with them.)
        EXPECT_EQ(text.find(U"Saving") != std::u32string::npos, c.shown.size() < 4) << c.what;
        for (const TextRun& run : pspScreenLayout(fontOf(c.codes), U"S").runs) {
            if (run.x > 100) {
                EXPECT_LE(static_cast<int>(run.text.size()) * 18, 262) << c.what;
            }
        }
    }
}

TEST(BigFontScreen, JapaneseLineStartsTheDialogWhole) {
    // The Japanese line broken every 14 characters (14 × 18 = 252 of 262 px), nothing lost, and
    // the latin paragraph after it.
    const pgf::PgfFile font = fontOf(setsOf({"japanese"}));
    std::vector<std::u32string> dialog;
    for (const TextRun& run : pspScreenLayout(font, U"S").runs) {
        if (run.x > 100) {
            dialog.push_back(run.text);
        }
    }
    ASSERT_GE(dialog.size(), 4u);
    EXPECT_EQ(dialog[0], U"データを読み込んでいます。電");
    EXPECT_EQ(dialog[1], U"源を切らないでください。○で");
    EXPECT_EQ(dialog[2], U"決定　×で戻る");
    EXPECT_EQ(dialog[3].substr(0, 6), U"Saving");
}

TEST(BigFontTable, TwentyThousandCharactersEachOnExactlyOnePage) {
    std::vector<char32_t> codes = setsOf({"kana"});
    for (char32_t code = 0x4E00; code < 0x4E00 + 20000; ++code) {
        codes.push_back(code);
    }
    const pgf::PgfFile font = fontOf(codes);
    const std::vector<TableEntry> entries = characterTableEntries(font, {U'A', U'\u3000'});
    // 447 latin ("_", "A" and × among them), 189 kana, the 11 other button signs that come with
    // every East Asian set, 20,000 ideographs and the missing U+3000.
    ASSERT_EQ(entries.size(), 447u + 189u + 11u + 20000u + 1u);
    const std::vector<TablePage> pages = characterTablePages(font, entries);
    std::size_t next = 0;
    std::size_t ideographPages = 0;
    for (const TablePage& page : pages) {
        EXPECT_EQ(page.first, next) << page.title;
        EXPECT_GE(page.count, 1u);
        EXPECT_LE(page.count, kMostTableEntries);
        next = page.first + page.count;
        const std::span<const TableEntry> shown(entries.data() + page.first, page.count);
        const RgbaImage picture = renderCharacterTable(font, shown, darkPalette());
        // Every entry of the page drawn, and the picture within 4 Mi pixels.
        EXPECT_GE(static_cast<std::size_t>(tableGeometry(font, page.count).rows) *
                      std::size_t{kTableColumns},
                  page.count);
        EXPECT_LE(static_cast<long long>(picture.width()) * picture.height(), 4LL << 20);
        ideographPages += page.title.starts_with("CJK Unified Ideographs, part ") ? 1u : 0u;
        if (page.title.starts_with("CJK Unified")) {
            EXPECT_GE(shown.front().code, 0x4E00u);
            EXPECT_LE(shown.back().code, 0x9FFFu);
        }
    }
    EXPECT_EQ(next, entries.size());
    EXPECT_EQ(ideographPages, (20000 + kMostTableEntries - 1) / kMostTableEntries);
    const auto titled = [&](const std::string& title) {
        return std::any_of(pages.begin(), pages.end(),
                           [&](const TablePage& p) { return p.title == title; });
    };
    EXPECT_TRUE(titled("Hiragana (93)"));  // U+3041-3096 and U+3099-309F
    EXPECT_TRUE(titled("Katakana (96)"));
    EXPECT_TRUE(titled("Basic Latin (95)"));
    EXPECT_TRUE(titled("CJK Symbols and Punctuation (1)"));              // the missing U+3000
    EXPECT_TRUE(titled("CJK Unified Ideographs, part 5 of 5 (3,616)"));  // 20,000 − 4 × 4,096
}

TEST(BigFontTable, LatinTableStaysOnePageAndTallCellsPageSooner) {
    const pgf::PgfFile latin = fontOf(setsOf({}));
    const std::vector<TableEntry> entries = characterTableEntries(latin, {});
    const std::vector<TablePage> pages = characterTablePages(latin, entries);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].title, "All characters (447)");
    EXPECT_EQ(pages[0].count, 447u);

    // Cells of 127 + 8 pixels each way: 14 rows of 16 fit 4 Mi pixels (135 × 16 × 135 = 291,600
    // a row), so pages of 224 entries, Cyrillic's 256 in two.
    std::vector<char32_t> codes;
    for (char32_t code = 0x400; code <= 0x4FF; ++code) {
        codes.push_back(code);
    }
    const pgf::PgfFile tall = fontOf(codes, 127);
    const std::vector<TableEntry> tallEntries = characterTableEntries(tall, {});
    const std::vector<TablePage> tallPages = characterTablePages(tall, tallEntries);
    ASSERT_EQ(tallPages.size(), 3u);
    EXPECT_EQ(tallPages[0].title, "Basic Latin (1)");
    EXPECT_EQ(tallPages[1].title, "Cyrillic, part 1 of 2 (224)");
    EXPECT_EQ(tallPages[2].title, "Cyrillic, part 2 of 2 (32)");
}

TEST(BigFontTable, BlockNames) {
    const std::pair<char32_t, const char*> known[] = {
        {0x0041, "Basic Latin"},
        {0x3042, "Hiragana"},
        {0x30FC, "Katakana"},
        {0x4E00, "CJK Unified Ideographs"},
        {0x9FFF, "CJK Unified Ideographs"},
        {0xAC00, "Hangul Syllables"},
        {0xFF61, "Halfwidth and Fullwidth Forms"},
        {0x0530, ""},
        {0xD800, ""},
    };
    for (const auto& [code, name] : known) {
        EXPECT_EQ(unicodeBlockName(code), name) << std::hex << static_cast<unsigned>(code);
    }
}

}  // namespace
}  // namespace tessavine::psp_screen
