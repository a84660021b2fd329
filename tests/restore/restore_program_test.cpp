// tessavine-restore run as a program, on backups that the copy onto a PSP made.
#include <cstdlib>
#include <sstream>

#include "core/device_step.h"
#include "core/std_file_system.h"
#include "support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace tessavine {
namespace {

using namespace testing_support;

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
};

// A program folder holding tessavine-restore and new slot files, and a Memory Stick with old
// fonts.
struct Scene {
    Scene() {
        fs::copy_file(TESSAVINE_RESTORE, program.path / TESSAVINE_RESTORE_NAME);
        fs::create_directories(stick.path / "PSP" / "GAME");
        fs::create_directories(fonts());
        writeBytes(fonts() / "ltn0.pgf", testPgf("the firmware's ltn0"));
        writeBytes(fonts() / "ltn3.pgf", testPgf("the firmware's ltn3, longer", 900));
        for (const char* slot : {"ltn0.pgf", "ltn3.pgf", "ltn5.pgf"}) {
            writeBytes(program.path / slot, testPgf("ours"));
        }
    }
    fs::path fonts() const { return stick.path / "font"; }
    // The device step answered Yes.
    void copyToDevice() {
        StdFileSystem files;
        ScriptedPrompts prompts;
        FakeTimer timer;
        copyFontsToDevice(files, ScriptedFreeSpace(), prompts, timer, program.text(),
                          {stick.text()});
        ASSERT_THAT(prompts.messages, testing::IsEmpty());
    }
    std::vector<fs::path> backups() const { return sortedEntries(program.path / "backup"); }
    // Runs the program folder's tessavine-restore through the command shell; arguments hold no
    // double quotes.
    ProgramRun restore(const std::vector<std::string>& arguments) const {
        const fs::path out = program.path / "out.txt";
        const fs::path err = program.path / "err.txt";
        std::string command =
            limit + "\"" + (program.path / TESSAVINE_RESTORE_NAME).string() + "\"";
        for (const std::string& argument : arguments) {
            command += " \"" + argument + "\"";
        }
        command += " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
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
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    TempFolder program, stick;
    std::string limit;  // a command put before the program's, such as a memory limit
};

TEST(Restore, PutsTheFontsBackThatACopyReplacedAndKeepsWhatItReplacesInTurn) {
    Scene s;
    s.copyToDevice();
    ASSERT_EQ(readBytes(s.fonts() / "ltn0.pgf"), testPgf("ours"));
    const std::string backup = s.backups().at(0).string();

    const ProgramRun run = s.restore({backup});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_THAT(run.out, HasSubstr("Restored ltn0.pgf ltn3.pgf from \"" + backup + "\" to \"" +
                                   s.stick.text("font") + "\""));
    EXPECT_EQ(readBytes(s.fonts() / "ltn0.pgf"), testPgf("the firmware's ltn0"));
    EXPECT_EQ(readBytes(s.fonts() / "ltn3.pgf"), testPgf("the firmware's ltn3, longer", 900));
    // ltn5.pgf filled an empty slot: it goes, so the folder holds the set it had.
    EXPECT_THAT(run.out, HasSubstr("and removed ltn5.pgf, which the copy had added."));
    EXPECT_EQ(listing(s.fonts()), "ltn0.pgf ltn3.pgf");

    // What the restore replaced and removed is a backup of its own, listed first.
    ASSERT_EQ(s.backups().size(), 2u);
    const std::string second = s.backups()[1].string();
    EXPECT_EQ(readBytes(s.backups()[1] / "ltn3.pgf"), testPgf("ours"));
    EXPECT_EQ(readBytes(s.backups()[1] / "ltn5.pgf"), testPgf("ours"));
    EXPECT_EQ(listing(s.backups()[1]), "backup-info.txt ltn0.pgf ltn3.pgf ltn5.pgf");
    EXPECT_THAT(run.out, HasSubstr("kept in \"" + second + "\""));
    const ProgramRun list = s.restore({});
    EXPECT_EQ(list.exitCode, 0);
    const std::size_t newer = list.out.find(second);
    const std::size_t older = list.out.find(backup + "\n");
    EXPECT_TRUE(newer != std::string::npos && older != std::string::npos && newer < older)
        << list.out;
    EXPECT_THAT(list.out, HasSubstr("from " + s.stick.text("font") + ": ltn0.pgf ltn3.pgf"));

    // Into a folder named after the backup.
    TempFolder elsewhere;
    EXPECT_EQ(s.restore({backup, elsewhere.text()}).exitCode, 0);
    EXPECT_EQ(listing(elsewhere.path), "ltn0.pgf ltn3.pgf");
    EXPECT_EQ(readBytes(elsewhere.path / "ltn3.pgf"), testPgf("the firmware's ltn3, longer", 900));
}

// A copy that only filled empty slots is undone too: its backup holds no font, only the note of
// the slots it filled, and putting it back empties them.
TEST(Restore, ACopyThatOnlyAddedFontsIsUndone) {
    Scene s;
    fs::remove(s.fonts() / "ltn0.pgf");
    fs::remove(s.fonts() / "ltn3.pgf");
    s.copyToDevice();
    ASSERT_EQ(listing(s.fonts()), "ltn0.pgf ltn3.pgf ltn5.pgf");
    ASSERT_EQ(s.backups().size(), 1u);
    const std::string backup = s.backups()[0].string();
    EXPECT_EQ(listing(s.backups()[0]), "backup-info.txt");

    const ProgramRun run = s.restore({backup});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Restored \"" + s.stick.text("font") +
                           "\" as it was before the copy and removed ltn0.pgf, ltn3.pgf, "
                           "ltn5.pgf, which the copy had added.\n"
                           "The fonts they replaced there are kept in \"" +
                           (s.backups().size() == 2 ? s.backups()[1].string() : "?") + "\".\n");
    EXPECT_EQ(listing(s.fonts()), "");
    // The restore's own backup holds the three fonts it took out, and nothing else was made.
    ASSERT_EQ(s.backups().size(), 2u);
    EXPECT_EQ(listing(s.backups()[1]), "backup-info.txt ltn0.pgf ltn3.pgf ltn5.pgf");
}

