#include "core/std_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/paths.h"
#include "temp_folder.h"
#include "undeletable.h"

namespace fs = std::filesystem;

namespace tessavine {
namespace {

using testing_support::listing;
using testing_support::makeDeletable;
using testing_support::makeUndeletable;
using testing_support::readBytes;
using testing_support::TempFolder;
using testing_support::writeBytes;

class StdFileSystemTest : public testing::Test {
  protected:
    TempFolder folder;
    StdFileSystem files;
};

TEST_F(StdFileSystemTest, TellsFilesFromFoldersAndNeverFailsOnMissingRoots) {
    writeBytes(folder.path() / "a.pgf", "x");
    fs::create_directory(folder.path() / "sub");
    EXPECT_TRUE(files.fileExists(folder.text("a.pgf")));
    EXPECT_FALSE(files.fileExists(folder.text("sub")));
    EXPECT_FALSE(files.fileExists(folder.text("none")));
    EXPECT_TRUE(files.folderExists(folder.text("sub")));
    EXPECT_TRUE(files.folderExists(folder.text("sub") + "/"));
    EXPECT_FALSE(files.folderExists(folder.text("a.pgf")));
    EXPECT_FALSE(files.folderExists(folder.text("none/deeper/still")));
    EXPECT_FALSE(files.folderExists("q:\\PSP\\GAME"));
    EXPECT_FALSE(files.folderExists(""));
}

TEST_F(StdFileSystemTest, HandlesNamesOutsideAscii) {
    const std::string name = "Schrift \xC3\xA9\xE2\x82\xAC.ttf";  // "Schrift é€.ttf"
    ASSERT_EQ(files.writeFileReplacing(folder.text(name), "data"), "");
    EXPECT_TRUE(files.fileExists(folder.text(name)));
    EXPECT_EQ(files.findFirstFile(folder.text("Schrift ??.ttf")), name);
    EXPECT_EQ(files.copyFileSafely(folder.text(name), folder.text("\xC5\x92.pgf")), "");
    EXPECT_EQ(readBytes(folder.path() / fs::path(u8"\u0152.pgf")), "data");
}

struct SearchCase {
    std::string pattern;
    std::string found;  // empty: nothing
};

#ifdef _WIN32
const SearchCase kOtherCase{"example.TTF", "Example.ttf"};
#else
const SearchCase kOtherCase{"example.TTF", ""};
#endif

class DirectorySearch : public StdFileSystemTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(DirectorySearch, FindsOnlyOrdinaryVisibleFiles) {
    writeBytes(folder.path() / "Example.ttf", "f");
    writeBytes(folder.path() / ".hidden.ttf", "h");
    writeBytes(folder.path() / "ttf2pgf.exe", "c");
    fs::create_directory(folder.path() / "folder.ttf");
    fs::create_directory(folder.path() / "fonts");
    writeBytes(folder.path() / "fonts" / "Inner.otf", "i");
    const auto found = files.findFirstFile(joinPath(folder.text(), GetParam().pattern));
    EXPECT_EQ(found.value_or(""), GetParam().found) << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DirectorySearch,
    testing::Values(SearchCase{"Example.ttf", "Example.ttf"},
                    SearchCase{"ttf2pgf.exe", "ttf2pgf.exe"},
                    SearchCase{"Exam*.ttf", "Example.ttf"},
                    SearchCase{"Exampl?.ttf", "Example.ttf"}, SearchCase{"*.exe", "ttf2pgf.exe"},
                    SearchCase{"E*e*.t?f", "Example.ttf"}, SearchCase{"Example.tt", ""},
                    SearchCase{"Example.ttf?", ""}, SearchCase{"?Example.ttf", ""},
                    SearchCase{".hidden.ttf", ""}, SearchCase{"*.hidden.ttf", ""},
                    SearchCase{"folder.ttf", ""}, SearchCase{"fonts", ""}, SearchCase{"", ""},
                    SearchCase{"fonts/Inner.otf", "Inner.otf"},
                    SearchCase{"fonts\\Inner.otf", "Inner.otf"},
                    SearchCase{"missing/Inner.otf", ""}, kOtherCase));

TEST_F(StdFileSystemTest, DeletesFilesButNotFolders) {
    writeBytes(folder.path() / "ltn3.pgf", "x");
    EXPECT_EQ(files.deleteFile(folder.text("ltn3.pgf")), "");
    EXPECT_FALSE(fs::exists(folder.path() / "ltn3.pgf"));

    fs::create_directory(folder.path() / "ltn4.pgf");
    const std::string error = files.deleteFile(folder.text("ltn4.pgf"));
    EXPECT_NE(error.find(folder.text("ltn4.pgf")), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folder.path() / "ltn4.pgf"));
}

TEST_F(StdFileSystemTest, CreatesOneFolderWhoseParentExists) {
    EXPECT_EQ(files.createFolder(folder.text("font")), "");
    EXPECT_TRUE(fs::is_directory(folder.path() / "font"));
    EXPECT_EQ(files.createFolder(folder.text("font")), "");  // already there: nothing to do

    const std::string error = files.createFolder(folder.text("no/font"));
    EXPECT_NE(error.find(folder.text("no/font")), std::string::npos) << error;
    writeBytes(folder.path() / "file", "x");
    EXPECT_NE(files.createFolder(folder.text("file")), "");
}

TEST_F(StdFileSystemTest, CopiesReplaceTheDestination) {
    writeBytes(folder.path() / "ltn0.pgf", "new");
    writeBytes(folder.path() / "ltn1.pgf", "old and longer");
    writeBytes(folder.path() / "ltn2.pgf", "old and longer");
    EXPECT_EQ(files.copyFile(folder.text("ltn0.pgf"), folder.text("ltn1.pgf")), "");
    EXPECT_EQ(files.copyFileSafely(folder.text("ltn0.pgf"), folder.text("ltn2.pgf")), "");
    EXPECT_EQ(readBytes(folder.path() / "ltn1.pgf"), "new");
    EXPECT_EQ(readBytes(folder.path() / "ltn2.pgf"), "new");
    EXPECT_EQ(listing(folder.path()), "ltn0.pgf ltn1.pgf ltn2.pgf");
}

struct CopyFailure {
    std::string name;
    bool safely;
};

class FailedCopy : public StdFileSystemTest, public testing::WithParamInterface<CopyFailure> {};

TEST_P(FailedCopy, NamesThePathAndLeavesNoTemporaryFile) {
    writeBytes(folder.path() / "ltn0.pgf", "font");
    fs::create_directory(folder.path() / "ltn5.pgf");  // a folder stands where the copy must go
    writeBytes(folder.path() / "ltn5.pgf" / "keep", "k");
    const std::string source =
        folder.text(GetParam().name == "missing" ? "nothing.pgf" : "ltn0.pgf");
    const std::string destination = folder.text("ltn5.pgf");
    const std::string error = GetParam().safely ? files.copyFileSafely(source, destination)
                                                : files.copyFile(source, destination);
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(destination), std::string::npos) << error;
    EXPECT_EQ(listing(folder.path()), "ltn0.pgf ltn5.pgf");
    EXPECT_EQ(listing(folder.path() / "ltn5.pgf"), "keep");
}

