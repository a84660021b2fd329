// What both pgfview programs share: the side panel's figures against the firmware table of the
// format notes, the bounded read against real files, where the window stands beside the main
// window and at which zoom, and when a failed read is believed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "pgf/pgf_writer.h"
#include "pgfview_shared/companion_place.h"
#include "pgfview_shared/font_reading.h"
#include "pgfview_shared/font_summary.h"
#include "pgfview_shared/opening_zoom.h"
#include "pgfview_shared/read_verdict.h"

namespace tessavine::pgfview_shared {
namespace {

const std::filesystem::path kConverted = TESSAVINE_CONVERTED_FONT;  // 47460 bytes

TEST(SlotOfFileName, OnlyTheFirmwareFontsNames) {
    const struct {
        const char* name;
        int slot;
    } cases[] = {{"ltn0.pgf", 0},    {"LTN7.PGF", 7},   {"ltn15.pgf", 15}, {"ltn16.pgf", -1},
                 {"ltn.pgf", -1},    {"ltn1a.pgf", -1}, {"xltn1.pgf", -1}, {"ltn1.pgf.bak", -1},
                 {"ltn100.pgf", -1}, {"jpn0.pgf", 16},  {"JPN0.PGF", 16},  {"jpn1.pgf", -1},
                 {"myjpn0.pgf", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(slotOfFileName(c.name).value_or(-1), c.slot) << c.name;
    }
}

TEST(Summarize, SizesHeldAgainstTheSlotItsNameStandsFor) {
    const FontRead read = readFontFile(kConverted);
    ASSERT_TRUE(read.font) << read.problem;
    EXPECT_EQ(read.bytes, 47460u);
    // ltn0: 69108 file bytes, 16680 bytes of open memory; 47460 / 69108 = 68.7 %.
    const FontSummary asSlot0 = summarize(*read.font, "ltn0.pgf", read.bytes);
    EXPECT_EQ(asSlot0.slot, 0);
    EXPECT_TRUE(asSlot0.slotFromName);
    EXPECT_EQ(asSlot0.slotFileBytes, 69108u);
    EXPECT_EQ(asSlot0.slotOpenBytes, 16680u);
    EXPECT_EQ(bytesText(asSlot0.fileBytes), "47,460 bytes");
    EXPECT_EQ(ofFirmwareText(asSlot0.fileBytes, asSlot0.slotFileBytes),
              "of the firmware's 69,108 (69%)");
    EXPECT_FALSE(asSlot0.fileTooBig());
    // ltn8 is a small face: 41000 file bytes, which this file exceeds (116 %).
    const FontSummary asSlot8 = summarize(*read.font, "LTN8.PGF", read.bytes);
    EXPECT_EQ(asSlot8.slotFileBytes, 41000u);
    EXPECT_TRUE(asSlot8.fileTooBig());
    EXPECT_EQ(ofFirmwareText(asSlot8.fileBytes, asSlot8.slotFileBytes),
              "of the firmware's 41,000 (116%)");
    // Any other name is measured against slot 0 and says so.
    const FontSummary named = summarize(*read.font, "mine.pgf", read.bytes);
    EXPECT_EQ(named.slot, 0);
    EXPECT_FALSE(named.slotFromName);
}

// A font of A, _, é, ア and 日, made by hand. As jpn0.pgf it is held to the set "japanese" (7,490
// characters), which has A, _, 日 and ア and not é: 7,486 missing, 日 not among them, é not
// reported. As ltn0.pgf, or under a name of no slot, to the PSP's latin set (447), which has A, _
// and é: 444 missing, and the kanji the latin set never asks for not counted.
TEST(Summarize, MissingCharactersOfTheSetTheSlotNeeds) {
    pgf::PgfFont made;
    made.name = "Five Glyphs";
    made.style = "Regular";
    made.ascender = 13 * 64;
    made.descender = -3 * 64;
    for (const char16_t code : {u'A', u'_', u'\u00e9', u'\u30a2', u'\u65e5'}) {
        pgf::PgfGlyph glyph;
        glyph.code = code;
        glyph.image = {2, 2, 0, 2, std::vector<std::uint8_t>(4, 15)};
        glyph.shadow = {1, 1, 0, 0, {8}};
        glyph.metrics = {{2 * 64, 2 * 64}, {0, 0}, {2 * 64, 0}, {3 * 64, 18 * 64}};
        made.glyphs.push_back(glyph);
    }
    const std::vector<std::uint8_t> bytes = pgf::writePgf(made);
    const pgf::PgfFile font = pgf::readPgf(bytes);
    const struct {
        const char* name;
        std::size_t missing;
        const char* words;
        char32_t absent;   // missing, and reported
        char32_t held;     // in the font: never reported
        char32_t unasked;  // lacking, but not of the slot's set: never reported
    } cases[] = {
        {"jpn0.pgf", 7486, "jpn0's set", U' ', U'\u65e5', U'\u0141'},
        {"JPN0.PGF", 7486, "jpn0's set", U'\u3042', U'\u30a2', U'\u00e8'},
        {"ltn0.pgf", 444, "the PSP's set", U'\u00e8', U'\u00e9', U'\u65e5'},
        {"ltn9.pgf", 444, "the PSP's set", U' ', U'A', U'\u3042'},
        {"mine.pgf", 444, "the PSP's set", U'\u0141', U'_', U'\u30a2'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FontSummary summary = summarize(font, c.name, bytes.size());
        EXPECT_EQ(summary.missing.size(), c.missing);
        EXPECT_EQ(summary.wantedSet, c.words);
        EXPECT_TRUE(std::is_sorted(summary.missing.begin(), summary.missing.end()));
        const auto has = [&](char32_t code) {
            return std::find(summary.missing.begin(), summary.missing.end(), code) !=
                   summary.missing.end();
        };
        EXPECT_TRUE(has(c.absent));
        EXPECT_FALSE(has(c.held));
        EXPECT_FALSE(has(c.unasked));
    }
}

TEST(Summarize, FiguresWrittenAsTheUserReadsThem) {
    const struct {
        std::size_t count;
        const char* text;
    } cases[] = {{0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}};
    for (const auto& c : cases) {
        EXPECT_EQ(groupedDigits(c.count), c.text);
    }
    EXPECT_EQ(codeAndCharacter(U'\u0141'), "U+0141  \xC5\x81");
    EXPECT_EQ(codeAndCharacter(U'\U0001F600').substr(0, 9), "U+1F600  ");
    // A table cell's tip, the same in both viewers: a missing one says what shows instead.
    EXPECT_EQ(tableCellTip(U'A', false), "U+0041  A");
    EXPECT_EQ(tableCellTip(U'\u00E9', true),
              "U+00E9  \xC3\xA9 \xE2\x80\x94 missing; the PSP shows _ instead");
    EXPECT_EQ(ofFirmwareText(1, 0), "of the firmware's 0 (0%)");  // no division by zero
}

TEST(CompanionPlace, BesideTheMainWindowOnTheSideWithMoreRoomNeverOverIt) {
    const DesktopRect work{0, 0, 1600, 1000};
    const struct {
        DesktopRect main;
        int width, height;
        bool right;
        DesktopRect frame;
    } cases[] = {
        // Centred: equal room, the right side. Level with its top.
        {{576, 300, 1024, 700}, 500, 400, true, {1032, 300, 1532, 700}},
        // Nearer the right edge: the left side, the frame ending a gap before the main window.
        {{900, 300, 1400, 700}, 500, 400, false, {392, 300, 892, 700}},
        // Taller than the room below the main window's top: raised to end at the bottom.
        {{576, 800, 1024, 990}, 500, 400, true, {1032, 600, 1532, 1000}},
        // Taller than the screen: at its top.
        {{576, 300, 1024, 700}, 500, 1200, true, {1032, 0, 1532, 1200}},
    };
    for (const auto& c : cases) {
        const Side side = sideWithMoreRoom(work, c.main, 8);
        EXPECT_EQ(side.right, c.right);
        const DesktopRect frame = frameBeside(work, c.main, side, c.width, c.height, 8);
        EXPECT_EQ(frame.left, c.frame.left);
        EXPECT_EQ(frame.top, c.frame.top);
        EXPECT_EQ(frame.width(), c.width);
        EXPECT_EQ(frame.height(), c.height);
        EXPECT_TRUE(frame.right <= c.main.left - 8 || frame.left >= c.main.right + 8);
    }
    EXPECT_EQ(sideWithMoreRoom(work, {576, 300, 1024, 700}, 8).room, 1600 - 1024 - 8);
    const DesktopRect centred = centredIn(work, 455, 460);
    EXPECT_EQ(centred.left, 572);
    EXPECT_EQ(centred.top, 270);
    EXPECT_EQ(centred.width(), 455);
}

// The rooms beside the centred Tessavine window as measured, in logical pixels: 705 wide on
// 1920 × 1080 at 100 %, 225 at 200 %, 595 on 3400 × 1900 at 200 %, 1665 on 3840 × 2160 at 100 %;
// as high as the screen less a taskbar of 40. Around the picture, pgfview.exe's at 96 dpi: a
// scroll bar (17), two margins (16) and the frame's sides (16) across, 49; above it two rows of
// controls and the tabs (98), below it a scroll bar, the status line, the sizes and the panel
// (311), and the frame (39) down, 448. So 2× needs 1009 × 992 and 1× 529 × 720.
TEST(OpeningZoom, TheLargestWhosePictureFitsWholeElseTheSmallest) {
    const Extent picture{480, 272};
    const Extent around{49, 448};
    const struct {
        const char* screen;
        Extent room;
        int zoom;
    } cases[] = {
        {"1920 x 1080 at 100 %", {705, 1040}, 1},
        {"1920 x 1080 at 200 %: not even 1x fits", {225, 500}, 1},
        {"3400 x 1900 at 200 %", {595, 910}, 1},
        {"3840 x 2160 at 100 %", {1665, 2120}, 2},
        {"wide but too low for 2x", {1665, 991}, 1},
        {"2x exactly", {1009, 992}, 2},
        {"a pixel too narrow for 2x", {1008, 992}, 1},
        {"a pixel too low for 2x", {1009, 991}, 1},
        {"room for 4x: no more than 2x", {10000, 10000}, 2},
        {"no room at all", {0, 0}, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(openingZoom(c.room, picture, around), c.zoom) << c.screen;
    }
    // At 192 dpi in device pixels, everything twice as large: 3840 x 2160 at 200 % leaves 1410
    // beside the main window, short of the 2018 that 2x needs.
    EXPECT_EQ(openingZoom({1410, 2080}, {960, 544}, {98, 896}), 1);
    EXPECT_EQ(openingZoom({2018, 1984}, {960, 544}, {98, 896}), 2);
}

TEST(ReadVerdict, AFailureIsBelievedOnlyOnceTheFileHoldsStill) {
    const struct {
        bool failed, changed, lately;
        int retries;
        ReadVerdict verdict;
    } cases[] = {
        {false, false, true, 0, ReadVerdict::Show},
        {false, true, false, 0, ReadVerdict::LookAgain},  // read while it was being written
        {true, false, true, 0, ReadVerdict::LookAgain},   // fresh: the writer may not be done
        {true, false, true, kMostRetries - 1, ReadVerdict::LookAgain},
        {true, false, true, kMostRetries, ReadVerdict::Damaged},
        {true, true, false, kMostRetries, ReadVerdict::Damaged},
        {true, false, false, 0, ReadVerdict::Damaged},          // old and failing: damaged at once
        {false, true, false, kMostRetries, ReadVerdict::Show},  // good, if still changing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(judgeRead(c.failed, c.changed, c.lately, c.retries), c.verdict)
            << c.failed << c.changed << c.lately << c.retries;
    }
}

class FontReading : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("pgfview_exe_reading_" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(FontReading, RefusesWhatCannotBeShownSayingWhy) {
    {
        std::ofstream(folder_ / "short.pgf", std::ios::binary) << "PGF?";
        std::ofstream big(folder_ / "big.pgf", std::ios::binary);
        big.seekp(16 * 1024 * 1024);  // one byte past the bound, sparse
        big.put('x');
    }
    std::filesystem::create_directory(folder_ / "folder.pgf");
    const struct {
        const char* name;
        const char* says;
        bool missing;
    } cases[] = {{"gone.pgf", "there is no such file", true},
                 {"short.pgf", "no PGF font", false},
                 {"big.pgf", "16777217 bytes long, more than the 16777216", false},
                 {"folder.pgf", "not an ordinary file", false}};
    for (const auto& c : cases) {
        const FontRead read = readFontFile(folder_ / c.name);
        EXPECT_FALSE(read.font) << c.name;
        EXPECT_NE(read.problem.find(c.says), std::string::npos) << c.name << ": " << read.problem;
        EXPECT_EQ(read.missing, c.missing) << c.name;
        EXPECT_LE(read.bytes, 4u) << c.name << ": the big file must not be read";
    }
}

}  // namespace
}  // namespace tessavine::pgfview_shared
