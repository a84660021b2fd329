// The rules that work on texts (number reading, range corrections, the converter's command, the
// code page), and settings.bin and the file system under it, on real files.

#include <cmath>
#include <numeric>
#include <ranges>
#include <span>

#include "core/converter_command.h"
#include "core/number_reading.h"
#include "core/parameter_rules.h"
#include "core/paths.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "core/windows1252.h"
#include "support.h"

namespace tessavine {
namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

TEST(NumberReading, ReadsTheNumberATextBeginsWithOrOneWholeNumber) {
    const std::pair<const char*, double> cases[] = {
        {"1.5x", 1.5},  {"1.2.3", 1.2},   {".5", 0.5},        {"7.", 7.0},  {"", 0.0},
        {"abc", 0.0},   {"1,5", 1.0},     {" 1 2\t3\n", 123}, {"-1", -1.0}, {"+2.5", 2.5},
        {"1E2", 100},   {"2.5d-1", 0.25}, {"1e", 1.0},        {"1e+", 1.0}, {"&H10", 16},
        {"&hFFFF", -1}, {"&O17", 15},     {"&H", 0.0},        {"-", 0.0},   {"1e999", HUGE_VAL}};
    // "&" numbers are signed 16-bit while they fit, then signed 32-bit, then as they are
    const std::pair<const char*, double> more[] = {
        {"&H7FFF", 32767},     {"&H8000", -32768}, {"&H10000", 65536},
        {"&HFFFFFFFF", -1},    {"&O177777", -1},   {"&H100000000", 4294967296.0},
        {"-1e999", -HUGE_VAL}, {"1e-999", 0.0},    {"1D2", 100},
        {" - 2 . 5 ", -2.5}};
    for (const auto& [text, value] : std::views::join(
             std::array<std::span<const std::pair<const char*, double>>, 2>{cases, more})) {
        EXPECT_DOUBLE_EQ(readDecimal(text), value) << '"' << text << '"';
    }
    // a whole number rounds half to even; anything else is no whole number
    EXPECT_EQ(readWholeNumber("7.5"), 8.0);
    EXPECT_EQ(readWholeNumber("8.5"), 8.0);
    EXPECT_EQ(readWholeNumber(" 24 "), 24.0);
    EXPECT_EQ(readWholeNumber("&H18"), 24.0);
    EXPECT_EQ(readWholeNumber("\t1e3\t"), 1000.0);
    EXPECT_EQ(readWholeNumber("2.5"), 2.0);
    for (const char* text : {"", "  ", "abc", "12abc", "1 2", ".", "+", "&H", "1e"}) {
        EXPECT_EQ(readWholeNumber(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(RangeRules, ReplaceOnlyOutOfRangeTextsWithTheBound) {
    using enum TextField;
    const char* const stays = "(stays)";
    // horizontal1 is compared at 3 decimals, advance1 at 2, so ".249" and "2.004" differ between
    // them. An exact half rounds to even: advance "2.005" is 2.00 and stays, "0.245" is 0.24.
    const std::tuple<TextField, const char*, const char*> cases[] = {
        {horizontal1, "0.2", "0.25"}, {horizontal1, "2.5", "2.0"},   {horizontal1, "0.25", stays},
        {horizontal1, "2.0", stays},  {horizontal1, ".249", "0.25"}, {horizontal1, "2.004", "2.0"},
        {horizontal1, "", "0.25"},    {horizontal1, "1e999", "2.0"}, {advance1, ".249", stays},
        {advance1, "2.004", stays},   {advance1, "", "0.25"},        {advance1, "2.005", stays},
        {advance1, "0.245", "0.25"},  {blur1, "0.05", "0.1"},        {blur1, "4.5", "4.0"},
        {blur1, "", "0.1"},           {blur1, "1.5abc", stays},      {blur1, "0.095", stays},
        {intensity1, "4.0", stays},   {intensity1, "4.5", "4.0"},    {intensity1, "-1", "0.0"},
        {intensity1, "", stays},      {height1, "7", "8"},           {height1, "8", stays},
        {height1, "007", "8"},        {height1, "7.5", stays},       {height1, "7.4", "8"},
        {height1, "", "8"},           {height1, "24px", "8"},        {height1, " 24 ", stays},
        {fontname1, "", stays},       {height1, "&H8", stays},       {blur1, "&H5", "4.0"},
        {intensity1, "1e99", "4.0"},  {horizontal1, "1e-99", "0.25"}};
    for (const auto& [field, text, expected] : cases) {
        EXPECT_EQ(correctedParameter(field, text).value_or(stays), expected)
            << "field " << static_cast<int>(field) << " \"" << text << '"';
    }
    Strings corrected;  // as field=text, in the order Execute handles them
    for (const ParameterCorrection& c : normaliseParameters({"3", "1.00", "", "", "7"})) {
        corrected.push_back(std::to_string(static_cast<int>(c.field)) + "=" + c.text);
    }
    EXPECT_EQ(corrected, (Strings{"2=2.0", "4=0.1", "1=8"}));
}

TEST(ConverterCommand, HasFourFormsAndTheFontNameIsOneArgument) {
    // bold1, italicize1 and the size word they give; a greyed box counts as not ticked
    const std::tuple<int, int, std::string> forms[] = {
        {kUnticked, kUnticked, "24h0.8"}, {kTicked, kUnticked, "24bh0.8"},
        {kUnticked, kTicked, "24ih0.8"},  {kTicked, kTicked, "24bih0.8"},
        {kGreyed, kTicked, "24ih0.8"},    {kTicked, kGreyed, "24bh0.8"}};
    for (const auto& [bold, italic, size] : forms) {
        const ConverterTexts texts{"Example.ttf", "24", "0.8", "2.5", "1.2", bold, italic};
        EXPECT_EQ(converterCommandLine(texts),
                  "ttf2pgf.exe \"Example.ttf\" ltn0.pgf " + size + " b2.5i1.2");
        EXPECT_EQ(converterArguments(texts),
                  (Strings{"Example.ttf", "ltn0.pgf", size, "b2.5i1.2"}));
    }
    // nothing is trimmed or escaped
    const ConverterTexts odd{"My \"odd\" font.ttf", " 24", "0.8 ", "1.5abc", "", 0, 0};
    EXPECT_EQ(converterCommandLine(odd),
              "ttf2pgf.exe \"My \"odd\" font.ttf\" ltn0.pgf  24h0.8  b1.5abci");
    EXPECT_EQ(converterArguments(odd),
              (Strings{"My \"odd\" font.ttf", "ltn0.pgf", " 24h0.8 ", "b1.5abci"}));
}

TEST(Windows1252, EncodesBothWaysAndTurnsWhatItCannotHoldIntoQuestionMarks) {
    // Every character of the high half is checked against the code page through settings.bin.
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');  // every byte
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    // not in the code page, an emoji, U+0080, no UTF-8, cut short, a surrogate
    EXPECT_EQ(
        utf8ToWindows1252("\xE6\x97\xA5|\xF0\x9F\x98\x80|\xC2\x80|\xFF|\xE2\x82|\xED\xA0\x80"),
        "?|?|?|?|??|???");
}

using SettingsFile = SettingsFolder;

TEST_F(SettingsFile, AnEmptyWindowIsSixEmptyEntriesSeventeenZerosAndAnEmptyLastOne) {
    controls.texts.fill("");
    controls.boxes.fill(kGreyed);                      // a greyed slot box is saved as unticked
    writeBytes(settings(), std::string(500, '\x7F'));  // a longer file is replaced whole
    ASSERT_TRUE(store());
    std::string expected(12, '\0');
    for (int i = 0; i < 17; ++i) {
        expected += entry("0");
    }
    EXPECT_EQ(readBytes(settings()), expected + std::string(2, '\0'));  // 65 bytes
}

TEST_F(SettingsFile, ASaveAndALoadGiveTheWindowBack) {
    controls.texts = {"Caf\xC3\xA9 \xE2\x82\xAC \xC5\x92uvre.ttf", "7", "9.9", "", "1.5abc", " 2 "};
    controls.bold = kTicked;
    controls.italic = kGreyed;  // saved as 2, which ticks nothing
    // boxes 0, 1, 8 and 15 ticked
    controls.boxes = {kTicked, kTicked, 0, 0, 0, 0, 0, 0, kTicked, 0, 0, 0, 0, 0, 0, kTicked, 0};
    ASSERT_TRUE(store());
    EXPECT_EQ(readBytes(settings()).substr(0, 18), entry("Caf\xE9 \x80 \x8Cuvre.ttf"));
    EXPECT_EQ(listing(program.path), "settings.bin");

    FakeControls restored;
    restored.bold = restored.italic = restored.boxes[0] = restored.boxes[1] = kGreyed;
    restored.boxes[kCreateAllBox] = kTicked;  // neither box 0 nor Create All is in the file
    restore(restored);
    EXPECT_EQ(restored.texts, controls.texts);
    EXPECT_EQ(std::tuple(restored.bold, restored.italic), std::tuple(kTicked, kUnticked));
    controls.boxes[0] = kGreyed;
    controls.boxes[kCreateAllBox] = kTicked;
    EXPECT_EQ(restored.boxes, controls.boxes);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SettingsFile, AFileEndingInsideAnEntryRestoresOnlyTheWholeEntries) {
    // the third entry is cut after 4 of its 5 bytes
    writeBytes(settings(), entry("Short.ttf") + entry("12") + entry("0.5").substr(0, 4));
    restore();
    EXPECT_THAT(controls.texts, ElementsAre("Short.ttf", "12", "0.8", "1.0", "2.5", "1.2"));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(SettingsRecord, OnlyAPlainOneTicksASlotBoxWhileStyleEntriesTakeAnyWholeOne) {
    // the entry and what it makes of Check1(1) and of bold1 and italicize1 (entries 6 and 7)
    const std::tuple<const char*, int, int> cases[] = {
        {"1", kTicked, kTicked},     {"", kUnticked, kUnticked},  {"0", kUnticked, kUnticked},
        {"2", kUnticked, kUnticked}, {" 1", kUnticked, kTicked},  {"01", kUnticked, kTicked},
        {"1.0", kUnticked, kTicked}, {"1x", kUnticked, kUnticked}};
    for (const auto& [text, slot, style] : cases) {
        SettingsRecord record;
        record[6] = record[7] = record[8] = text;
        FakeControls controls;
        controls.bold = controls.italic = controls.boxes[1] = kGreyed;
        applySettingsRecord(record, kSettingsEntryCount, controls);
        EXPECT_EQ(std::tuple(controls.boxes[1], controls.bold, controls.italic),
                  std::tuple(slot, style, style))
            << '"' << text << '"';
    }
}

TEST_F(SettingsFile, AFolderInPlaceOfTheFileIsReportedOnLoadAndOnSave) {
    fs::create_directory(settings());
    restore();
    EXPECT_EQ(controls.texts, FakeControls().texts);  // the initial values stay
    EXPECT_FALSE(store());
    EXPECT_THAT(prompts.messages,
                ElementsAre(HasSubstr(program.text("settings.bin")), HasSubstr("Is a directory")));
    EXPECT_EQ(listing(program.path), "settings.bin");
}

TEST(StdFileSystem, TheDirectorySearchFindsOnlyOrdinaryVisibleFiles) {
    TempFolder folder;
    for (const char* file : {"Font.ttf", ".hidden.ttf", "run.exe", "sub/In.otf", "folder.ttf/x"}) {
        fs::create_directories((folder.path / file).parent_path());
        writeBytes(folder.path / file, "x");
    }
    const auto find = [&folder](const char* pattern) {
        return StdFileSystem().findFirstFile(joinPath(folder.text(), pattern)).value_or("(none)");
    };
    for (const char* pattern : {"Font.ttf", "Fo*.ttf", "Fon?.ttf", "F*t.t?f"}) {
        EXPECT_EQ(find(pattern), "Font.ttf") << pattern;
    }
    for (const char* pattern :
         {"Font.tt", "?Font.ttf", ".hidden.ttf", "*.hidden.ttf", "folder.ttf", "sub", ""}) {
        EXPECT_EQ(find(pattern), "(none)") << pattern;
    }
    EXPECT_EQ(find("*.exe"), "run.exe");
    EXPECT_EQ(find("sub\\In.otf"), "In.otf");
}

TEST(StdFileSystem, AReplacementThatFailsLeavesTheOldFileAndNoTemporaryOne) {
    TempFolder folder;
    StdFileSystem files;
    writeBytes(folder.path / "ltn0.pgf", "new");
    writeBytes(folder.path / "ltn1.pgf", "old");
    if (!setUndeletable(folder.path / "ltn1.pgf", true)) {
        GTEST_SKIP() << "this system cannot make a file unreplaceable for the test";
    }
    const std::string target = folder.text("ltn1.pgf");
    const std::string copyError = files.copyFileSafely(folder.text("ltn0.pgf"), target);
    const std::string writeError = files.writeFileReplacing(target, "bytes");
    setUndeletable(folder.path / "ltn1.pgf", false);
    EXPECT_THAT(copyError, HasSubstr(target));
    EXPECT_THAT(writeError, HasSubstr(target));
    EXPECT_EQ(readBytes(folder.path / "ltn1.pgf"), "old");
    EXPECT_EQ(listing(folder.path), "ltn0.pgf ltn1.pgf");
}

}  // namespace
}  // namespace tessavine
