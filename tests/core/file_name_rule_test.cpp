// Names from outside (a dropped font's, a backup's) stay names: none reaches another folder, and
// on POSIX a backslash is an ordinary character that a path keeps as it is.
#include "core/file_name_rule.h"
#include "core/dropped_font.h"
#include "core/paths.h"
#include "core/shown_text.h"
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

// Names read back from our own notes, which may come from any computer, and how a message quotes
// text from such a note: the same on both platforms.
TEST(FileNameRule, NotesNameOneFileOnEveryPlatformAndAreQuotedWithoutControlCharacters) {
    const std::pair<std::string, bool> names[] = {
        {".ltn0.pgf.tessavine.12-ab.tmp", true},
        {"ltn15.pgf", true},
        {"a\\..\\..\\victim.txt", false},
        {"Z:\\x.txt", false},
        {"C:x", false},
        {"a/b", false},
        {"..", false},
        {"ltn0.pgf\x1b[2J", false},
        {"ltn0\r.pgf", false},
        {"", false},
    };
    for (const auto& [name, passes] : names) {
        EXPECT_EQ(isPlainOnEveryPlatform(name), passes) << name;
    }
    // text, at most bytes, as quoted
    const std::tuple<std::string, std::size_t, std::string> quoted[] = {
        {"host one", 80, "host one"},
        {"a\x1b]0;x\a\rprocess 1\n", 80, "a\\x1b]0;x\\x07\\rprocess 1\\n"},
        {"c:\\x", 80, "c:\\x"},
        {"\xc2\x9b"
         "31m",
         80, "\\u009b31m"},
        {"\xc3\xa9t\xc3\xa9", 80, "\xc3\xa9t\xc3\xa9"},
        {std::string(500, 'x'), 10, std::string(10, 'x') + "..."},
    };
    for (const auto& [text, most, shown] : quoted) {
        EXPECT_EQ(shownText(text, most), shown);
    }
}

// A dropped font keeps its own name in the program folder only when every platform reads that
// name as one file: "a\\b.ttf" would be copied on Linux and then never found by the converter,
// which reads its command line as Windows paths too.
TEST(FileNameRule, ADroppedFontWhoseNameIsNoPlainNameEverywhereIsRefusedAndNotCopied) {
    // the name, whether it is adopted
    const std::pair<std::string, bool> cases[] = {{"Plain Font.ttf", true},
                                                  {"a\\b.ttf", false},
                                                  {"c:b.ttf", false},
                                                  {"tab\tname.ttf", false}};
    for (const auto& [fileName, adopted] : cases) {
        SCOPED_TRACE(fileName);
        TempFolder program;
        TempFolder elsewhere;
        const fs::path source = elsewhere.path / "font.ttf";
        writeBytes(source, "font bytes");
        StdFileSystem files;
        ScriptedPrompts prompts;
        const std::optional<std::string> name =
            adoptDroppedFont(files, prompts, program.text(), {{source.string(), fileName}});
        EXPECT_EQ(name.has_value(), adopted);
        EXPECT_EQ(listing(program.path), adopted ? fileName : "");
        EXPECT_EQ(prompts.messages.size(), adopted ? 0u : 1u);
        if (!adopted && !prompts.messages.empty()) {
            EXPECT_NE(prompts.messages[0].find("cannot be a file name in the program folder"),
                      std::string::npos);
            EXPECT_EQ(prompts.messages[0].find('\t'), std::string::npos);
        }
    }
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
