// The real ttf2pgf.exe and pgfinfo, run in a scratch folder as the window runs the converter.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "converter/pgf/pgf_reader.h"
#include "pgf_invariants.h"
#include "shell_run.h"

namespace tessavine::testing_support {
namespace {

namespace fs = std::filesystem;

const fs::path kConverter = TTF2PGF_PATH;
const fs::path kInspector = PGFINFO_PATH;
const fs::path kFonts = TESSAVINE_FONTS_DIR;

void copyFonts(const fs::path& folder) {
    fs::copy_file(kFonts / "Example.ttf", folder / "Example.ttf");
    fs::copy_file(kFonts / "Example2.otf", folder / "Example2.otf");
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

struct GoodRun {
    const char* name;
    const char* font;
    const char* sizeWord;
    const char* warning;  // empty: none expected
};

class ConverterRun : public testing::TestWithParam<GoodRun> {};

TEST_P(ConverterRun, WritesAFontThatReadsBack) {
    ScratchFolder folder;
    copyFonts(folder.path());
    const RunOutcome run = runInFolder(
        folder.path(), kConverter, {GetParam().font, "ltn0.pgf", GetParam().sizeWord, "b2.5i1.2"});
    ASSERT_TRUE(run.succeeded) << run.err;
    if (std::string(GetParam().warning).empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find(GetParam().warning), std::string::npos) << run.err;
    }
    const std::vector<std::uint8_t> bytes = pgf::readWholeFile(folder.path() / "ltn0.pgf");
    pgf::expectWellFormed(pgf::readPgf(bytes), bytes.size());
    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"Example.ttf", "Example2.otf", "ltn0.pgf"}));

    const RunOutcome inspection =
        runInFolder(folder.path(), kInspector, {"ltn0.pgf", "--png", "specimen.png", "--shadow"});
    ASSERT_TRUE(inspection.succeeded) << inspection.err;
    EXPECT_NE(inspection.out.find("glyphs "), std::string::npos);
    const std::vector<std::uint8_t> png = pgf::readWholeFile(folder.path() / "specimen.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
}

INSTANTIATE_TEST_SUITE_P(
    FourForms, ConverterRun,
    testing::Values(GoodRun{"Plain", "Example.ttf", "24h0.8", ""},
                    GoodRun{"Bold", "Example.ttf", "24bh0.8", ""},
                    GoodRun{"Italic", "Example.ttf", "24ih0.8", ""},
                    GoodRun{"BoldItalic", "Example.ttf", "24bih0.8", ""},
                    GoodRun{"CffPlain", "Example2.otf", "24h0.8", "lacks 102 "},
                    GoodRun{"CffBoldItalic", "Example2.otf", "24bih0.8", "lacks 102 "}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

struct BadRun {
    const char* name;
    std::function<void(const fs::path&)> prepare;
    std::vector<std::string> arguments;
    const char* mentions;
};

class ConverterRefusal : public testing::TestWithParam<BadRun> {};

TEST_P(ConverterRefusal, FailsWithOneLineAndLeavesNoFile) {
    ScratchFolder folder;
    copyFonts(folder.path());
    GetParam().prepare(folder.path());
    const std::vector<std::string> before = namesIn(folder.path());

    const RunOutcome run = runInFolder(folder.path(), kConverter, GetParam().arguments);
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(lineCount(run.err), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("ttf2pgf: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
    EXPECT_EQ(namesIn(folder.path()), before) << "an output or temporary file was left behind";
}

void nothing(const fs::path&) {}

INSTANTIATE_TEST_SUITE_P(
    BadInput, ConverterRefusal,
    testing::Values(
        BadRun{"MissingFont",
               nothing,
               {"Missing.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"},
               "does not exist"},
        BadRun{"TextFileAsFont",
               [](const fs::path& folder) {
                   std::ofstream(folder / "notes.ttf") << "This is not a font.\n";
               },
               {"notes.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"},
               "is not a font"},
        BadRun{"FolderAsFont",
               [](const fs::path& folder) { fs::create_directory(folder / "fonts.ttf"); },
               {"fonts.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"},
               "is a folder"},
        BadRun{"ScaleTooLarge",
               nothing,
               {"Example.ttf", "ltn0.pgf", "200h0.8", "b2.5i1.2"},
               "the largest font scale that fits is "},
        BadRun{"UnreadableSizeWord",
               nothing,
               {"Example.ttf", "ltn0.pgf", "24x0.8", "b2.5i1.2"},
               "no \"h\""},
        BadRun{"UnreadableShadowWord",
               nothing,
               {"Example.ttf", "ltn0.pgf", "24h0.8", "2.5"},
               "shadow word"},
        BadRun{"TooFewWords", nothing, {"Example.ttf", "ltn0.pgf"}, "expected 4 words"},
        BadRun{"FolderWhereTheOutputGoes",
               [](const fs::path& folder) { fs::create_directory(folder / "ltn0.pgf"); },
               {"Example.ttf", "ltn0.pgf", "24h0.8", "b2.5i1.2"},
               "a folder of that name is in the way"},
        BadRun{"MissingOutputFolder",
               nothing,
               {"Example.ttf", "missing/ltn0.pgf", "24h0.8", "b2.5i1.2"},
               "does not exist"}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(ConverterOutput, ReplacesAnEarlierFileWhole) {
    ScratchFolder folder;
    copyFonts(folder.path());
    std::ofstream(folder.path() / "ltn0.pgf") << "old";
    const RunOutcome run =
        runInFolder(folder.path(), kConverter, {"Example.ttf", "ltn0.pgf", "18h1", "b1i1"});
    ASSERT_TRUE(run.succeeded) << run.err;
    const std::vector<std::uint8_t> bytes = pgf::readWholeFile(folder.path() / "ltn0.pgf");
    EXPECT_EQ(pgf::readPgf(bytes).header.hSize, 648);
}

TEST(ConverterOutput, HelpAndVersionPrintAndSucceed) {
    ScratchFolder folder;
    const RunOutcome help = runInFolder(folder.path(), kConverter, {"--help"});
    EXPECT_TRUE(help.succeeded);
    EXPECT_NE(help.out.find("shadow intensity"), std::string::npos);
    const RunOutcome version = runInFolder(folder.path(), kConverter, {"--version"});
    EXPECT_TRUE(version.succeeded);
    EXPECT_NE(version.out.find("ttf2pgf"), std::string::npos);
}

TEST(Inspector, RefusesAFileThatIsNoPgf) {
    ScratchFolder folder;
    copyFonts(folder.path());
    const RunOutcome run = runInFolder(folder.path(), kInspector, {"Example.ttf"});
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(lineCount(run.err), 1u) << run.err;
    EXPECT_NE(run.err.find("no PGF font"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tessavine::testing_support
