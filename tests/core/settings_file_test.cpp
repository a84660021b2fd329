#include "core/settings_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/std_file_system.h"
#include "fakes.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace tessavine {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using namespace testing_support;

std::string entry(const std::string& text) {
    return std::string{static_cast<char>(text.size() & 0xFF), static_cast<char>(text.size() >> 8)} +
           text;
}

// A window as a user leaves it empty: six empty fields, nothing ticked.
FakeControls emptyWindow() {
    FakeControls controls;
    controls.texts.fill("");
    controls.boxes.fill(kUnticked);
    return controls;
}

TEST(SettingsEncoding, AnEmptyWindowIs65Bytes) {
    const FakeControls controls = emptyWindow();
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        expected += std::string("\x00\x00", 2);
    }
    for (int i = 0; i < 17; ++i) {
        expected += std::string("\x01\x00\x30", 3);
    }
    expected += std::string("\x00\x00", 2);
    EXPECT_EQ(encodeSettings(buildSettingsRecord(controls)), expected);
    EXPECT_EQ(expected.size(), 65u);
}

TEST(SettingsEncoding, WritesStatesAndTicksAsDigits) {
    FakeControls controls;
    controls.bold = kTicked;
    controls.italicize = kGreyed;
    controls.boxes.fill(kGreyed);
    controls.boxes[1] = kTicked;
    controls.boxes[15] = kTicked;
    const SettingsRecord record = buildSettingsRecord(controls);
    EXPECT_THAT(record,
                ElementsAre("Example.ttf", "24", "0.8", "1.0", "2.5", "1.2", "1", "2", "1", "0",
                            "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1", ""));
    const std::string bytes = encodeSettings(record);
    EXPECT_EQ(bytes.substr(0, 17), entry("Example.ttf") + std::string("\x02\x00\x32\x34", 4));
}

TEST(SettingsEncoding, CutsATextAtTheLongestLengthTheFileCanHold) {
    SettingsRecord record;
    record[0] = std::string(70000, 'a');
    const std::string bytes = encodeSettings(record);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFF");
    EXPECT_EQ(bytes.size(), 2u + 65535u + 23u * 2u);
    EXPECT_EQ(decodeSettings(bytes).record[0], std::string(65535, 'a'));
    EXPECT_EQ(decodeSettings(bytes).entriesRead, 24);
}

struct ShortFileCase {
    std::size_t keep;  // bytes of the full file that are kept
    int entriesRead;
};

class ShortSettingsFile : public testing::TestWithParam<ShortFileCase> {};

TEST_P(ShortSettingsFile, TakesOnlyTheWholeEntries) {
    SettingsRecord full;
    full[0] = "Font.ttf";  // 10 bytes
    full[1] = "16";        // 4 bytes
    full[2] = "1.5";       // 5 bytes
    const std::string bytes = encodeSettings(full).substr(0, GetParam().keep);
    const DecodedSettings decoded = decodeSettings(bytes);
    EXPECT_EQ(decoded.entriesRead, GetParam().entriesRead);
    for (int i = 0; i < kSettingsEntryCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        EXPECT_EQ(decoded.record[at], i < decoded.entriesRead ? full[at] : "") << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, ShortSettingsFile,
                         testing::Values(ShortFileCase{0, 0}, ShortFileCase{1, 0},
                                         ShortFileCase{9, 0}, ShortFileCase{10, 1},
                                         ShortFileCase{11, 1}, ShortFileCase{13, 1},
                                         ShortFileCase{14, 2}, ShortFileCase{18, 2},
                                         ShortFileCase{19, 3}, ShortFileCase{20, 3},
                                         ShortFileCase{19 + 2 * 21 - 1, 23},
                                         ShortFileCase{19 + 2 * 21, 24}));

TEST(SettingsDecoding, IgnoresBytesAfterTheLastEntry) {
    SettingsRecord record;
    record[0] = "a.ttf";
    const std::string bytes = encodeSettings(record);
    const DecodedSettings plain = decodeSettings(bytes);
    const DecodedSettings padded = decodeSettings(bytes + entry("ignored") + "\xFF");
    EXPECT_EQ(padded.record, plain.record);
    EXPECT_EQ(padded.entriesRead, 24);
}

struct ApplyCase {
    std::string text;
    int slotState;   // as entry 8 (Check1(1))
    int styleState;  // as entry 6 (bold1)
};

class ApplyEntry : public testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyEntry, TicksOnlyOnAClearOne) {
    SettingsRecord record;
    record[6] = GetParam().text;
    record[8] = GetParam().text;
    FakeControls controls;
    controls.bold = kGreyed;
    controls.boxes[1] = kGreyed;
    applySettingsRecord(record, kSettingsEntryCount, controls);
    EXPECT_EQ(controls.boxes[1], GetParam().slotState);
    EXPECT_EQ(controls.bold, GetParam().styleState);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ApplyEntry,
    testing::Values(ApplyCase{"1", kTicked, kTicked}, ApplyCase{"", kUnticked, kUnticked},
                    ApplyCase{"0", kUnticked, kUnticked}, ApplyCase{"2", kUnticked, kUnticked},
                    ApplyCase{" 1", kUnticked, kTicked}, ApplyCase{"01", kUnticked, kTicked},
                    ApplyCase{"1 ", kUnticked, kTicked}, ApplyCase{"1.0", kUnticked, kTicked},
                    ApplyCase{"-1", kUnticked, kUnticked}, ApplyCase{"x", kUnticked, kUnticked},
                    ApplyCase{"1x", kUnticked, kUnticked}));

