// The rules that work on texts (number reading, range corrections, the converter's command, the
// code page), and settings.bin and the file system under it, on real files.

#include <cmath>
#include <numeric>
#include <ranges>
#include <span>

#include "core/converter_command.h"
#include "core/dropped_font.h"
#include "core/input_limits.h"
#include "core/number_reading.h"
#include "core/parameter_rules.h"
#include "core/paths.h"
#include "core/result_texts.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "core/std_free_space.h"
#include "core/utf16.h"
#include "core/utf8.h"
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
    const struct {
        std::string bytes;
        std::array<std::string, 6> texts;
    } rows[] = {
        // the third entry is cut after 4 of its 5 bytes
        {entry("Short.ttf") + entry("12") + entry("0.5").substr(0, 4),
         {"Short.ttf", "12", "0.8", "1.0", "2.5", "1.2"}},
        // an empty entry that ends the file is whole: its field is emptied
        {entry("Short.ttf") + entry(""), {"Short.ttf", "", "0.8", "1.0", "2.5", "1.2"}},
        // one byte of a length is not an entry
        {entry("Short.ttf") + std::string(1, '\0'),
         {"Short.ttf", "24", "0.8", "1.0", "2.5", "1.2"}},
    };
    for (const auto& row : rows) {
        FakeControls restored;
        writeBytes(settings(), row.bytes);
        restore(restored);
        EXPECT_EQ(restored.texts, row.texts);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

// The two length bytes count to 65,535: a longer text is cut to that, never written with a
// length that wraps round; and a file whose every entry is that long is read.
TEST_F(SettingsFile, TheLongestEntriesAreWrittenAndReadWhole) {
    controls.texts[0] = std::string(70000, 'a') + ".ttf";
    ASSERT_TRUE(store());
    const std::string written = readBytes(settings());
    EXPECT_EQ(written.substr(0, 2), "\xFF\xFF");
    EXPECT_EQ(written.substr(2, 0xFFFF), std::string(0xFFFF, 'a'));
    EXPECT_EQ(written.substr(2 + 0xFFFF, 3), entry("24").substr(0, 3));

    std::string longest;
    for (int i = 0; i < kSettingsEntryCount; ++i) {
        longest += entry(std::string(0xFFFF, static_cast<char>('a' + i % 26)));
    }
    writeBytes(settings(), longest);
    FakeControls restored;
    restore(restored);
    EXPECT_EQ(restored.texts[0], std::string(0xFFFF, 'a'));
    EXPECT_EQ(restored.texts[5], std::string(0xFFFF, 'f'));
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

// UTF-8 and UTF-16 at the edges of what each can hold, worked out from the encodings' rules.
TEST(TextCodings, EdgesOfTheEncodingsAreKeptAndWhatIsNotTextIsReplaced) {
    const struct {
        std::u16string utf16;
        std::string utf8;
    } both[] = {
        {u"\uD7FF", "\xED\x9F\xBF"},          // the last code before the surrogates
        {u"\uE000", "\xEE\x80\x80"},          // the first after them
        {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a pair: D83D DE00
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},  // the last code of all
    };
    for (const auto& row : both) {
        EXPECT_EQ(utf8FromUtf16(row.utf16), row.utf8);
        EXPECT_EQ(utf16FromUtf8(row.utf8), row.utf16);
    }
    EXPECT_EQ(utf8FromUtf16(std::u16string{u'a', char16_t{0xDC00}, u'b'}),
              "a\xEF\xBF\xBD"
              "b");
    // F8 to FF begin no sequence: each such byte is a character replaced.
    EXPECT_EQ(decodeUtf8("\xF8\x88\x80\x80\x80"), std::u32string(5, kReplacementCharacter));
    EXPECT_EQ(decodeUtf8("\xF0\x90\x80\x80"), std::u32string(1, U'\U00010000'));
}

TEST(Paths, JoinedWithOneSeparatorWhateverTheNameBeginsWith) {
    const std::string sep(1, kPathSeparator);
    for (const char* relative : {"font", "/font", "\\font", "//\\font"}) {
        EXPECT_EQ(joinPath("psp", relative), "psp" + sep + "font") << relative;
        EXPECT_EQ(joinPath("psp" + sep, relative), "psp" + sep + "font") << relative;
    }
}

// A file whose size the system gives as 0 but that holds text, as those under /proc do, is read
// to its end; reading many files leaves no descriptor open; a place with no file system has no
// free space to tell.
TEST(StdFileSystem, ReadsToTheEndAndClosesWhatItOpened) {
#ifdef __linux__
    StdFileSystem files;
    std::string error;
    for (const std::optional<std::string>& status :
         {files.readFileAtMost("/proc/self/status", 1 << 20, error),
          files.readOrdinaryFile("/proc/self/status", 1 << 20, error)}) {
        ASSERT_TRUE(status) << error;
        EXPECT_TRUE(status->starts_with("Name:")) << *status;
        EXPECT_NE(status->find("\nPid:"), std::string::npos);
    }
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
    };
    TempFolder folder;
    writeBytes(folder.path / "a.txt", "abc");
    const auto before = openDescriptors();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(files.readFileAtMost(folder.text("a.txt"), 10, error), "abc") << error;
    }
    EXPECT_EQ(openDescriptors(), before);
#endif
    EXPECT_EQ(StdFreeSpace().availableBytes(std::string(1, kPathSeparator) + "no such folder here"),
              std::nullopt);
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

// The warning for basic characters the font lacks: twelve named at most, the rest counted; the
// space by name, since a blank would not show.
TEST(ResultTexts, TheMissingCharactersWarningNamesTwelveAndCountsTheRest) {
    const std::string tail =
        ".\n\nThe PSP will show \"_\" in their place wherever they appear, in games and in its "
        "own menus. Answer No to the next question to keep the fonts the PSP has now.";
    const auto letters = [](char32_t first, std::size_t count) {
        std::vector<char32_t> codes(count);
        std::iota(codes.begin(), codes.end(), first);
        return codes;
    };
    const std::pair<std::vector<char32_t>, std::string> cases[] = {
        {{U' '},
         "1 of the 95 basic characters (letters, digits, punctuation and the space): space"},
        {{U' ', U'~'},
         "2 of the 95 basic characters (letters, digits, punctuation and the space): "
         "space ~"},
        {letters(U'a', 12),
         "12 of the 95 basic characters (letters, digits, punctuation and the "
         "space): a b c d e f g h i j k l"},
        {letters(U'a', 13),
         "13 of the 95 basic characters (letters, digits, punctuation and the "
         "space): a b c d e f g h i j k l and 1 more"},
        {letters(U'A', 26),
         "26 of the 95 basic characters (letters, digits, punctuation and the "
         "space): A B C D E F G H I J K L and 14 more"},
    };
    for (const auto& [missing, named] : cases) {
        EXPECT_EQ(missingAsciiWarning(missing), "The font made lacks " + named + tail);
    }
}

// What the notices after a conversion and a copy say, with the counts in the singular and plural.
// Sizes in the free-space message: the unit changes where the rounded figure would reach 1024.
TEST(ResultTexts, SizesAreToldInTheUnitTheirRoundedFigureNeeds) {
    const std::pair<std::uintmax_t, const char*> rows[] = {
        {0, "0 bytes"},      {1023, "1023 bytes"},   {1024, "1.0 KB"},
        {50000, "48.8 KB"},  {1048524, "1023.9 KB"}, {1048525, "1.0 MB"},
        {1048576, "1.0 MB"}, {1581700, "1.5 MB"},    {1073741824, "1024.0 MB"}};
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(readableSize(bytes), text) << bytes;
    }
}

