// The real ttf2pgf.exe and pgfinfo, run in a scratch folder as the window runs the converter.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "pgf/pgf_reader.h"
#include "scratch_folder.h"
#include "tests/pgf/file_bytes.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

using namespace test;

const fs::path kConverter = TTF2PGF_PATH;
const fs::path kInspector = PGFINFO_PATH;
const fs::path kRepro = TESSAVINE_REPRO_DIR;
const fs::path kGolden = TESSAVINE_GOLDEN_DIR;

struct GoodRun {
    const char* name;
    Words arguments;
    const char* style;
    const char* warning;  // empty: none expected
};

class ConverterRun : public testing::TestWithParam<GoodRun> {};

TEST_P(ConverterRun, ReplacesTheOutputWithAFontThatPgfinfoReads) {
    ScratchFolder folder;
    std::ofstream(folder.path() / "ltn0.pgf") << "old";
    const RunOutcome run = folder.run(kConverter, GetParam().arguments);
    ASSERT_TRUE(run.succeeded) << run.err;
    EXPECT_EQ(lineCount(run.err), std::string(GetParam().warning).empty() ? 0u : 1u) << run.err;
    EXPECT_NE(run.err.find(GetParam().warning), std::string::npos) << run.err;
    // One font, so no line of which font drew what: the budget line alone.
    EXPECT_EQ(lineCount(run.out), 1u) << run.out;
    EXPECT_NE(run.out.find(" glyphs ("), std::string::npos) << run.out;
    const std::vector<std::uint8_t> bytes = pgf::readWholeFile(folder.path() / "ltn0.pgf");
    const pgf::PgfFile file = pgf::readPgf(bytes);
    pgf::expectWellFormed(file, bytes.size());
    EXPECT_EQ(file.header.fontType, GetParam().style);
    EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", "ltn0.pgf"}));

    const RunOutcome inspection =
        folder.run(kInspector, {"ltn0.pgf", "--png", "a.png", "--shadow"});
    ASSERT_TRUE(inspection.succeeded) << inspection.err;
    EXPECT_NE(inspection.out.find("glyphs "), std::string::npos);
    const std::vector<std::uint8_t> png = pgf::readWholeFile(folder.path() / "a.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, ConverterRun,
    testing::Values(
        GoodRun{
            "BoldItalic", {"Example.ttf", "ltn0.pgf", "24bih0.8", "b2.5i1.2"}, "Bold Italic", ""},
        GoodRun{"Cff", {"Example2.otf", "ltn0.pgf", "18h1", "b1i1"}, "Regular", "lacks 102 "}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

// Bad input, and crafted files that once cost seconds and gigabytes: each run must end with one
// line that says why and leave no output or temporary file.
struct Refusal {
    const char* name;
    bool inspector;  // pgfinfo, else the converter
    Words arguments;
    const char* mentions;
};

class ProgramRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ProgramRefusal, FailsWithOneLineAndLeavesNoFile) {
    ScratchFolder folder;
    std::ofstream(folder.path() / "notes.ttf") << "This is not a font.\n";
    fs::create_directory(folder.path() / "dir.ttf");
    fs::create_directory(folder.path() / "dir.pgf");
    std::ofstream(folder.path() / "latin1.txt", std::ios::binary) << "Stra\xDF"
                                                                     "e\ncaf\xE9\n";
    for (const char* name : {"pgf-bomb.pgf", "pgf-advance-overflow.pgf", "pgf-wide-canvas.pgf",
                             "giant_A_fits_underscore.ttf", "giant_outline.ttf"}) {
        fs::copy_file(kRepro / name, folder.path() / name);
    }
    const Words before = folder.names();
    const RunOutcome run =
        folder.run(GetParam().inspector ? kInspector : kConverter, GetParam().arguments);
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(lineCount(run.err), 1u) << run.err;
    EXPECT_TRUE(GetParam().inspector || run.err.starts_with("ttf2pgf: ")) << run.err;
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
    EXPECT_EQ(folder.names(), before) << "an output or temporary file was left behind";
}

// The converter's arguments, as the window passes them.
Words converting(const char* font, const char* size = "24h1", const char* output = "o.pgf") {
    return {font, output, size, "b1i1"};
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, ProgramRefusal,
    testing::Values(
        Refusal{"MissingFont", false, converting("Missing.ttf"), "does not exist"},
        Refusal{"TextFileAsFont", false, converting("notes.ttf"), "is not a font"},
        Refusal{"FolderAsFont", false, converting("dir.ttf"), "is a folder"},
        Refusal{"UnreadableSizeWord", false, converting("Example.ttf", "24x1"), "no \"h\""},
        Refusal{"FolderInTheOutputsPlace", false, converting("Example.ttf", "24h1", "dir.pgf"),
                "a folder of that name is in the way"},
        Refusal{"MissingOutputFolder", false, converting("Example.ttf", "24h1", "no/o.pgf"),
                "does not exist"},
        Refusal{"FileWhereTheSetGoes",
                false,
                {"--set", "Example.ttf", "notes.ttf", "18h1", "b1i1"},
                "a file of that name is in the way; name a folder"},
        Refusal{"NotAPgf", true, {"Example.ttf"}, "no PGF font"},
        Refusal{"CharacterListNotUtf8",
                false,
                {"Example.ttf", "o.pgf", "18h1", "b1i1", "--chars-from", "latin1.txt"},
                "is not UTF-8 at byte 4 (line 1)"},
        Refusal{"CharacterListMissing",
                false,
                {"Example.ttf", "o.pgf", "18h1", "b1i1", "--chars-from", "none.txt"},
                "is not a file"},
        Refusal{"UnknownHinting",
                false,
                {"Example.ttf", "o.pgf", "18h1", "b1i1", "--hinting", "full"},
                "--hinting takes none, light"},
        Refusal{"MoreFallbacksThanAFileNames", false,
                [] {
                    Words words{"Example.ttf", "o.pgf", "18h1", "b1i1"};
                    for (int i = 0; i < 64; ++i) {
                        words.insert(words.end(), {"--fallback", "Example2.otf"});
                    }
                    return words;
                }(),
                "at most 63 --fallback fonts"},
        Refusal{"MissingFallback",
                false,
                {"Example2.otf", "o.pgf", "18h1", "b1i1", "--fallback", "Missing.ttf"},
                "does not exist"},
        Refusal{"OverTheSmallSlotsBudget",
                false,
                {"Example.ttf", "o.pgf", "18h1", "b1i1", "--slot", "8", "--within-firmware-size"},
                "characters over the firmware's ltn8.pgf"},
        Refusal{"SetOverTheBudget",
                false,
                {"--set", "Example.ttf", "fonts", "18h1", "b1i1", "--within-firmware-size"},
                "(ltn3.pgf, Italic): the font is 11 characters over the firmware's ltn3.pgf"},
        Refusal{"SharedRecordBomb", true, {"pgf-bomb.pgf", "--png", "x.png"}, "far more pixels"},
        Refusal{"AdvancesBeyondInt",
                true,
                {"pgf-advance-overflow.pgf", "--png", "x.png"},
                "at most 16384 on a side"},
        Refusal{"HeaderCanvas",
                true,
                {"pgf-wide-canvas.pgf", "--png", "x.png"},
                "at most 16384 on a side"},
        // At 24 the old converter drew a 30,000-pixel glyph before refusing; at 100 FreeType
        // refused to draw it and the run succeeded without the letter.
        Refusal{"GiantLetterAt24", false, converting("giant_A_fits_underscore.ttf"),
                "U+0041 is 30000 pixels wide"},
        Refusal{"GiantLetterAt100", false, converting("giant_A_fits_underscore.ttf", "100h1"),
                "U+0041 is 125000 pixels wide"},
        Refusal{"GiantOutlines", false, converting("giant_outline.ttf"),
                "not even font scale 1 fits"},
        // Found from the ink, on the thread that finishes the glyphs of a large set.
        Refusal{"TallAccentInALargeSet",
                false,
                {"Example.ttf", "o.pgf", "60h1", "b1i1", "--chars", "U+0020-01FF"},
                "U+01DB reaches 64 pixels above the baseline, outside the format's -64 to 63; "
                "the largest font scale that fits is 59"}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

// Outputs where a symbolic link stands: the converter's font and pgfinfo's picture replace the
// link, and the file it led to keeps its bytes; a dangling link's target is never created.
TEST(ProgramOutputs, ALinkAtTheOutputIsReplacedAndWhatItLedToIsUntouched) {
    struct Case {
        const char* what;
        const fs::path* program;
        Words arguments;
        const char* output;
    };
    const Case cases[] = {
        {"font", &kConverter, {"Example.ttf", "ltn0.pgf", "18h1", "b1i1"}, "ltn0.pgf"},
        {"picture", &kInspector, {"made.pgf", "--png", "a.png"}, "a.png"},
    };
    for (const Case& c : cases) {
        for (const bool dangling : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (dangling ? ", dangling link" : ", link"));
            ScratchFolder folder;
            ScratchFolder elsewhere;
            ASSERT_TRUE(
                folder.run(kConverter, {"Example.ttf", "made.pgf", "18h1", "b1i1"}).succeeded);
            const fs::path target = elsewhere.path() / (dangling ? "never" : "kept.txt");
            if (!dangling) {
                std::ofstream(target) << "mine";
            }
            const auto elsewhereBefore = snapshot(elsewhere.path());
            fs::create_symlink(target, folder.path() / c.output);
            const RunOutcome run = folder.run(*c.program, c.arguments);
            ASSERT_TRUE(run.succeeded) << run.err;
            EXPECT_FALSE(fs::is_symlink(folder.path() / c.output));
            EXPECT_GT(fs::file_size(folder.path() / c.output), 8u);
            EXPECT_EQ(snapshot(elsewhere.path()), elsewhereBefore);
            EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", c.output, "made.pgf"}));
        }
    }
}

// A translation's text: a byte-order mark, CR LF, a combining mark and two characters beyond
// 16 bits, added to ASCII; the main font lacks Greek accents, the fallback has them.
TEST(ConverterCharacters, ChosenFromATextAndFilledFromAFallback) {
    ScratchFolder folder;
    std::ofstream(folder.path() / "strings.txt", std::ios::binary)
        << "\xEF\xBB\xBF\xCE\x86\xCE\xBB\xCF\x86\xCE\xB1 e\xCC\x81\r\n"
           "\xF0\x9F\x8E\xAE \xF0\x9F\x98\x80 \xE2\x86\x92\r\n";
    const RunOutcome run =
        folder.run(kConverter, {"Example2.otf", "o.pgf", "18h1", "b1i1", "--chars", "ascii",
                                "--chars-from", "strings.txt", "--fallback", "Example.ttf"});
    ASSERT_TRUE(run.succeeded) << run.err;
    // One warning: the two characters a 16-bit charmap cannot hold, with the line of the first.
    EXPECT_EQ(lineCount(run.err), 1u) << run.err;
    EXPECT_NE(run.err.find("2 characters of \"strings.txt\" lie beyond U+FFFF (the first, "
                           "U+1F3AE, on line 2)"),
              std::string::npos)
        << run.err;
    // Which font drew what, then the memory the PSP needs against ltn0's.
    EXPECT_NE(run.out.find("Example.ttf: 1 character U+0386\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("to open it the PSP needs"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("the firmware's ltn0.pgf: 16680 and 69120"), std::string::npos);

    const std::vector<std::uint8_t> bytes = pgf::readWholeFile(folder.path() / "o.pgf");
    const pgf::PgfFile file = pgf::readPgf(bytes);
    pgf::expectWellFormed(file, bytes.size());
    // A full open takes the whole file and 12 bytes.
    EXPECT_NE(run.out.find(" or " + std::to_string(bytes.size() + 12) + " (full)"),
              std::string::npos)
        << run.out;
    // ASCII, Ά λ φ α, the combining acute and the arrow; no BOM, no line ends. Only Ά is
    // beyond the main font.
    EXPECT_EQ(file.glyphs.size(), 95u + 4 + 1 + 1);
    for (const char32_t code : {U'\u0386', U'\u03BB', U'\u0301', U'\u2192'}) {
        EXPECT_TRUE(file.glyphIndexOf(code).has_value()) << static_cast<unsigned>(code);
    }
    EXPECT_FALSE(file.glyphIndexOf(0xFEFF).has_value());
    ASSERT_TRUE(file.sources.has_value());
    EXPECT_EQ(file.sources->at(1).name, "Example.ttf");

    const RunOutcome inspection = folder.run(kInspector, {"o.pgf"});
    ASSERT_TRUE(inspection.succeeded) << inspection.err;
    EXPECT_NE(inspection.out.find("drawn from"), std::string::npos) << inspection.out;
    EXPECT_NE(inspection.out.find("Example.ttf: 1 character U+0386\n"), std::string::npos);
    EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", "o.pgf", "strings.txt"}));
}

TEST(ConverterHelp, HelpAndVersionPrintAndSucceed) {
    ScratchFolder folder;
    for (const auto& [word, mentions] :
         {std::pair{"--help", "shadow intensity"}, std::pair{"--version", "ttf2pgf"}}) {
        const RunOutcome run = folder.run(kConverter, {word});
        EXPECT_TRUE(run.succeeded) << word;
        EXPECT_NE(run.out.find(mentions), std::string::npos) << run.out;
    }
    // A set's name stands apart from what it holds, however long the name.
    const std::string help = folder.run(kConverter, {"--help"}).out;
    for (const char* line :
         {"      latin-ext-a U+0100-017F\n", "      cjk-punctuation U+3000-303F\n"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

// The file as converted today, byte for byte; tools/regenerate-golden-pgf rewrites it after a
// deliberate change.
TEST(ConverterGolden, ExampleAt10BoldMatchesTheGoldenFile) {
    ScratchFolder folder;
    const RunOutcome run = folder.run(kConverter, {"Example.ttf", "o.pgf", "10bh1", "b1.5i1"});
    ASSERT_TRUE(run.succeeded) << run.err;
    const auto made = pgf::readWholeFile(folder.path() / "o.pgf");
    const auto golden = pgf::readWholeFile(kGolden / "Example-10bh1.pgf");
    ASSERT_EQ(made.size(), golden.size());
    const auto difference = std::mismatch(made.begin(), made.end(), golden.begin());
    EXPECT_TRUE(difference.first == made.end())
        << "first difference at byte " << (difference.first - made.begin());
}

#ifndef _WIN32
// Names of every length the file system takes must work; beyond, the message says "too long".
// (Windows counts its limits differently; these lengths are those of Linux and macOS.)
struct NameCase {
    const char* name;
    std::size_t nameBytes;    // the output's file name, ".pgf" included
    std::size_t folderDepth;  // folders of 200 bytes the output lies in
    bool succeeds;
};

class OutputName : public testing::TestWithParam<NameCase> {};

TEST_P(OutputName, FitsOrIsCalledTooLong) {
    ScratchFolder folder;
    std::string relative;
    for (std::size_t i = 0; i < GetParam().folderDepth; ++i) {
        relative += std::string(200, 'd') + "/";
    }
    if (!relative.empty()) {
        // Made step by step: the whole path may be beyond what one call takes.
        fs::path made = folder.path();
        for (std::size_t i = 0; i < GetParam().folderDepth && made.string().size() < 3800; ++i) {
            made /= std::string(200, 'd');
            fs::create_directory(made);
        }
    }
    const std::string name = std::string(GetParam().nameBytes - 4, 'n') + ".pgf";
    const RunOutcome run = folder.run(kConverter, {"Example.ttf", relative + name, "12h1", "b1i1"});
    EXPECT_EQ(run.succeeded, GetParam().succeeds) << run.err;
    if (GetParam().succeeds) {
        EXPECT_TRUE(fs::is_regular_file(folder.path() / name));
        EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", name}));
    } else {
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find("longer than the system allows"), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, OutputName,
                         testing::Values(NameCase{"Name230", 230, 0, true},
                                         NameCase{"Name244", 244, 0, true},
                                         NameCase{"Name255", 255, 0, true},
                                         NameCase{"Name256", 256, 0, false},
                                         NameCase{"PathBeyondTheLimit", 10, 21, false}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });
#endif

#ifdef FAILRENAME_PATH
// A rename that fails at the last step must leave the earlier output as it was.
TEST(ConverterFaults, AFailingRenameKeepsTheOldOutput) {
    ScratchFolder folder;
    std::ofstream(folder.path() / "ltn0.pgf") << "old";
    const RunOutcome run = folder.run(kConverter, {"Example.ttf", "ltn0.pgf", "12h1", "b1i1"},
                                      // A sanitizer build wants its runtime loaded first.
                                      "ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" "
                                      "LD_PRELOAD=" +
                                          quoted(FAILRENAME_PATH));
    EXPECT_FALSE(run.succeeded);
    EXPECT_NE(run.err.find("unchanged"), std::string::npos) << run.err;
    EXPECT_EQ(readText(folder.path() / "ltn0.pgf"), "old");
    EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", "ltn0.pgf"}));
}
#endif

// What killed converters left behind goes at the next run: only our own temporary files for
// this output, and only old ones, since a second converter may be writing beside us.
struct Leftover {
    const char* name;
    int ageMinutes;
    bool removed;
};

TEST(ConverterLeftovers, StaleTemporariesOfOursAreRemovedAndNothingElse) {
    const Leftover leftovers[] = {
        {"ltn0.pgf.ttf2pgf-0123456789abcdef.part", 60, true},
        {"ltn0.pgf.ttf2pgf-fedcba9876543210.part", 24 * 60, true},
        {"ltn0.pgf.ttf2pgf-00000000000000aa.part", 0, false},   // another converter, now
        {"ltn0.pgf.ttf2pgf-0123456789ABCDEF.part", 60, false},  // not a name we make
        {"ltn0.pgf.ttf2pgf-0123456789abcde.part", 60, false},   // one digit short
        {"ltn1.pgf.ttf2pgf-0123456789abcdef.part", 60, false},  // another output's
        {"ltn0.pgf.123456.part", 60, false},                    // the user's, or older ones
        {"notes.ttf2pgf-0123456789abcdef.part.txt", 60, false},
    };
    ScratchFolder folder;
    const auto now = fs::file_time_type::clock::now();
    for (const Leftover& leftover : leftovers) {
        std::ofstream(folder.path() / leftover.name) << "partial";
        fs::last_write_time(folder.path() / leftover.name,
                            now - std::chrono::minutes(leftover.ageMinutes));
    }
    const RunOutcome run = folder.run(kConverter, {"Example.ttf", "ltn0.pgf", "12h1", "b1i1"});
    ASSERT_TRUE(run.succeeded) << run.err;
    for (const Leftover& leftover : leftovers) {
        EXPECT_EQ(fs::exists(folder.path() / leftover.name), !leftover.removed) << leftover.name;
    }
}

// An output name too long to take the tag whole is shortened for its temporary name, never inside
// a character: 80 three-byte characters and ".pgf" (244 bytes) keep the first 71 characters, not
// 71 and a third, so a killed converter's leftover is known again and removed by the next run.
TEST(ConverterLeftovers, ALongNameIsShortenedBetweenCharacters) {
    std::string output;
    for (int i = 0; i < 80; ++i) {
        output += "\u3042";  // HIRAGANA LETTER A, E3 81 82
    }
    output += ".pgf";
    ASSERT_EQ(output.size(), 244u);
    const std::string stem = output.substr(0, 71 * 3);
    const std::string leftover = stem + ".ttf2pgf-0123456789abcdef.part";
    ScratchFolder folder;
    std::ofstream(folder.path() / leftover) << "partial";
    fs::last_write_time(folder.path() / leftover,
                        fs::file_time_type::clock::now() - std::chrono::minutes(60));
    const RunOutcome run = folder.run(kConverter, {"Example.ttf", output, "12h1", "b1i1"});
    ASSERT_TRUE(run.succeeded) << run.err;
    EXPECT_EQ(folder.names(), (Words{"Example.ttf", "Example2.otf", output}));
}

// The whole set as a user makes it, and pgfinfo comparing files with the slots they replace.
TEST(ConverterSet, MakesSixteenFilesThatPgfinfoMatchesToTheirSlots) {
    ScratchFolder folder;
    const RunOutcome run =
        folder.run(kConverter, {"--set", "Example.ttf", "psp", "18h1.0", "b2.5i1.2"});
    ASSERT_TRUE(run.succeeded) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(names(folder.path() / "psp").size(), 16u);  // which ones: FontSet's own test
    // What each slot's file needs against its firmware font, a line each, in slot order.
    std::istringstream lines(run.out);
    int slot = 0;
    for (std::string line; std::getline(lines, line); ++slot) {
        EXPECT_EQ(line.rfind("ltn" + std::to_string(slot) + ".pgf: ", 0), 0u) << line;
        EXPECT_NE(line.find(" glyphs ("), std::string::npos) << line;
    }
    EXPECT_EQ(slot, 16) << run.out;

    const std::pair<const char*, std::vector<const char*>> reports[] = {
        {"psp/ltn8.pgf",
         {"size             448 (7.00)", "ltn8.pgf and ltn9.pgf (sans, serif: small Regular",
          "ascender             576 (9.00 px, 0.723 em)        576 (9.00 px, 0.723 em)",
          "vertical advance     730 (11.41 px"}},
        {"psp/ltn6.pgf",
         {"style            Bold Italic", "ascender         863 (13.48), descender -196 (-3.06)",
          "max advance      ", "x 1094 (17.09)", "of 16792 (", "bytes of ltn6's budget"}}};
    for (const auto& [file, mentions] : reports) {
        const RunOutcome report = folder.run(kInspector, {file});
        ASSERT_TRUE(report.succeeded) << report.err;
        for (const char* mention : mentions) {
            EXPECT_NE(report.out.find(mention), std::string::npos) << mention << "\n" << report.out;
        }
        EXPECT_EQ(report.out.find("OVER"), std::string::npos) << report.out;
    }
}

}  // namespace
}  // namespace tessavine::converter