INSTANTIATE_TEST_SUITE_P(Ways, FailedCopy,
                         testing::Values(CopyFailure{"folder", false}, CopyFailure{"folder", true},
                                         CopyFailure{"missing", false},
                                         CopyFailure{"missing", true}));

TEST_F(StdFileSystemTest, AReplacementThatFailsAtTheRenameLeavesNoTemporaryFile) {
    writeBytes(folder.path() / "ltn0.pgf", "new");
    writeBytes(folder.path() / "ltn1.pgf", "old");
    if (!makeUndeletable(folder.path() / "ltn1.pgf")) {
        GTEST_SKIP() << "this system cannot make a file unreplaceable for the test";
    }
    const std::string copyError =
        files.copyFileSafely(folder.text("ltn0.pgf"), folder.text("ltn1.pgf"));
    const std::string writeError = files.writeFileReplacing(folder.text("ltn1.pgf"), "bytes");
    makeDeletable(folder.path() / "ltn1.pgf");
    EXPECT_NE(copyError.find(folder.text("ltn1.pgf")), std::string::npos) << copyError;
    EXPECT_NE(writeError.find(folder.text("ltn1.pgf")), std::string::npos) << writeError;
    EXPECT_EQ(readBytes(folder.path() / "ltn1.pgf"), "old");
    EXPECT_EQ(listing(folder.path()), "ltn0.pgf ltn1.pgf");
}

TEST_F(StdFileSystemTest, SafeCopyIntoAMissingFolderFails) {
    writeBytes(folder.path() / "ltn0.pgf", "font");
    const std::string error =
        files.copyFileSafely(folder.text("ltn0.pgf"), folder.text("gone/ltn0.pgf"));
    EXPECT_NE(error.find("gone"), std::string::npos) << error;
}

TEST_F(StdFileSystemTest, WritesAndReadsWholeFiles) {
    std::string error = "stale";
    EXPECT_EQ(files.readFile(folder.text("settings.bin"), error), std::nullopt);
    EXPECT_EQ(error, "");  // missing is no error
    EXPECT_FALSE(fs::exists(folder.path() / "settings.bin"));

    const std::string bytes("\x00\x01\xFFzz", 5);
    writeBytes(folder.path() / "settings.bin", std::string(200, 'x'));
    ASSERT_EQ(files.writeFileReplacing(folder.text("settings.bin"), bytes), "");
    EXPECT_EQ(files.readFile(folder.text("settings.bin"), error), bytes);
    EXPECT_EQ(error, "");
    EXPECT_EQ(listing(folder.path()), "settings.bin");
}

TEST_F(StdFileSystemTest, ReadingAFolderIsAnError) {
    fs::create_directory(folder.path() / "settings.bin");
    std::string error;
    EXPECT_EQ(files.readFile(folder.text("settings.bin"), error), std::nullopt);
    EXPECT_NE(error.find(folder.text("settings.bin")), std::string::npos) << error;
}

TEST_F(StdFileSystemTest, WriteFailuresLeaveNothingBehind) {
    fs::create_directory(folder.path() / "settings.bin");
    std::string error = files.writeFileReplacing(folder.text("settings.bin"), "data");
    EXPECT_NE(error.find(folder.text("settings.bin")), std::string::npos) << error;
    EXPECT_EQ(listing(folder.path()), "settings.bin");
    EXPECT_TRUE(fs::is_directory(folder.path() / "settings.bin"));

    error = files.writeFileReplacing(folder.text("gone/settings.bin"), "data");
    EXPECT_NE(error.find("gone"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));
}

}  // namespace
}  // namespace tessavine