// Every file below `root` with a fingerprint of its bytes, one a line, sorted.
std::string treeSums(const fs::path& root) {
    std::set<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string bytes = entry.is_regular_file() ? readBytes(entry.path()) : "<folder>";
        lines.insert(fs::relative(entry.path(), root).string() + " " +
                     std::to_string(bytes.size()) + " " +
                     std::to_string(std::hash<std::string>{}(bytes)));
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// A copy replaced ltn0.pgf and added ltn3.pgf and ltn9.pgf; the backup's note, as written or
// changed, decides what restoring it does with the two added fonts.
TEST(Restore, TheFontsTheCopyAddedGoWhenTheNoteListsThemAndOnlyPlainSlotNames) {
    // the note's added line (nullopt: the line taken out, as in older backups), the exit code,
    // the font folder after, words of the output, words of the error
    const std::tuple<std::optional<std::string>, int, std::string, std::string, std::string>
        cases[] = {
            {"Added by the copy:  ltn3.pgf ltn9.pgf", 0, "ltn0.pgf",
             "and removed ltn3.pgf, ltn9.pgf, which the copy had added.", ""},
            {std::nullopt, 0, "ltn0.pgf ltn3.pgf ltn9.pgf", "Restored ltn0.pgf from", ""},
            {"Added by the copy:  ltn3.pgf ../x", 1, "", "", "says the copy added \"../x\""},
            {"Added by the copy:  a\\b.pgf ltn9.pgf", 1, "", "", "b.pgf\", which is not"},
            {"Added by the copy:  notes.txt", 1, "", "", "added \"notes.txt\", which is not"},
        };
    for (const auto& [addedLine, exitCode, after, outWords, errWords] : cases) {
        SCOPED_TRACE(addedLine.value_or("no added line"));
        Scene s;
        fs::remove(s.fonts() / "ltn3.pgf");
        fs::remove(s.program.path / "ltn5.pgf");
        writeBytes(s.program.path / "ltn9.pgf", testPgf("ours 9"));
        // What a removal without the name check would take: beside and above the font folder.
        writeBytes(s.fonts() / "notes.txt", "mine");
#ifndef _WIN32
        writeBytes(s.fonts() / "a\\b.pgf", "mine too");  // a back slash is no separator here
        const std::string beside = "a\\b.pgf ";
#else
        const std::string beside;
#endif
        writeBytes(s.stick.path / "x", "above");
        s.copyToDevice();
        ASSERT_EQ(s.backups().size(), 1u);
        const fs::path note = s.backups()[0] / "backup-info.txt";
        std::istringstream lines(readBytes(note));
        std::string rewritten;
        bool found = false;
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("Added by the copy:")) {
                found = true;
                ASSERT_EQ(line, "Added by the copy:  ltn3.pgf ltn9.pgf");
                if (!addedLine) {
                    continue;
                }
                line = *addedLine;
            }
            rewritten += line + "\n";
        }
        ASSERT_TRUE(found) << readBytes(note);
        writeBytes(note, rewritten);
        const std::string before = treeSums(s.stick.path) + treeSums(s.program.path);

        const ProgramRun run = s.restore({s.backups()[0].string()});
        EXPECT_EQ(run.exitCode, exitCode) << run.err;
        if (exitCode == 0) {
            EXPECT_EQ(run.err, "");
            EXPECT_THAT(run.out, HasSubstr(outWords));
            EXPECT_EQ(listing(s.fonts()), beside + after + " notes.txt");
            EXPECT_EQ(readBytes(s.fonts() / "ltn0.pgf"), testPgf("the firmware's ltn0"));
            EXPECT_EQ(readBytes(s.stick.path / "x"), "above");
            EXPECT_EQ(s.backups().size(), 2u);
            if (!addedLine) {
                EXPECT_THAT(run.out, Not(HasSubstr("removed")));
                EXPECT_EQ(readBytes(s.fonts() / "ltn9.pgf"), testPgf("ours 9"));
            }
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_THAT(run.err, HasSubstr(errWords));
            EXPECT_THAT(run.err, HasSubstr("Nothing was changed"));
            EXPECT_EQ(treeSums(s.stick.path) + treeSums(s.program.path), before);
        }
    }
}

