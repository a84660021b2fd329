// tessavine-copy run as a program from a program folder, and tessavine-restore beside it putting
// back what it replaced.
#include <cstdlib>

#include "copy_scene.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace tessavine {
namespace {

using namespace testing_support;
using testing::Not;

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
};

// The device scan's roots for the programs this test starts, as the window takes them.
void setDeviceRoots(const std::string& roots) {
#ifdef _WIN32
    _putenv_s("TESSAVINE_DEVICE_ROOTS", roots.c_str());
#else
    setenv("TESSAVINE_DEVICE_ROOTS", roots.c_str(), 1);
#endif
}

// Runs a program of the program folder through the command shell, `typed` on its input (nothing
// typed: the input's end at once, never the test's own console); arguments hold no double
// quotes.
ProgramRun runProgram(const fs::path& program, const std::vector<std::string>& arguments,
                      const std::string& typed = {}) {
    const fs::path in = program.parent_path() / "in.txt";
    const fs::path out = program.parent_path() / "out.txt";
    const fs::path err = program.parent_path() / "err.txt";
    writeBytes(in, typed);
    std::string command = "\"" + program.string() + "\"";
    for (const std::string& argument : arguments) {
        command += " \"" + argument + "\"";
    }
    command += " <\"" + in.string() + "\" >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd /c takes off one pair of quotes around the line
#endif
    const int status = std::system(command.c_str());
    ProgramRun run;
#ifdef _WIN32
    run.exitCode = status;
#else
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.out = readBytes(out);
    run.err = readBytes(err);
    fs::remove(in);
    fs::remove(out);
    fs::remove(err);
    return run;
}

struct ProgramScene : CopyScene {
    ProgramScene() {
        fs::copy_file(TESSAVINE_COPY, program.path / TESSAVINE_COPY_NAME);
        fs::copy_file(TESSAVINE_RESTORE, program.path / TESSAVINE_RESTORE_NAME);
        setDeviceRoots(work.text("no such drive") + kListSeparator + stick.text());
    }
    ProgramRun copy(const std::vector<std::string>& arguments,
                    const std::string& typed = {}) const {
        return runProgram(program.path / TESSAVINE_COPY_NAME, arguments, typed);
    }
    ProgramRun restore(const std::vector<std::string>& arguments) const {
        return runProgram(program.path / TESSAVINE_RESTORE_NAME, arguments);
    }
#ifdef _WIN32
    static constexpr char kListSeparator = ';';
#else
    static constexpr char kListSeparator = ':';
#endif
};