TEST(ResultTexts, NoticesCountAndTimeAsTheyShould) {
    using std::chrono::milliseconds;
    const FontCoverage whole{447, {}};
    const FontCoverage lacking{447, {U'A', U'\u00E9'}};
    struct Case {
        std::variant<FontCoverage, std::string> coverage;
        milliseconds took;
        int copies;
        const char* text;
    };
    const Case cases[] = {
        {whole, milliseconds(49), 0,
         "ltn0.pgf made from F.ttf in less than 0.1 s: 447 characters, none missing.\nNo other "
         "slot was ticked, so no slot file was copied from it."},
        {whole, milliseconds(50), 1,
         "ltn0.pgf made from F.ttf in 0.1 s: 447 characters, none missing.\n1 slot file copied "
         "from it."},
        {lacking, milliseconds(1249), 15,
         "ltn0.pgf made from F.ttf in 1.2 s: 2 of the PSP's 447 characters are missing and will "
         "show as _.\n15 slot files copied from it."},
        {std::string("no glyphs"), milliseconds(2000), 2,
         "ltn0.pgf made from F.ttf in 2.0 s, but it cannot be read back (no glyphs), so what it "
         "holds is unknown.\n2 slot files copied from it."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(conversionNotice("F.ttf", c.coverage, c.took, c.copies), c.text);
    }
    EXPECT_EQ(copyNotice(1, "/psp/font", ""),
              "1 font copied to /psp/font.\nNothing there was replaced, so no backup was needed.");
    EXPECT_EQ(copyNotice(16, "/psp/font", "/b/1"),
              "16 fonts copied to /psp/font.\nThe fonts they replaced are backed up in /b/1.");
    // Only printable ASCII counts as basic: the neighbours on each side do not.
    const FontCoverage edges{447, {0x1F, 0x20, 0x7E, 0x7F, 0xA0}};
    EXPECT_EQ(edges.missingAscii(), (std::vector<char32_t>{0x20, 0x7E}));
}

// A font dropped onto the window is copied into the program folder only when it is one plain
// font file of a size the converter takes; otherwise nothing there changes.
TEST(DroppedFont, OnlyOnePlainFontFileOfABoundedSizeIsCopied) {
    TempFolder temp;
    const fs::path program = temp.path / "program";
    const fs::path elsewhere = temp.path / "elsewhere";
    fs::create_directories(program);
    fs::create_directories(elsewhere);
    for (const char* name : {"A.ttf", "B.OTF", "c.ttc", ".ttf", "notes.txt", "big.ttf"}) {
        writeBytes(elsewhere / name, std::string("font ") + name);
    }
    std::error_code error;
    fs::resize_file(elsewhere / "big.ttf", kLargestFontFileBytes + 1, error);
    const auto from = [&](const std::string& name) {
        return DroppedFile{platform::utf8FromPath(elsewhere / name), name};
    };
    struct Case {
        const char* name;
        std::vector<DroppedFile> dropped;
        bool adopted;
        const char* message;  // part of it; nullptr: none
    };
    const Case cases[] = {
        {"two fonts", {from("A.ttf"), from("B.OTF")}, false, kDropRefusedMessage},
        {"no font", {}, false, kDropRefusedMessage},
        {"a text", {from("notes.txt")}, false, kDropRefusedMessage},
        {"an extension alone", {from(".ttf")}, false, kDropRefusedMessage},
        {"a font that is gone", {from("gone.ttf")}, false, kDropRefusedMessage},
        {"a name reaching out",
         {{from("A.ttf").path, "../A.ttf"}},
         false,
         "The font's name \"../A.ttf\" cannot be a file name in the program folder"},
        {"too large", {from("big.ttf")}, false, "is 268435457 bytes long, more than the 268435456"},
        {"upper case", {from("B.OTF")}, true, nullptr},
        {"a collection", {from("c.ttc")}, true, nullptr},
    };
    StdFileSystem files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (error && std::string(c.name) == "too large") {
            continue;  // no sparse files here
        }
        ScriptedPrompts prompts;
        const std::string before = listing(program);
        const auto adopted =
            adoptDroppedFont(files, prompts, platform::utf8FromPath(program), c.dropped);
        EXPECT_EQ(adopted.has_value(), c.adopted);
        if (c.adopted) {
            EXPECT_EQ(*adopted, c.dropped[0].name);
            EXPECT_EQ(readBytes(program / c.dropped[0].name), "font " + c.dropped[0].name);
        } else {
            EXPECT_EQ(listing(program), before);
        }
        if (c.message) {
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_THAT(prompts.messages[0], HasSubstr(c.message));
        } else {
            EXPECT_TRUE(prompts.messages.empty());
        }
        EXPECT_TRUE(prompts.questions.empty());
    }
    EXPECT_EQ(listing(program), "B.OTF c.ttc");
    EXPECT_EQ(listing(temp.path), "elsewhere program");
}

