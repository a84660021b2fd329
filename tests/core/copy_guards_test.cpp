// The guards of a copy into a font folder: the journal an interrupted copy leaves, which is
// settled only when everything it says holds, and the lock, which is taken over only from a copy
// that is provably gone. Each refusal is checked with the folder left exactly as it was.
#include <map>
#include <regex>
#include <tuple>

#include "core/copy_journal.h"
#include "core/copy_lock.h"
#include "core/file_platform.h"
#include "core/font_backup.h"
#include "core/font_check.h"
#include "support.h"

namespace tessavine {
namespace {

using namespace testing_support;
using Tree = std::map<std::string, std::string>;

// Every file below a folder with its bytes, by its path inside it; a folder shows as "(folder)".
Tree tree(const fs::path& top) {
    Tree files;
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const std::string at = fs::relative(entry.path(), top).generic_string();
        files[at] = entry.is_symlink()     ? "(link)"
                    : entry.is_directory() ? "(folder)"
                                           : readBytes(entry.path());
    }
    return files;
}

std::string handSum(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;  // 64-bit FNV-1a, by hand
    for (char c : bytes) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return std::to_string(h);
}

// A journal line: the slot, its temporary name, the new font, 0 added / 1 replaced / 2 removed,
// the old font.
std::string fontLine(const std::string& slot, const std::string& temporary,
                     const std::string& fresh, int how, const std::string& old) {
    return "font " + slot + " " + temporary + " " + std::to_string(fresh.size()) + " " +
           handSum(fresh) + " " + std::to_string(how) + " " + std::to_string(old.size()) + " " +
           handSum(old) + "\n";
}

// A font folder on a stick and a program folder whose backup holds the old ltn3, as a copy that
// replaced ltn3 and added ltn5 leaves them when it is killed after writing its journal.
struct Interrupted {
    Interrupted() {
        fs::create_directories(fonts());
        fs::create_directories(backup());
        writeBytes(fonts() / "ltn3.pgf", old3);
        writeBytes(fonts() / ".ltn3.pgf.tessavine.7-ab.tmp", new3);
        writeBytes(fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", new5);
        writeBytes(backup() / "ltn3.pgf", old3);
        writeBytes(backup() / "backup-info.txt", "Font folder: " + stick.text("font") +
                                                     "\nMade: then\nFonts: ltn3.pgf\n" +
                                                     "Added by the copy: ltn5.pgf\n");
        journal = "tessavine copy journal 1\nbackup " + platform::utf8FromPath(backup()) + "\n" +
                  fontLine("ltn3.pgf", ".ltn3.pgf.tessavine.7-ab.tmp", new3, 1, old3) +
                  fontLine("ltn5.pgf", ".ltn5.pgf.tessavine.7-ab.tmp", new5, 0, "") + "end\n";
    }
    fs::path fonts() const { return stick.path / "font"; }
    fs::path root() const { return program.path / "backup"; }
    fs::path backup() const { return root() / "2026-12-06_14-05-09"; }
    Completion settle() {
        writeBytes(fonts() / kCopyJournalName, journal);
        return completeInterruptedCopy(files, stick.text("font"), program.text("backup"));
    }

    TempFolder program, stick;
    StdFileSystem files;
    const std::string old3 = testPgf("old 3", 700), new3 = testPgf("new 3"),
                      new5 = testPgf("new 5");
    std::string journal;
};

TEST(CopyJournal, AJournalIsReadOnlyWhenEveryLineIsOneOfOurs) {
    const std::string head = "tessavine copy journal 1\nbackup /b\n";
    const std::string line = "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 1 30 40\n";
    std::string sixteen;
    for (int slot = 0; slot < 16; ++slot) {
        const std::string name = "ltn" + std::to_string(slot) + ".pgf";
        sixteen += "font " + name + " ." + name + ".tessavine.1-a.tmp 1 2 0 0 0\n";
    }
    // the text, whether it is a journal
    const std::pair<std::string, bool> cases[] = {
        {head + line + "end\n", true},
        {head + sixteen + "end\n", true},
        {head + line + "end", true},
        {"tessavine copy journal 2\nbackup /b\n" + line + "end\n", false},
        {"tessavine copy journal 1\nbackups /b\n" + line + "end\n", false},
        {"tessavine copy journal 1\n", false},
        {head + "end\n", false},
        {head + line, false},
        {head + sixteen + line + "end\n", false},
        {head + "fond ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn16.pgf .ltn16.pgf.tessavine.12-af.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn4.pgf.tessavine.12-af.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmx 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-xy.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.1-a/../.tmp 10 20 1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 3 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 -1 30 40\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 1 30\nend\n", false},
        {head + "font ltn3.pgf .ltn3.pgf.tessavine.12-af.tmp 10 20 1 30 40 50\nend\n", false},
        {head + line + line + "end\n", false},
        {head + line + "font ltn4.pgf .ltn3.pgf.tessavine.12-af.tmp 1 2 0 0 0\nend\n", false},
        {head + line + "font ltn3.pgf .ltn3.pgf.tessavine.12-b.tmp 1 2 0 0 0\nend\n", false},
    };
    for (const auto& [text, valid] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(decodeJournal(text).has_value(), valid);
    }

    const std::optional<CopyJournal> read =
        decodeJournal(head + line + "font ltn0.pgf .ltn0.pgf.tessavine.3-0.tmp 5 6 2 7 8\nend\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->backupFolder, "/b");
    ASSERT_EQ(read->fonts.size(), 2u);
    const JournalFont& first = read->fonts[0];
    EXPECT_EQ(std::tie(first.name, first.temporary, first.newSize, first.newSum, first.oldSize,
                       first.oldSum),
              std::make_tuple(std::string("ltn3.pgf"), std::string(".ltn3.pgf.tessavine.12-af.tmp"),
                              std::uintmax_t{10}, std::uint64_t{20}, std::uintmax_t{30},
                              std::uint64_t{40}));
    EXPECT_EQ(std::make_pair(first.replaces, first.removes), std::make_pair(true, false));
    EXPECT_EQ(std::make_pair(read->fonts[1].replaces, read->fonts[1].removes),
              std::make_pair(true, true));
    EXPECT_EQ(encodeJournal(*read),
              head + line + "font ltn0.pgf .ltn0.pgf.tessavine.3-0.tmp 5 6 2 7 8\nend\n");
    EXPECT_EQ(contentSum("ab"), std::stoull(handSum("ab")));
}

// Only the one guard named stands between the journal and a change: each refusal leaves both
// folders as they were and says what to do.
TEST(CopyJournal, AJournalThatFailsACheckChangesNothing) {
    // what is changed from an honest interrupted copy, a part of the refusal
    const std::pair<std::function<void(Interrupted&)>, std::string> cases[] = {
        {[](Interrupted& c) { c.journal.replace(c.journal.find("ltn5.pgf"), 8, "ltn5.pgx"); },
         "is damaged or names files that are not fonts of ours"},
        {[](Interrupted& c) {
             fs::create_directory(c.fonts() / kCopyJournalName);
             writeBytes(c.fonts() / kCopyJournalName / "x", "");
         },
         "cannot be read"},
        // the backup: in the program's backup folder, named as we name them, of this folder
        {[](Interrupted& c) {
             fs::rename(c.backup(), c.program.path / "2026-12-06_14-05-09");
             c.journal = std::regex_replace(c.journal, std::regex("/backup/"), "/");
         },
         "names a backup outside the program's backup folder"},
        {[](Interrupted& c) {
             fs::rename(c.backup(), c.root() / "2026-12-06_14-05-0x");
             c.journal = std::regex_replace(c.journal, std::regex("-09\n"), "-0x\n");
         },
         "names a backup outside the program's backup folder"},
        {[](Interrupted& c) {
             fs::rename(c.backup(), c.root() / "2026-12-06_14-05-09_");
             c.journal = std::regex_replace(c.journal, std::regex("-09\n"), "-09_\n");
         },
         "names a backup outside the program's backup folder"},
        {[](Interrupted& c) {
             fs::rename(c.backup(), c.root() / "2026-12-06_14-05-09_123456");
             c.journal = std::regex_replace(c.journal, std::regex("-09\n"), "-09_123456\n");
         },
         "names a backup outside the program's backup folder"},
        {[](Interrupted& c) {
             fs::rename(c.backup(), c.program.path / "elsewhere");
             fs::create_directory_symlink(c.program.path / "elsewhere", c.backup());
         },
         "names a backup reached through a symbolic link"},
        {[](Interrupted& c) { fs::remove(c.backup() / "backup-info.txt"); },
         "names a backup that is none"},
        {[](Interrupted& c) {
             writeBytes(c.backup() / "backup-info.txt", "Font folder: /another/font\n");
         },
         "names a backup of another font folder, \"/another/font\""},
        // the old font the backup must hold, whole
        {[](Interrupted& c) { writeBytes(c.backup() / "ltn3.pgf", c.old3 + "x"); },
         "holds the old ltn3.pgf, but it does not"},
        {[](Interrupted& c) {
             std::string other = c.old3;
             other[other.size() - 1] = '\1';  // the same size, other bytes
             writeBytes(c.backup() / "ltn3.pgf", other);
         },
         "holds the old ltn3.pgf, but it does not"},
        {[](Interrupted& c) { fs::remove(c.backup() / "ltn3.pgf"); },
         "holds the old ltn3.pgf, but it does not"},
        // a font the copy says it added, where a font stands that is not the new one
        {[](Interrupted& c) {
             writeBytes(c.fonts() / "ltn5.pgf", testPgf("someone's"));
             fs::remove(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp");
         },
         "says ltn5.pgf was added by the copy, but a font is there that no backup holds"},
    };
    for (const auto& [change, message] : cases) {
        SCOPED_TRACE(message);
        Interrupted c;
        change(c);
        writeBytes(c.fonts() / kCopyJournalName, c.journal);
        const Tree before = tree(c.stick.path), backups = tree(c.program.path);
        const Completion done =
            completeInterruptedCopy(c.files, c.stick.text("font"), c.program.text("backup"));
        EXPECT_EQ(done.report, "");
        EXPECT_THAT(done.error, HasSubstr(message));
        EXPECT_THAT(done.error,
                    HasSubstr("\"" + c.stick.text("font") + "/" + kCopyJournalName + "\", "));
        EXPECT_THAT(done.error, HasSubstr(". Nothing was changed. Check the fonts"));
        EXPECT_EQ(tree(c.stick.path), before);
        EXPECT_EQ(tree(c.program.path), backups);
    }
}

TEST(CopyJournal, AnHonestJournalLeavesTheNewSetOrTheOldOneAndNothingOfOurs) {
    // what is changed, the folder afterwards, a part of the report
    const std::tuple<std::function<void(Interrupted&)>, Tree, std::string> cases[] = {
        {[](Interrupted&) {}, {}, "was finished: it holds the new ltn3.pgf ltn5.pgf."},
        // killed after the first rename: ltn3 is new already
        {[](Interrupted& c) {
             fs::rename(c.fonts() / ".ltn3.pgf.tessavine.7-ab.tmp", c.fonts() / "ltn3.pgf");
         },
         {},
         "was finished"},
        // both renamed, and the journal not yet removed; a leftover temporary file goes
        {[](Interrupted& c) {
             fs::rename(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", c.fonts() / "ltn5.pgf");
             writeBytes(c.fonts() / "ltn3.pgf", c.new3);
         },
         {},
         "was finished"},
        // the new ltn5 is damaged: the old set comes back, and ltn5 goes, as the note says it
        // was added
        {[](Interrupted& c) {
             writeBytes(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", c.new5 + "x");
         },
         {{"ltn3.pgf", "old"}},
         "was undone: it holds the old ltn3.pgf ltn5.pgf again, from \""},
        {[](Interrupted& c) {
             fs::rename(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", c.fonts() / "ltn5.pgf");
             fs::remove(c.fonts() / ".ltn3.pgf.tessavine.7-ab.tmp");
         },
         {{"ltn3.pgf", "old"}},
         "was undone"},
        // ltn3 was renamed and ltn5 is gone: ltn3 comes back from the backup
        {[](Interrupted& c) {
             writeBytes(c.fonts() / "ltn3.pgf", c.new3);
             fs::remove(c.fonts() / ".ltn3.pgf.tessavine.7-ab.tmp");
             fs::remove(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp");
         },
         {{"ltn3.pgf", "old"}},
         "was undone"},
        // a note that does not list ltn5 as added: the new ltn5 stays, and the report says so
        {[](Interrupted& c) {
             writeBytes(c.backup() / "backup-info.txt",
                        "Font folder: " + c.stick.text("font") + "\nFonts: ltn3.pgf\n");
             fs::rename(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", c.fonts() / "ltn5.pgf");
             fs::remove(c.fonts() / ".ltn3.pgf.tessavine.7-ab.tmp");
         },
         {{"ltn3.pgf", "old"}, {"ltn5.pgf", "new"}},
         " The new ltn5.pgf it had added stay, as no backup says they were added."},
    };
    for (const auto& [change, after, words] : cases) {
        SCOPED_TRACE(words);
        Interrupted c;
        change(c);
        const Tree backups = tree(c.program.path);
        const Completion done = c.settle();
        EXPECT_EQ(done.error, "");
        EXPECT_THAT(done.report,
                    HasSubstr("An interrupted copy into \"" + c.stick.text("font") + "\" was "));
        EXPECT_THAT(done.report, HasSubstr(words));
        Tree expected = after;
        if (after.empty()) {
            expected = {{"ltn3.pgf", "new"}, {"ltn5.pgf", "new"}};
        }
        Tree found;
        for (const auto& [name, bytes] : tree(c.fonts())) {
            const std::map<std::string, std::string> known = {
                {c.old3, "old"}, {c.new3, "new"}, {c.new5, "new"}};
            found[name] = known.contains(bytes) ? known.at(bytes) : "other";
        }
        EXPECT_EQ(found, expected);
        if (expected.contains("ltn3.pgf")) {
            EXPECT_EQ(readBytes(c.fonts() / "ltn3.pgf"),
                      expected["ltn3.pgf"] == "old" ? c.old3 : c.new3);
        }
        EXPECT_EQ(tree(c.program.path), backups);
    }

    // No journal: nothing to report and nothing done.
    Interrupted c;
    const Tree before = tree(c.stick.path);
    const Completion none =
        completeInterruptedCopy(c.files, c.stick.text("font"), c.program.text("backup"));
    EXPECT_EQ(none.report + none.error, "");
    EXPECT_EQ(tree(c.stick.path), before);
}

// A copy that only added fonts names no backup, and needs none.
TEST(CopyJournal, ACopyThatReplacedNothingIsSettledWithoutABackup) {
    for (const bool whole : {true, false}) {
        SCOPED_TRACE(whole ? "whole" : "damaged");
        Interrupted c;
        fs::remove(c.fonts() / "ltn3.pgf");
        fs::remove(c.fonts() / ".ltn3.pgf.tessavine.7-ab.tmp");
        if (!whole) {
            writeBytes(c.fonts() / ".ltn5.pgf.tessavine.7-ab.tmp", "cut");
        }
        c.journal = "tessavine copy journal 1\nbackup \n" +
                    fontLine("ltn5.pgf", ".ltn5.pgf.tessavine.7-ab.tmp", c.new5, 0, "") + "end\n";
        const Completion done = c.settle();
        EXPECT_EQ(done.error, "");
        EXPECT_THAT(done.report, HasSubstr(whole ? "finished"
                                                 : "undone: it holds the old "
                                                   "ltn5.pgf again."));
        EXPECT_EQ(listing(c.fonts()), whole ? "ltn5.pgf" : "");
    }
}

TEST(FontCheck, OnlyAWholePgfFontIsReadAndEveryRefusalSaysWhy) {
    TempFolder folder;
    writeBytes(folder.path / "whole.pgf", testPgf("whole"));
    writeBytes(folder.path / "cut.pgf", testPgf("whole").substr(0, 100));
    fs::create_directory(folder.path / "folder.pgf");
    StdFileSystem files;
    // the name, the error (empty: read)
    const std::pair<std::string, std::string> cases[] = {
        {"whole.pgf", ""},
        {"gone.pgf", "\"" + folder.text("gone.pgf") + "\" is not there."},
        {"cut.pgf", "\"" + folder.text("cut.pgf") + "\" is not a whole PGF font ("},
        {"folder.pgf", "not an ordinary file"},
    };
    for (const auto& [name, refusal] : cases) {
        SCOPED_TRACE(name);
        std::string error = "left from before";
        const std::optional<std::string> bytes = readWholeFont(files, folder.text(name), error);
        EXPECT_EQ(bytes.has_value(), refusal.empty());
        if (refusal.empty()) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(bytes, testPgf("whole"));
        } else {
            EXPECT_THAT(error, HasSubstr(refusal));
            if (name != "gone.pgf") {
                EXPECT_THAT(error, ::testing::Not(HasSubstr("is not there")));
            }
        }
    }
}

// A folder of the backup folder is one being made (or left by a killed run) only when its name
// ends in ".<process number>.partial"; every other one with a note is a backup.
TEST(FontBackup, OnlyAFolderNamedAsOneBeingMadeIsRefusedAsUnfinished) {
    // the folder's name, whether it reads as a backup
    const std::pair<std::string, bool> cases[] = {
        {"2026-12-06_14-05-09", true},
        {"2026-12-06_14-05-09.12345678901.partial", false},
        {"2026-12-06_14-05-09.123456789012.partial", true},  // no process number is that long
        {"2026-12-06_14-05-09.5.partial", false},
        {"2026-12-06_14-05-09.5x.partial", true},
        {"kept.5abcdefgh", true},
    };
    for (const auto& [name, backup] : cases) {
        SCOPED_TRACE(name);
        TempFolder root;
        StdFileSystem files;
        fs::create_directory(root.path / name);
        writeBytes(root.path / name / "backup-info.txt", "Font folder: /f\n");
        std::string error;
        EXPECT_EQ(readBackup(files, root.text(name), error).has_value(), backup);
        EXPECT_EQ(error.find("was never finished") != std::string::npos, !backup) << error;
        EXPECT_EQ(listBackups(files, root.text()).size(), backup ? 1u : 0u);
    }
}

// The lock's own file, as a copy of this program writes it.
std::string lockOf(std::uint64_t process, const std::string& host, const std::string& written) {
    return "process " + std::to_string(process) + "\nhost " + host + "\nsince today\n" + written;
}

// A process number no process has: the largest Linux hands out is 4,194,304.
constexpr std::uint64_t kNoProcess = 2'000'000'000u;

TEST(CopyLock, ALockIsTakenOverOnlyFromACopyThatIsProvablyGone) {
    const std::string host = platform::hostName();
    const std::string self = std::to_string(platform::currentProcessId());
    // what stands at the lock's name, how a stranger is met, a part of the refusal (empty: taken)
    const std::tuple<std::string, CopyLock::Stranger, std::string> cases[] = {
        {lockOf(kNoProcess, host, "written 5\n"), CopyLock::Stranger::Refuse, ""},
        {lockOf(kNoProcess, host, ""), CopyLock::Stranger::Refuse, ""},
        {lockOf(1, host, "written 5\n"), CopyLock::Stranger::Refuse, ""},  // began after it
        {lockOf(1, host, ""), CopyLock::Stranger::Refuse, "Another copy into \""},
        {lockOf(platform::currentProcessId(), host, "written 5\n"), CopyLock::Stranger::Refuse,
         "Another copy into \""},
        {lockOf(kNoProcess, "another-pc", "written 5\n"), CopyLock::Stranger::Refuse,
         "Another computer, another-pc, holds the lock \""},
        {lockOf(kNoProcess, "another-pc", "written 5\n"), CopyLock::Stranger::Remove, ""},
        {lockOf(1, host, ""), CopyLock::Stranger::Remove, "Another copy into \""},
        // not a lock of ours: refused at once, whatever its owner
        {lockOf(kNoProcess, host, "written 5"), CopyLock::Stranger::Refuse, "no copy of this"},
        {lockOf(kNoProcess, host, "written 5\nmore\n"), CopyLock::Stranger::Refuse,
         "no copy of this"},
        {lockOf(kNoProcess, host, "written x\n"), CopyLock::Stranger::Refuse, "no copy of this"},
        {lockOf(kNoProcess, host, "written 1234567890123456789\n"), CopyLock::Stranger::Refuse,
         "no copy of this"},
        {lockOf(0, host, ""), CopyLock::Stranger::Refuse, "no copy of this"},
        {lockOf(kNoProcess, "", ""), CopyLock::Stranger::Refuse, "no copy of this"},
        {lockOf(kNoProcess, host + "\x1b", ""), CopyLock::Stranger::Refuse, "no copy of this"},
        {"process 5\nhost " + host + "\n", CopyLock::Stranger::Refuse, "no copy of this"},
        {"process 5\nhost " + host + "\nsince \x7f\n", CopyLock::Stranger::Refuse,
         "no copy of this"},
        {"host x\nprocess 5\nsince now\n", CopyLock::Stranger::Refuse, "no copy of this"},
        {"", CopyLock::Stranger::Refuse, "no copy of this program wrote (it holds \"\")"},
        {"", CopyLock::Stranger::Remove, ""},
    };
    for (const auto& [held, stranger, refusal] : cases) {
        SCOPED_TRACE(held + (stranger == CopyLock::Stranger::Remove ? " (remove)" : ""));
        TempFolder folder;
        StdFileSystem files;
        writeBytes(folder.path / kCopyLockName, held);
        std::string error;
        {
            const CopyLock lock =
                CopyLock::take(files, folder.text(), std::chrono::milliseconds(0), error, stranger);
            EXPECT_EQ(lock.held(), refusal.empty());
            if (refusal.empty()) {
                EXPECT_EQ(error, "");
                EXPECT_TRUE(isCopyTag(lock.tag())) << lock.tag();
                EXPECT_TRUE(lock.tag().starts_with(self + "-")) << lock.tag();
                EXPECT_EQ(listing(folder.path), kCopyLockName);
                const std::string mine = readBytes(folder.path / kCopyLockName);
                EXPECT_TRUE(mine.starts_with("process " + self + "\nhost " + host + "\nsince "))
                    << mine;
            } else {
                EXPECT_THAT(error, HasSubstr(refusal));
                EXPECT_THAT(error, HasSubstr(folder.text(kCopyLockName)));
                EXPECT_EQ(listing(folder.path), kCopyLockName);  // no draft left beside it
                EXPECT_EQ(readBytes(folder.path / kCopyLockName), held);
            }
        }
        // A lock released is gone; one refused is left to its owner.
        EXPECT_EQ(listing(folder.path), refusal.empty() ? "" : kCopyLockName);
    }
}

TEST(CopyLock, AFolderAtTheLocksNameIsRemovedOnlyWhenEmptyAndWhenAsked) {
    // files in the folder, how a stranger is met, whether the lock is taken
    const std::tuple<bool, CopyLock::Stranger, std::string> cases[] = {
        {false, CopyLock::Stranger::Remove, ""},
        {true, CopyLock::Stranger::Remove, "is a folder with files in it"},
        {false, CopyLock::Stranger::Refuse, "no copy of this program wrote"},
    };
    for (const auto& [full, stranger, refusal] : cases) {
        SCOPED_TRACE(refusal);
        TempFolder folder;
        StdFileSystem files;
        fs::create_directory(folder.path / kCopyLockName);
        if (full) {
            writeBytes(folder.path / kCopyLockName / "kept", "kept");
        }
        std::string error;
        const CopyLock lock =
            CopyLock::take(files, folder.text(), std::chrono::milliseconds(0), error, stranger);
        EXPECT_EQ(lock.held(), refusal.empty());
        if (refusal.empty()) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_THAT(error, HasSubstr(refusal));
            EXPECT_TRUE(fs::is_directory(folder.path / kCopyLockName));
            EXPECT_EQ(listing(folder.path), kCopyLockName);
        }
        if (full) {
            EXPECT_EQ(readBytes(folder.path / kCopyLockName / "kept"), "kept");
        }
    }
}

TEST(CopyLock, TagsAndLeftoversAreKnownByTheirWholeShape) {
    // a tag, whether it is one of ours
    const std::pair<std::string, bool> tags[] = {
        {"12-af09", true},
        {"1-0", true},
        {std::string(20, '1') + "-" + std::string(19, 'a'), true},
        {"-af", false},
        {"12-", false},
        {"12", false},
        {"12-AF", false},
        {"1a-af", false},
        {std::string(20, '1') + "-" + std::string(20, 'a'), false},
        {"12-a-b", false},
        {"12-xab", false},
        {"12-a/", false},
    };
    for (const auto& [tag, ours] : tags) {
        EXPECT_EQ(isCopyTag(tag), ours) << tag;
    }
    const std::string gone = std::to_string(kNoProcess);
    const std::string running = std::to_string(platform::currentProcessId());
    // a name in a font folder, whether a killed lock attempt left it
    const std::pair<std::string, bool> names[] = {
        {".tessavine-copy.lock." + gone + "-ab.new", true},
        {".tessavine-copy.lock." + running + "-ab.new", false},
        {".tessavine-copy.lock.0-ab.new", false},
        {".tessavine-copy.lock.-ab.new", false},
        // 2^64 + 2,000,000,000: beyond any process number, not one that wraps round to a gone one
        {".tessavine-copy.lock.18446744075709551616-ab.new", false},
        {".tessavine-copy.lock." + gone + "-ab.old", false},
        {".tessavine-copy.lock.1-ab.stale", true},
        {".tessavine-copy.lock", false},
        {".tessavine-copy.lockx" + gone + "-ab.new", false},
        {"ltn0.pgf", false},
    };
    for (const auto& [name, leftover] : names) {
        EXPECT_EQ(isLockLeftover(name), leftover) << name;
    }
}

}  // namespace
}  // namespace tessavine