TEST(Restore, ErrorsAreOneLineAndANonZeroExit) {
    Scene s;
    s.copyToDevice();
    const std::string backup = s.backups().at(0).string();
    // A backup of no fonts that added none either, and a font folder whose journal is damaged.
    const fs::path empty = s.program.path / "backup" / "2026-01-01_00-00-00";
    fs::create_directories(empty);
    std::istringstream noteLines(readBytes(fs::path(backup) / "backup-info.txt"));
    std::string noteAddingNothing;
    for (std::string line; std::getline(noteLines, line);) {
        if (!line.starts_with("Added by the copy:")) {
            noteAddingNothing += line + "\n";
        }
    }
    writeBytes(empty / "backup-info.txt", noteAddingNothing);
    TempFolder damaged;
    writeBytes(damaged.path / ".tessavine-copy.journal", "tessavine copy journal 1\nbackup \n");
    // the arguments, what is done first, the exit code, a part of the message
    const std::tuple<std::vector<std::string>, std::function<void()>, int, std::string> cases[] = {
        {{s.program.text("none")}, [] {}, 1, "There is no folder"},
        {{s.program.text()}, [] {}, 1, "is not a backup of Tessavine"},
        {{empty.string()}, [] {}, 1, "The backup \"" + empty.string() + "\" holds no font files."},
        {{"--finish", damaged.text()}, [] {}, 1, "is damaged or names files that are not fonts"},
        {{"--finish", s.program.text("none")}, [] {}, 1, "is not there. Connect the PSP, then"},
        {{"--finish"}, [] {}, 2, "usage: tessavine-restore"},
        {{"--finish", "--force", "a", "b"}, [] {}, 2, "usage: tessavine-restore"},
        {{"--finish", "a", "b"}, [] {}, 2, "usage: tessavine-restore"},
        {{backup, s.program.text("ltn0.pgf")}, [] {}, 1, "is not there"},
        {{backup, "b", "c"}, [] {}, 2, "usage: tessavine-restore"},
        {{backup}, [&s] { fs::remove_all(s.fonts()); }, 1, "is not there. Connect the PSP"}};
    for (const auto& [arguments, before, exitCode, message] : cases) {
        SCOPED_TRACE(message);
        before();
        const std::string was =
            treeSums(s.stick.path) + treeSums(s.program.path) + treeSums(damaged.path);
        const ProgramRun run = s.restore(arguments);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_THAT(run.err, HasSubstr(message));
        EXPECT_EQ(treeSums(s.stick.path) + treeSums(s.program.path) + treeSums(damaged.path), was);
    }
}

