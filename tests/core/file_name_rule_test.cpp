// Names from outside (a dropped font's, a backup's) stay names: none reaches another folder, and
// on POSIX a backslash is an ordinary character that a path keeps as it is.
#include "core/file_name_rule.h"
#include "core/paths.h"
#include "support.h"

namespace tessavine {
namespace {

using namespace testing_support;

TEST(FileNameRule, OnlyNamesOfOneFileInOneFolderPass) {
    // the name, whether it passes here
    const std::pair<std::string, bool> cases[] = {
        {"Example.ttf", true},
        {"My Font (1).otf", true},
        {".hidden.ttf", true},
        {"..ttf", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../victim.ttf", false},
        {"fonts/victim.ttf", false},
        {"/etc/victim.ttf", false},
        {std::string("a\0b.ttf", 7), false},
#ifdef _WIN32
        {"..\\..\\victim.ttf", false},
        {"C:victim.ttf", false},
#else
        {"..\\..\\victim.ttf", true},
        {"C:victim.ttf", true},
#endif
    };
    for (const auto& [name, passes] : cases) {
        EXPECT_EQ(isPlainFileName(name), passes) << name;
    }
    // A name joins its folder with one separator, whether the folder ends in one or not.
    const std::string separator(1, kPathSeparator);
    EXPECT_EQ(pathOfNameIn("fonts", "a.ttf"), "fonts" + separator + "a.ttf");
    EXPECT_EQ(pathOfNameIn("fonts" + separator, "a.ttf"), "fonts" + separator + "a.ttf");
}

#ifndef _WIN32
// The name of a dropped file crafted to escape, written through the path it gets, lands in the
// folder as one file of that very name and nowhere else.
TEST(FileNameRule, ABackslashNameIsWrittenInsideTheFolderUnderItsOwnName) {
    TempFolder top;
    fs::create_directories(top.path / "a" / "program");
    const std::string name = "..\\..\\victim.ttf";
    ASSERT_TRUE(isPlainFileName(name));
    StdFileSystem files;
    ASSERT_EQ(files.createNewFile(pathOfNameIn(top.text("a/program"), name), "font"), "");
    EXPECT_EQ(listing(top.path / "a" / "program"), name);
    EXPECT_EQ(listing(top.path), "a");
    EXPECT_EQ(listing(top.path / "a"), "program");
}
#endif

}  // namespace
}  // namespace tessavine