TEST(ApplySettings, LeavesBoxZeroCreateAllAndUnreadEntriesAlone) {
    SettingsRecord record;
    record.fill("1");
    record[0] = "Other.ttf";
    FakeControls controls;
    controls.boxes[0] = kGreyed;
    controls.boxes[kCreateAllBox] = kUnticked;
    applySettingsRecord(record, 2, controls);
    EXPECT_EQ(controls.texts[0], "Other.ttf");
    EXPECT_EQ(controls.texts[1], "1");
    EXPECT_EQ(controls.texts[2], "0.8");  // not in the file: the initial value stays
    EXPECT_EQ(controls.bold, kUnticked);
    EXPECT_EQ(controls.boxes[1], kUnticked);

    applySettingsRecord(record, kSettingsEntryCount, controls);
    EXPECT_EQ(controls.boxes[0], kGreyed);
    EXPECT_EQ(controls.boxes[kCreateAllBox], kUnticked);
    EXPECT_EQ(controls.boxes[15], kTicked);
}

class SettingsFileTest : public testing::Test {
  protected:
    fs::path settings() const { return program.path() / "settings.bin"; }

    TempFolder program;
    StdFileSystem files;
    FakeTimer timer;
    ScriptedPrompts prompts{timer};
};

TEST_F(SettingsFileTest, ASaveAndALoadGiveTheWindowBack) {
    FakeControls saved;
    saved.texts = {"Caf\xC3\xA9 \xE2\x82\xAC \xC5\x92uvre.ttf", "7", "9.9", "", "1.5abc", " 2 "};
    saved.bold = kTicked;
    saved.italicize = kUnticked;
    saved.boxes.fill(kUnticked);
    for (int box : {1, 8, 15}) {
        saved.boxes[static_cast<std::size_t>(box)] = kTicked;
    }
    ASSERT_TRUE(storeSettings(files, program.text(), saved, prompts));
    EXPECT_EQ(readBytes(settings()).substr(0, 18), entry("Caf\xE9 \x80 \x8Cuvre.ttf"));
    EXPECT_EQ(listing(program.path()), "settings.bin");

    FakeControls restored;
    restored.boxes[0] = kGreyed;
    restored.boxes[kCreateAllBox] = kTicked;
    restoreSettings(files, program.text(), restored, prompts);
    EXPECT_EQ(restored.texts, saved.texts);
    EXPECT_EQ(restored.bold, kTicked);
    EXPECT_EQ(restored.italicize, kUnticked);
    for (int box = 1; box < kSlotCount; ++box) {
        EXPECT_EQ(restored.boxes[static_cast<std::size_t>(box)],
                  saved.boxes[static_cast<std::size_t>(box)])
            << box;
    }
    EXPECT_EQ(restored.boxes[0], kGreyed);
    EXPECT_EQ(restored.boxes[kCreateAllBox], kTicked);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SettingsFileTest, ASaveReplacesALongerFile) {
    writeBytes(settings(), std::string(500, '\x7F'));
    ASSERT_TRUE(storeSettings(files, program.text(), emptyWindow(), prompts));
    EXPECT_EQ(fs::file_size(settings()), 65u);
}

TEST_F(SettingsFileTest, AMissingFileKeepsTheInitialValuesAndIsNotCreated) {
    FakeControls controls;
    const FakeControls initial = controls;
    restoreSettings(files, program.text(), controls, prompts);
    EXPECT_EQ(controls.texts, initial.texts);
    EXPECT_FALSE(fs::exists(settings()));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SettingsFileTest, AShortFileRestoresWhatItHolds) {
    writeBytes(settings(), entry("Short.ttf") + entry("12") +
                               std::string("\x05\x00"
                                           "0.",
                                           4));
    FakeControls controls;
    restoreSettings(files, program.text(), controls, prompts);
    EXPECT_EQ(controls.texts[0], "Short.ttf");
    EXPECT_EQ(controls.texts[1], "12");
    EXPECT_EQ(controls.texts[2], "0.8");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SettingsFileTest, AnUnreadableFileKeepsTheInitialValuesWithAMessage) {
    fs::create_directory(settings());
    FakeControls controls;
    const FakeControls initial = controls;
    restoreSettings(files, program.text(), controls, prompts);
    EXPECT_EQ(controls.texts, initial.texts);
    EXPECT_EQ(controls.boxes, initial.boxes);
    EXPECT_THAT(prompts.messages(), ElementsAre(HasSubstr(program.text("settings.bin"))));
}

TEST_F(SettingsFileTest, AFailedSaveIsReportedWithTheReason) {
    fs::create_directory(settings());
    EXPECT_FALSE(storeSettings(files, program.text(), emptyWindow(), prompts));
    EXPECT_THAT(prompts.messages(), ElementsAre(HasSubstr("Is a directory")));
    EXPECT_EQ(listing(program.path()), "settings.bin");

    prompts.shown.clear();
    EXPECT_FALSE(storeSettings(files, program.text("gone"), emptyWindow(), prompts));
    EXPECT_THAT(prompts.messages(), ElementsAre(HasSubstr(program.text("gone"))));
    EXPECT_FALSE(fs::exists(program.path() / "gone"));
}

}  // namespace
}  // namespace tessavine