// "--version" alone is answered on the output with exit 0, and nothing is looked at.
TEST(Restore, VersionAloneIsAnsweredAndChangesNothing) {
    Scene s;
    s.copyToDevice();
    const std::string was = treeSums(s.stick.path) + treeSums(s.program.path);
    const ProgramRun run = s.restore({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, testing::StartsWith("tessavine-restore "));
    EXPECT_THAT(run.out, testing::EndsWith(" (Tessavine)\n"));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(treeSums(s.stick.path) + treeSums(s.program.path), was);
}

// A crafted backup note names its font folder and time with terminal controls: the list and
// the refusal show them as escapes, and no byte that a terminal acts on is printed.
TEST(Restore, NamesFromANoteArePrintedAsEscapesNeverAsControls) {
    Scene s;
    s.copyToDevice();
    const fs::path backup = s.backups().at(0);
    writeBytes(backup / "backup-info.txt",
               "Font folder: /gone\x1b]0;owned\x07\rMade: faked\xc2\x9b\n"
               "Made: \x1b[2J\xff\n");
    // the arguments, the exit code, the stream the words are on, the words
    const std::tuple<std::vector<std::string>, int, bool, std::string> cases[] = {
        {{}, 0, true, "from /gone\\x1b]0;owned\\x07\\rMade: faked\\u009b: ltn0.pgf"},
        {{}, 0, true, "made \\x1b[2J\\xff from"},
        {{backup.string()},
         1,
         false,
         "\"/gone\\x1b]0;owned\\x07\\rMade: faked\\u009b\" is not there"},
    };
    for (const auto& [arguments, exitCode, onOutput, words] : cases) {
        SCOPED_TRACE(words);
        const ProgramRun run = s.restore(arguments);
        EXPECT_EQ(run.exitCode, exitCode) << run.err;
        EXPECT_THAT(onOutput ? run.out : run.err, HasSubstr(words));
        for (const std::string& printed : {run.out, run.err}) {
            for (const std::string control : {"\x1b", "\x07", "\r", "\xc2\x9b", "\xff"}) {
                EXPECT_EQ(printed.find(control), std::string::npos) << printed;
            }
        }
    }
}

}  // namespace
}  // namespace tessavine

