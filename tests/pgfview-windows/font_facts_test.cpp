// What pgfview.exe's side panel says and how it reads a file, without any Windows API: the
// figures against the firmware table of the format notes, the bounded read against real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "pgfview-windows/font_facts.h"
#include "pgfview-windows/font_reading.h"

namespace tessavine::pgfview_windows {
namespace {

const std::filesystem::path kConverted = TESSAVINE_CONVERTED_FONT;  // 47460 bytes

TEST(SlotOfFileName, OnlyLtnNumbersOfTheSixteenSlots) {
    const struct {
        const char* name;
        int slot;
    } cases[] = {{"ltn0.pgf", 0},    {"LTN7.PGF", 7},   {"ltn15.pgf", 15}, {"ltn16.pgf", -1},
                 {"ltn.pgf", -1},    {"ltn1a.pgf", -1}, {"xltn1.pgf", -1}, {"ltn1.pgf.bak", -1},
                 {"ltn100.pgf", -1}, {"jpn0.pgf", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(slotOfFileName(c.name), c.slot) << c.name;
    }
}

TEST(DescribeFont, SizesHeldAgainstTheSlotItsNameStandsFor) {
    const FontRead read = readFontFile(kConverted);
    ASSERT_TRUE(read.font) << read.problem;
    EXPECT_EQ(read.bytes, 47460u);
    // ltn0: 69108 file bytes; 47460 / 69108 = 68.7 %.
    const FontFacts asSlot0 = describeFont(*read.font, "ltn0.pgf", read.bytes);
    EXPECT_NE(asSlot0.text.find("Compared with: ltn0.pgf\n"), std::string::npos) << asSlot0.text;
    EXPECT_NE(asSlot0.text.find("File size: 47,460 bytes, 69% of the firmware's 69,108\n"),
              std::string::npos)
        << asSlot0.text;
    EXPECT_NE(asSlot0.text.find("of the firmware's 16,680\n"), std::string::npos);
    EXPECT_FALSE(asSlot0.overBudget);
    // ltn8 is a small face: 41000 file bytes, which this file exceeds.
    const FontFacts asSlot8 = describeFont(*read.font, "ltn8.pgf", read.bytes);
    EXPECT_NE(asSlot8.text.find("116% of the firmware's 41,000  (TOO BIG)"), std::string::npos)
        << asSlot8.text;
    EXPECT_TRUE(asSlot8.overBudget);
    // Any other name is measured against slot 0 and says so.
    const FontFacts named = describeFont(*read.font, "mine.pgf", read.bytes);
    EXPECT_NE(named.text.find("Compared with: ltn0.pgf (assumed)\n"), std::string::npos);
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
}  // namespace tessavine::pgfview_windows