// jpn0.pgf alone, a --set folder, and both into a folder named: each copy replaces what it
// names, backs up exactly the fonts it replaced, and restoring that backup gives the PSP back
// byte for byte, the slots the copy filled emptied again.
TEST(CopyProgram, CopiesOntoTheFakePspAndTheRestoreGivesItBackByteForByte) {
    struct Case {
        std::string name;
        std::vector<std::string> arguments;  // "{work}" and "{fonts}" stand for the folders
        std::string fontsAfter;              // the PSP's font folder after the copy
        std::vector<std::string> changed;    // the fonts that now hold ours
        std::string backedUp;                // the backup's listing
        std::string says;                    // words of the output
        bool pspHasJpn0 = true;              // false: the copy fills jpn0's slot
    };
    const Case cases[] = {
        {"jpn0.pgf onto the PSP found",
         {"{work}/jpn0.pgf"},
         "jpn0.pgf ltn0.pgf ltn3.pgf",
         {"jpn0.pgf"},
         "backup-info.txt jpn0.pgf",
         "1 font copied to {fonts}."},
        {"a --set folder onto the PSP found",
         {"{work}/set"},
         "jpn0.pgf ltn0.pgf ltn1.pgf ltn3.pgf",
         {"ltn0.pgf", "ltn1.pgf", "ltn3.pgf"},
         "backup-info.txt ltn0.pgf ltn3.pgf",
         "3 fonts copied to {fonts}."},
        {"both into the font folder named",
         {"--to", "{fonts}", "{work}/set", "{work}/jpn0.pgf"},
         "jpn0.pgf ltn0.pgf ltn1.pgf ltn3.pgf",
         {"jpn0.pgf", "ltn0.pgf", "ltn1.pgf", "ltn3.pgf"},
         "backup-info.txt jpn0.pgf ltn0.pgf ltn3.pgf",
         "4 fonts copied to {fonts}."},
        {"jpn0.pgf into an empty slot, the restore taking it out again",
         {"{work}/jpn0.pgf", "{work}/set"},
         "jpn0.pgf ltn0.pgf ltn1.pgf ltn3.pgf",
         {"jpn0.pgf", "ltn0.pgf", "ltn1.pgf", "ltn3.pgf"},
         "backup-info.txt ltn0.pgf ltn3.pgf",
         "4 fonts copied to {fonts}.",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramScene s;
        const auto filled = [&s](std::string text) {
            for (const auto& [mark, folder] :
                 {std::pair{std::string("{work}/"), s.work.text() + "/"},
                  std::pair{std::string("{fonts}"), platform::utf8FromPath(s.fonts())}}) {
                for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
                    text.replace(at, mark.size(), folder);
                }
            }
            return platform::utf8FromPath(platform::pathFromUtf8(text).make_preferred());
        };
        if (!c.pspHasJpn0) {
            fs::remove(s.fonts() / "jpn0.pgf");
        }
        std::vector<std::string> arguments;
        for (const std::string& argument : c.arguments) {
            arguments.push_back(filled(argument));
        }
        const std::string stickBefore = treeSums(s.stick.path);
        const std::string workBefore = treeSums(s.work.path);

        const ProgramRun run = s.copy(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_THAT(run.out, HasSubstr(filled(c.says)));
        EXPECT_EQ(listing(s.fonts()), c.fontsAfter);  // no temporary file, lock or journal
        for (const std::string& font : c.changed) {
            const fs::path source =
                font == "jpn0.pgf" ? s.work.path / font : s.work.path / "set" / font;
            EXPECT_EQ(readBytes(s.fonts() / font), readBytes(source)) << font;
        }
        EXPECT_EQ(treeSums(s.work.path), workBefore);  // the sources are left as they were
        ASSERT_EQ(s.backups().size(), 1u);
        const fs::path backup = s.backups()[0];
        EXPECT_EQ(listing(backup), c.backedUp);
        EXPECT_EQ(listing(s.program.path),
                  std::string("backup ") + TESSAVINE_COPY_NAME + " " + TESSAVINE_RESTORE_NAME);
        EXPECT_THAT(run.out, HasSubstr("backed up in " + platform::utf8FromPath(backup) + "."));
        EXPECT_THAT(run.out, HasSubstr("tessavine-restore \"" + platform::utf8FromPath(backup)));
        EXPECT_EQ(c.arguments[0] == "--to",
                  run.out.find("Memory Stick of the PSP found at") == std::string::npos);

        const ProgramRun restored = s.restore({platform::utf8FromPath(backup)});
        ASSERT_EQ(restored.exitCode, 0) << restored.err;
        EXPECT_EQ(restored.err, "");
        EXPECT_EQ(treeSums(s.stick.path), stickBefore);
        // What the restore replaced is a backup of its own: the two backups, nothing else.
        EXPECT_EQ(s.backups().size(), 2u);
    }
}

// A PSP seen as FLASH0 (its "kd" folder) or a Memory Stick without a font folder yet: the folder
// is made; with nothing replaced the backup holds only its note, which lists the font added so
// that a restore can take it away again.
TEST(CopyProgram, FindsFlashZeroAndMakesAMissingFontFolderWithANoteOfTheFontAdded) {
    const std::pair<std::string, std::string> kinds[] = {{"kd", "FLASH0 of the PSP found at"},
                                                         {"PSP/GAME", "Memory Stick of the PSP"}};
    for (const auto& [mark, says] : kinds) {
        SCOPED_TRACE(mark);
        ProgramScene s;
        fs::remove_all(s.stick.path / "PSP");
        fs::remove_all(s.fonts());
        fs::create_directories(s.stick.path / mark);
        const ProgramRun run = s.copy({s.work.text("jpn0.pgf")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_THAT(run.out, HasSubstr(says));
        EXPECT_THAT(run.out, HasSubstr("Nothing there was replaced, so no backup was needed."));
        EXPECT_THAT(run.out, Not(HasSubstr("tessavine-restore")));
        EXPECT_EQ(listing(s.fonts()), "jpn0.pgf");
        EXPECT_EQ(readBytes(s.fonts() / "jpn0.pgf"), letteredPgf("our jpn0", 2000));
        ASSERT_EQ(s.backups().size(), 1u);
        EXPECT_EQ(listing(s.backups()[0]), "backup-info.txt");
        EXPECT_THAT(readBytes(s.backups()[0] / "backup-info.txt"),
                    HasSubstr("Added by the copy:  jpn0.pgf\n"));
    }
}

// A font that lacks basic letters: the window's warning, word for word, then its question, before
// anything changes. No, or no answer at all (the input ends, as for a script), leaves every folder
// as it was, the PSP's without even a font folder made; y, "YES" or --yes copies it whole with
// its backup. A jpn0.pgf with every basic letter and nothing Japanese goes without a question:
// it is held to the basic letters, not to the thousands of kanji it leaves to the firmware.
TEST(CopyProgram, MissingLettersAreWarnedOfAndTheCopyWaitsForYes) {
    const std::string warningA =
        "Warning: The font made lacks 2 of the 95 basic characters (letters, digits, punctuation "
        "and the space): A b.\n\nThe PSP will show \"_\" in their place wherever they appear, in "
        "games and in its own menus. Answer No to the next question to keep the fonts the PSP has "
        "now.\n\n";
    const std::string warningSpace =
        "The font made lacks 1 of the 95 basic characters (letters, "
        "digits, punctuation and the space): space.";
    struct Case {
        std::string name;
        std::u16string jpn0Lacks, ltn1Lacks;
        bool set, to, yesFlag;  // also the --set folder; into {fonts} by --to; --yes
        std::string typed;
        bool copied;
        std::vector<std::string> says;  // in this order; "{q}" is the question
    };
    const Case cases[] = {
        {"No typed",
         u"Ab",
         u"",
         false,
         false,
         false,
         "n\n",
         false,
         {"Memory Stick of the PSP found at", warningA, "{q}? [y/N] ",
          "Nothing was copied to the PSP.\n"}},
        {"no answer: the input ends",
         u"Ab",
         u"",
         false,
         false,
         false,
         "",
         false,
         {warningA, "{q}? [y/N] \nNothing was copied to the PSP.\n"}},
        {"something else typed",
         u"Ab",
         u"",
         false,
         false,
         false,
         "ok\n",
         false,
         {warningA, "{q}? [y/N] Nothing was copied to the PSP.\n"}},
        {"y typed",
         u"Ab",
         u"",
         false,
         false,
         false,
         "y\n",
         true,
         {warningA, "{q}? [y/N] 1 font copied to"}},
        {"YES typed with a Windows line end",
         u"Ab",
         u"",
         false,
         false,
         false,
         "YES\r\n",
         true,
         {warningA, "{q}? [y/N] 1 font copied to"}},
        {"--yes: warned, not asked",
         u"Ab",
         u"",
         false,
         false,
         true,
         "",
         true,
         {warningA, "{q}? Yes (--yes).\n1 font copied to"}},
        {"a set and jpn0 into a folder named, each warning naming its font",
         u"Ab",
         u" ",
         true,
         true,
         false,
         "y\n",
         true,
         {"Warning: jpn0.pgf: The font made lacks 2 of the 95",
          "Warning: ltn1.pgf: " + warningSpace, "{q}? [y/N] 4 fonts copied to"}},
        {"a set and jpn0, one font lacking, No",
         u"",
         u" ",
         true,
         true,
         false,
         "no\n",
         false,
         {"Warning: ltn1.pgf: " + warningSpace, "{q}? [y/N] Nothing was copied.\n"}},
        {"jpn0 with every basic letter: no question",
         u"",
         u"",
         false,
         false,
         false,
         "n\n",
         true,
         {"Memory Stick of the PSP found at", "1 font copied to"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramScene s;
        writeBytes(s.work.path / "jpn0.pgf", letteredPgf("our jpn0", 0, c.jpn0Lacks));
        writeBytes(s.work.path / "set" / "ltn1.pgf", letteredPgf("our ltn1", 0, c.ltn1Lacks));
        std::vector<std::string> arguments;
        if (c.yesFlag) {
            arguments.push_back("--yes");
        }
        if (c.to) {
            arguments.insert(arguments.end(), {"--to", platform::utf8FromPath(s.fonts())});
        }
        arguments.push_back(s.work.text("jpn0.pgf"));
        if (c.set) {
            arguments.push_back(s.work.text("set"));
        }
        const std::string question = "Do you want to copy the font file(s) to " +
                                     (c.to ? platform::utf8FromPath(s.fonts())
                                           : platform::utf8FromPath(s.stick.path / "font" / ""));
        if (!c.copied && !c.to) {
            fs::remove_all(s.fonts());  // a PSP without a font folder: No must not make one
        }
        const std::string before = s.allSums();

        const ProgramRun run = s.copy(arguments, c.typed);
        EXPECT_EQ(run.exitCode, c.copied ? 0 : 1);
        EXPECT_EQ(run.err, "");
        std::size_t at = 0;
        for (std::string words : c.says) {
            if (const std::size_t q = words.find("{q}"); q != std::string::npos) {
                words.replace(q, 3, question);
            }
            const std::size_t found = run.out.find(words, at);
            EXPECT_NE(found, std::string::npos) << words << "\nin:\n" << run.out;
            at = found == std::string::npos ? at : found + words.size();
        }
        const auto warnings = [&run] {
            std::size_t count = 0;
            for (std::size_t w = 0; (w = run.out.find("Warning: ", w)) != std::string::npos; ++w) {
                ++count;
            }
            return count;
        };
        EXPECT_EQ(warnings(), (c.jpn0Lacks.empty() ? 0u : 1u) + (c.ltn1Lacks.empty() ? 0u : 1u));
        if (!c.copied) {
            EXPECT_EQ(s.allSums(), before);
            EXPECT_FALSE(fs::exists(s.program.path / "backup"));
            continue;
        }
        EXPECT_EQ(readBytes(s.fonts() / "jpn0.pgf"), readBytes(s.work.path / "jpn0.pgf"));
        EXPECT_EQ(fs::exists(s.fonts() / "ltn1.pgf"), c.set);
        ASSERT_EQ(s.backups().size(), 1u);
        EXPECT_EQ(listing(s.backups()[0]), c.set ? "backup-info.txt jpn0.pgf ltn0.pgf ltn3.pgf"
                                                 : "backup-info.txt jpn0.pgf");
    }
}

// The words a user types first, and what the exit code says.
TEST(CopyProgram, HelpVersionAndArgumentsItCannotUse) {
    ProgramScene s;
    const std::string before = s.allSums();
    // the arguments, the exit code, the stream, the words
    const std::tuple<std::vector<std::string>, int, bool, std::string> cases[] = {
        {{"--help"}, 0, true, "usage: tessavine-copy [--yes] [--to <font folder>]"},
        {{"--version"}, 0, true, "tessavine-copy "},
        {{}, 2, false, "usage: tessavine-copy"},
        {{"--to"}, 2, false, "usage: tessavine-copy"},
        {{"--to", s.fonts().string()}, 2, false, "usage: tessavine-copy"},
        {{"--force", s.work.text("jpn0.pgf")}, 2, false, "usage: tessavine-copy"},
        {{"--version"}, 0, true, " (Tessavine)\n"},
    };
    for (const auto& [arguments, exitCode, onOutput, words] : cases) {
        SCOPED_TRACE(words);
        const ProgramRun run = s.copy(arguments);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_THAT(onOutput ? run.out : run.err, HasSubstr(words));
        EXPECT_EQ(onOutput ? run.err : run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), exitCode == 0 ? 0 : 1);
    }
    EXPECT_EQ(s.allSums(), before);
}

}  // namespace
}  // namespace tessavine