namespace tessavine {
namespace {

// Half a gigabyte of address space is plenty for a program that reads a bounded amount. Under
// AddressSanitizer the program reserves terabytes for its shadow memory, so there the limit is
// left off and only the refusal is checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMemoryLimit = "";
#else
constexpr const char* kMemoryLimit = "prlimit --as=536870912 ";
#endif

// A backup whose ltn0.pgf is not a font the PSP can load: restore names it, says why, changes
// nothing on the PSP and makes no backup of its own; within a bounded time and memory (the
// program runs under a 512 MB address-space limit, far below the 2 GB file).
TEST(Restore, ABackupThatIsNoWholeFontIsRefusedAndNothingChanges) {
#ifdef _WIN32
    GTEST_SKIP() << "links, pipes and sparse files are made the POSIX way here";
#else
    // what stands at the backup's ltn0.pgf, a part of the message
    const std::pair<std::function<void(const fs::path&, const fs::path&)>, std::string> cases[] = {
        {[](const fs::path& at, const fs::path&) { writeBytes(at, ""); }, "not a whole PGF font"},
        {[](const fs::path& at, const fs::path&) { writeBytes(at, "Fonts: ltn0.pgf\n"); },
         "not a whole PGF font"},
        {[](const fs::path& at, const fs::path&) {
             std::ofstream(at).close();
             fs::resize_file(at, 2'000'000'000);  // sparse: nothing on the disk
         },
         "more than the 16777216 bytes"},
        {[](const fs::path& at, const fs::path& outside) {
             writeBytes(outside, testPgf("outside"));
             fs::create_symlink(outside, at);
         },
         "is a symbolic link"},
        {[](const fs::path& at, const fs::path&) { fs::create_directory(at); },
         "not an ordinary file"},
        {[](const fs::path& at, const fs::path&) { ASSERT_EQ(::mkfifo(at.c_str(), 0644), 0); },
         "not an ordinary file"}};
    for (const auto& [plant, message] : cases) {
        SCOPED_TRACE(message);
        Scene s;
        s.copyToDevice();
        const fs::path backup = s.backups().at(0);
        TempFolder elsewhere;
        fs::remove(backup / "ltn0.pgf");
        plant(backup / "ltn0.pgf", elsewhere.path / "font.pgf");
        const std::string before = listing(s.fonts());
        const std::string ltn3 = readBytes(s.fonts() / "ltn3.pgf");
        s.limit = kMemoryLimit;
        const ProgramRun run = s.restore({backup.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_THAT(run.err, HasSubstr("ltn0.pgf"));
        EXPECT_THAT(run.err, HasSubstr(message));
        EXPECT_EQ(listing(s.fonts()), before);
        EXPECT_EQ(readBytes(s.fonts() / "ltn3.pgf"), ltn3);
        EXPECT_EQ(s.backups().size(), 1u);  // none made by the refused restore
    }
#endif
}

// A backup note of 2 GB (sparse) is refused unread, not parsed for minutes.
TEST(Restore, AHugeBackupNoteIsRefusedUnread) {
    Scene s;
    s.copyToDevice();
    const fs::path note = s.backups().at(0) / "backup-info.txt";
    fs::resize_file(note, 2'000'000'000);
    s.limit = kMemoryLimit;
    const ProgramRun run = s.restore({s.backups().at(0).string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("more than the 65536 bytes"));
}

// A copy killed between its renames leaves a journal; --finish brings the folder to one whole
// set and says which, and nothing of ours stays beside it.
TEST(Restore, FinishSettlesAnInterruptedCopyAndSaysWhichSetItLeft) {
    Scene s;
    const std::string journal =
        "tessavine copy journal 1\nbackup \nfont ltn5.pgf .ltn5.pgf.tessavine.1-a.tmp " +
        std::to_string(testPgf("new5").size()) + " ";
    // The new ltn5 lies complete under its temporary name: the copy is finished.
    writeBytes(s.fonts() / ".ltn5.pgf.tessavine.1-a.tmp", testPgf("new5"));
    std::ostringstream sum;
    {
        std::uint64_t h = 0xcbf29ce484222325u;  // 64-bit FNV-1a, by hand
        for (char c : testPgf("new5")) {
            h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
        }
        sum << h;
    }
    writeBytes(s.fonts() / ".tessavine-copy.journal", journal + sum.str() + " 0 0 0\nend\n");
    const ProgramRun run = s.restore({"--finish", s.fonts().string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("was finished: it holds the new ltn5.pgf"));
    EXPECT_EQ(listing(s.fonts()), "ltn0.pgf ltn3.pgf ltn5.pgf");
    EXPECT_EQ(readBytes(s.fonts() / "ltn5.pgf"), testPgf("new5"));
    const ProgramRun again = s.restore({"--finish", s.fonts().string()});
    EXPECT_THAT(again.out, HasSubstr("nothing to do"));
}

}  // namespace
}  // namespace tessavine

namespace tessavine {
namespace {

std::string handSum(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;  // 64-bit FNV-1a, by hand
    for (char c : bytes) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return std::to_string(h);
}

// A restore killed between its renames and its removal of ltn3.pgf: --finish takes ltn3.pgf out
// when the new set is whole, and puts it back from the backup when the set must be undone.
TEST(Restore, FinishSettlesAnInterruptedRemovalEitherWay) {
    // the new ltn5 lies complete under its temporary name, ltn3 is still there; the set left
    const std::tuple<bool, bool, std::string> cases[] = {{true, true, "ltn0.pgf ltn5.pgf"},
                                                         {true, false, "ltn0.pgf ltn5.pgf"},
                                                         {false, false, "ltn0.pgf ltn3.pgf"},
                                                         {false, true, "ltn0.pgf ltn3.pgf"}};
    for (const auto& [newWhole, ltn3There, after] : cases) {
        SCOPED_TRACE(after + (ltn3There ? " from ltn3 there" : " from ltn3 gone"));
        Scene s;
        const std::string old3 = readBytes(s.fonts() / "ltn3.pgf");
        const fs::path backup = s.program.path / "backup" / "2026-01-01_00-00-00";
        fs::create_directories(backup);
        writeBytes(backup / "ltn3.pgf", old3);
        writeBytes(backup / "backup-info.txt",
                   "Font folder: " + s.fonts().string() + "\nMade: then\nFonts: ltn3.pgf\n");
        if (!ltn3There) {
            fs::remove(s.fonts() / "ltn3.pgf");
        }
        if (newWhole) {
            writeBytes(s.fonts() / ".ltn5.pgf.tessavine.1-a.tmp", testPgf("new5"));
        }
        writeBytes(s.fonts() / ".tessavine-copy.journal",
                   "tessavine copy journal 1\nbackup " + backup.string() +
                       "\nfont ltn5.pgf .ltn5.pgf.tessavine.1-a.tmp " +
                       std::to_string(testPgf("new5").size()) + " " + handSum(testPgf("new5")) +
                       " 0 0 0\nfont ltn3.pgf .ltn3.pgf.tessavine.1-a.tmp 0 0 2 " +
                       std::to_string(old3.size()) + " " + handSum(old3) + "\nend\n");
        const ProgramRun run = s.restore({"--finish", s.fonts().string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_THAT(run.out, HasSubstr(newWhole ? "was finished" : "was undone"));
        EXPECT_EQ(listing(s.fonts()), after);
        if (newWhole) {
            EXPECT_EQ(readBytes(s.fonts() / "ltn5.pgf"), testPgf("new5"));
        } else {
            EXPECT_EQ(readBytes(s.fonts() / "ltn3.pgf"), old3);
        }
        EXPECT_EQ(listing(backup), "backup-info.txt ltn3.pgf");
    }
}

}  // namespace
}  // namespace tessavine

namespace tessavine {
namespace {

// A lock file no copy of ours wrote stops --finish, and goes only with --force.
TEST(Restore, FinishRemovesALockNoCopyWroteOnlyWhenForced) {
    Scene s;
    writeBytes(s.fonts() / ".tessavine-copy.lock", "garbage");
    const std::string fonts = s.fonts().string();
    const std::string before = listing(s.fonts());
    // the arguments, the exit code, words of the output or the error, the folder after
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"--finish", fonts},
         1,
         "that no copy of this program wrote (it holds \"garbage\")",
         before},
        {{"--finish", "--force"}, 1, "The font folder \"--force\" is not there", before},
        {{"--finish", "--force", fonts},
         0,
         "No copy into \"" + fonts + "\" was interrupted; nothing to do.\n",
         "ltn0.pgf ltn3.pgf"}};
    for (const auto& [arguments, exitCode, words, after] : cases) {
        SCOPED_TRACE(words);
        const ProgramRun run = s.restore(arguments);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_THAT(exitCode == 0 ? run.out : run.err, HasSubstr(words));
        EXPECT_EQ(exitCode == 0 ? run.err : run.out, "");
        EXPECT_EQ(listing(s.fonts()), after);
    }
}

}  // namespace
}  // namespace tessavine