// A different font of the same name is replaced only when the user says so; the same one is used
// without a question.
TEST(DroppedFont, ADifferentFontOfTheSameNameIsReplacedOnlyWhenTheUserSaysSo) {
    TempFolder temp;
    const fs::path program = temp.path / "program";
    fs::create_directories(program);
    fs::create_directories(temp.path / "elsewhere");
    writeBytes(temp.path / "elsewhere" / "F.ttf", "new");
    writeBytes(temp.path / "elsewhere" / "Same.ttf", "same");
    writeBytes(program / "Same.ttf", "same");
    StdFileSystem files;
    for (const bool answer : {false, true}) {
        writeBytes(program / "F.ttf", "old");
        ScriptedPrompts prompts;
        prompts.answer = answer;
        const auto adopted = adoptDroppedFont(
            files, prompts, platform::utf8FromPath(program),
            {{platform::utf8FromPath(temp.path / "elsewhere" / "F.ttf"), "F.ttf"}});
        EXPECT_EQ(adopted.has_value(), answer);
        EXPECT_EQ(readBytes(program / "F.ttf"), answer ? "new" : "old");
        EXPECT_EQ(prompts.questions.size(), 1u);
    }
    ScriptedPrompts prompts;
    EXPECT_EQ(adoptDroppedFont(
                  files, prompts, platform::utf8FromPath(program),
                  {{platform::utf8FromPath(temp.path / "elsewhere" / "Same.ttf"), "Same.ttf"}}),
              "Same.ttf");
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(listing(program), "F.ttf Same.ttf");

    // A copy that fails is told as the file system words it, and the font is not taken.
    struct FullDisk final : StdFileSystem {
        std::string copyFileSafely(const std::string&, const std::string&) override {
            return "The disk is full.";
        }
    } full;
    writeBytes(temp.path / "elsewhere" / "G.ttf", "g");
    EXPECT_FALSE(
        adoptDroppedFont(full, prompts, platform::utf8FromPath(program),
                         {{platform::utf8FromPath(temp.path / "elsewhere" / "G.ttf"), "G.ttf"}}));
    EXPECT_EQ(prompts.messages, (Strings{"The disk is full."}));
    EXPECT_EQ(listing(program), "F.ttf Same.ttf");
}

}  // namespace
}  // namespace tessavine
