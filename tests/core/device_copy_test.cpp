// The copy onto a PSP after Yes: a backup first, the whole set or nothing, a space check, a
// device that must still be there, and no temporary file of ours left behind.
#include <algorithm>
#include <map>
#include <regex>

#include "core/device_step.h"
#include "core/font_backup.h"
#include "core/font_set_copy.h"
#include "core/paths.h"
#include "core/std_file_system.h"
#include "core/std_free_space.h"
#include "support.h"

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace tessavine {
namespace {

using namespace testing_support;
using Files = std::map<std::string, std::string>;
using Slots = std::vector<int>;

// The real file system, with a copy or a rename onto a chosen file name failing as a device
// that stops answering fails.
struct FaultyFileSystem final : StdFileSystem {
    std::string failCopyTo, failRenameTo;
    std::string copyFile(const std::string& source, const std::string& destination) override {
        return !failCopyTo.empty() && destination.ends_with(failCopyTo)
                   ? "Could not copy to \"" + destination + "\": Input/output error."
                   : StdFileSystem::copyFile(source, destination);
    }
    std::string copyToNewFile(const std::string& source, const std::string& destination) override {
        return !failCopyTo.empty() && destination.ends_with(failCopyTo)
                   ? "Could not copy to \"" + destination + "\": Input/output error."
                   : StdFileSystem::copyToNewFile(source, destination);
    }
    // The new fonts' temporary files, whose names carry a tag of the run after the name given.
    std::string createNewFile(const std::string& path, const std::string& bytes) override {
        return !failCopyTo.empty() && path.find(failCopyTo) != std::string::npos
                   ? "Could not write \"" + path + "\": Input/output error."
                   : StdFileSystem::createNewFile(path, bytes);
    }
    std::string renameReplacing(const std::string& from, const std::string& to) override {
        return !failRenameTo.empty() && to.ends_with(failRenameTo)
                   ? "Could not rename to \"" + to + "\": Input/output error."
                   : StdFileSystem::renameReplacing(from, to);
    }
};

std::string name(int slot) {
    return "ltn" + std::to_string(slot) + ".pgf";
}
// Old fonts of different lengths, so that a copy of the wrong one shows.
std::string oldFont(int slot) {
    return testPgf("old " + std::to_string(slot), 300 + static_cast<std::size_t>(slot) * 37);
}
std::string newFont(int slot) {
    return testPgf("new " + std::to_string(slot));
}

// Every entry of a folder with its bytes; a folder shows as "(folder)".
Files contents(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] =
            entry.is_directory() ? "(folder)" : readBytes(entry.path());
    }
    return files;
}

// A program folder with new slot files and a Memory Stick with old fonts; the device step
// between them.
struct Device {
    Device(const Slots& fresh, const Slots& old) {
        fs::create_directories(stick.path / "PSP" / "GAME");
        fs::create_directories(fonts());
        for (int slot : fresh) {
            writeBytes(program.path / name(slot), newFont(slot));
        }
        for (int slot : old) {
            writeBytes(fonts() / name(slot), oldFont(slot));
        }
    }
    fs::path fonts() const { return stick.path / "font"; }
    fs::path backupRoot() const { return program.path / "backup"; }
    void step() { copyFontsToDevice(files, space, prompts, timer, program.text(), {stick.text()}); }
    std::vector<fs::path> backups() const { return sortedEntries(backupRoot()); }

    TempFolder program, stick;
    FaultyFileSystem files;
    ScriptedFreeSpace space;
    ScriptedPrompts prompts;
    FakeTimer timer;
};

TEST(DeviceCopy, TheFontsReplacedAreBackedUpByteForByteAndTheRestIsLeftAlone) {
    const Slots all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    // new slot files, old fonts on the device; a backup holds the old fonts of both
    // and the slots the copy fills, as its note lists them
    const std::tuple<Slots, Slots, std::string> cases[] = {{{0, 3, 15}, {0, 9, 15}, " ltn3.pgf"},
                                                           {{15}, {15}, ""},
                                                           {{0, 3}, {}, " ltn0.pgf ltn3.pgf"},
                                                           {{4}, {5}, " ltn4.pgf"},
                                                           {all, all, ""}};
    for (const auto& [fresh, old, added] : cases) {
        SCOPED_TRACE(::testing::PrintToString(fresh) + " over " + ::testing::PrintToString(old));
        Device d(fresh, old);
        d.step();
        EXPECT_THAT(d.prompts.messages, ::testing::IsEmpty());

        Files device, backup;
        for (int slot : old) {
            device[name(slot)] = oldFont(slot);
        }
        for (int slot : fresh) {
            device[name(slot)] = newFont(slot);
            if (std::count(old.begin(), old.end(), slot) != 0) {
                backup[name(slot)] = oldFont(slot);
            }
        }
        EXPECT_EQ(contents(d.fonts()), device);
        // Also a copy that replaces nothing leaves a backup: its note says which slots it
        // filled, so that putting it back empties them again.
        const std::vector<fs::path> backups = d.backups();
        ASSERT_EQ(backups.size(), 1u);
        Files made = contents(backups[0]);
        const std::string note = made["backup-info.txt"];
        made.erase("backup-info.txt");
        EXPECT_EQ(made, backup);
        EXPECT_THAT(note, HasSubstr("Font folder: " + d.stick.text("font") + "\n"));
        EXPECT_THAT(note,
                    HasSubstr(added.empty() ? "Fonts:" : "\nAdded by the copy: " + added + "\n"));
        EXPECT_EQ(note.find("Added by the copy"),
                  added.empty() ? std::string::npos : note.find("Added by the copy"));
        EXPECT_TRUE(
            std::regex_search(note, std::regex("Made: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d")));
        EXPECT_TRUE(std::regex_match(backups[0].filename().string(),
                                     std::regex("\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d")));
    }
}

TEST(DeviceCopy, EveryRunMakesABackupOfItsOwnEvenWithinOneSecond) {
    Device d({0, 15}, {0, 15});
    d.step();
    writeBytes(d.program.path / name(0), testPgf("newer 0"));
    d.step();
    const std::vector<fs::path> backups = d.backups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(readBytes(backups[0] / name(0)), oldFont(0));
    EXPECT_EQ(readBytes(backups[1] / name(0)), newFont(0));  // what the first run put there
    EXPECT_EQ(readBytes(d.fonts() / name(0)), testPgf("newer 0"));

    // Backups of the same second, numbered on, and listed newest first.
    TempFolder root;
    StdFileSystem files;
    const auto when = std::chrono::system_clock::now();
    std::vector<std::string> made;
    for (int run = 0; run < 11; ++run) {
        const BackupOutcome backup =
            backUpFonts(files, root.text(), d.fonts().string(), {name(0)}, {}, when);
        ASSERT_EQ(backup.error, "");
        made.push_back(fs::path(backup.folder).filename().string());
    }
    EXPECT_EQ(made[1], made[0] + "_2");
    EXPECT_EQ(made[10], made[0] + "_11");
    const std::vector<BackupRecord> listed = listBackups(files, root.text());
    ASSERT_EQ(listed.size(), 11u);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(fs::path(listed[i].folder).filename().string(), made[10 - i]);
    }
    EXPECT_EQ(listed[0].fonts, std::vector<std::string>{name(0)});
}

TEST(DeviceCopy, AFailureBeforeTheRenamesLeavesEveryOldFontAndNoTemporaryFile) {
    const Slots fresh = {0, 3, 7, 15};
    const Slots old = {0, 7, 9};
    const std::uintmax_t plenty = 1u << 30;
    // what goes wrong, a part of the message, whether a backup is left
    const std::tuple<std::function<void(Device&)>, std::string, bool> cases[] = {
        {[](Device& d) { fs::create_directory(d.fonts() / "ltn3.pgf"); }, "ltn3.pgf stands", false},
        {[](Device& d) { writeBytes(d.program.path / "ltn7.pgf", "not a font"); },
         "ltn7.pgf cannot go onto the PSP", false},
        {[](Device& d) { writeBytes(d.program.path / "ltn7.pgf", ""); },
         "ltn7.pgf cannot go onto the PSP", false},
        {[](Device& d) { writeBytes(d.backupRoot(), "a file in the way"); },
         "could not be backed up", false},
        {[](Device& d) { d.files.failCopyTo = std::string(1, kPathSeparator) + "ltn7.pgf"; },
         "could not be backed up. Nothing was copied", false},  // after ltn0.pgf was
        // the backup's note cannot be written: fonts without it would pass for no backup
        {[](Device& d) { d.files.failCopyTo = "backup-info.txt"; },
         "backup-info.txt\": Input/output error. If the drive of the program folder is full",
         false},
        // four fonts of 5 bytes take a 32 KB cluster each: 128 KB
        {[](Device& d) { d.space.answers = {128 * 1024 - 1}; },
         "the new fonts need 128.0 KB, and 128.0 KB are free", false},
        {[](Device& d) { d.space.answers = {50000}; }, "need 128.0 KB, and 48.8 KB are free",
         false},
        {[plenty](Device& d) {
             d.space.answers = {plenty, 3};  // the drive fills up during the copy
             d.files.failCopyTo = ".ltn15.pgf.tessavine.";
         },
         "ltn15.pgf did not fit: the PSP is full", true},
        {[plenty](Device& d) {
             d.space.answers = {plenty};
             d.files.failCopyTo = ".ltn3.pgf.tessavine.";
         },
         "ltn3.pgf could not be written to the PSP. Nothing was copied", true}};
    for (const auto& [fault, message, backedUp] : cases) {
        SCOPED_TRACE(message);
        Device d(fresh, old);
        fault(d);
        Files before = contents(d.fonts());
        d.step();
        EXPECT_EQ(contents(d.fonts()), before);
        ASSERT_EQ(d.prompts.messages.size(), 1u);
        EXPECT_THAT(d.prompts.messages[0], HasSubstr(message));
        EXPECT_EQ(d.backups().size(), backedUp ? 1u : 0u);
    }
}

TEST(DeviceCopy, ARenameThatFailsHalfWayPutsTheOldSetBackAndSaysWhereTheBackupIs) {
    Device d({0, 3, 7, 9}, {0, 7});
    d.files.failRenameTo = std::string(1, kPathSeparator) + "ltn7.pgf";
    d.step();
    // ltn0 and ltn3 were new already; ltn7 cannot be renamed: the old set is the one whole set.
    EXPECT_EQ(contents(d.fonts()), (Files{{"ltn0.pgf", oldFont(0)}, {"ltn7.pgf", oldFont(7)}}));
    ASSERT_EQ(d.backups().size(), 1u);
    ASSERT_EQ(d.prompts.messages.size(), 1u);
    const std::string& message = d.prompts.messages[0];
    for (const std::string& part :
         std::vector<std::string>{"stopped half-way, at ltn7.pgf", "was undone",
                                  "kept in \"" + d.backups()[0].string() + "\""}) {
        EXPECT_THAT(message, HasSubstr(part));
    }
}

TEST(DeviceCopy, ADeviceGoneWhileTheQuestionIsOpenReceivesNothing) {
    // the mark, the answer
    const std::pair<const char*, bool> cases[] = {
        {"PSP/GAME", true}, {"kd", true}, {"PSP/GAME", false}};
    for (const auto& [mark, yes] : cases) {
        SCOPED_TRACE(std::string(mark) + (yes ? ", Yes" : ", No"));
        Device d({0, 3}, {});
        fs::remove_all(d.stick.path / "PSP");
        fs::remove_all(d.fonts());
        fs::create_directories(d.stick.path / mark);
        d.prompts.answer = yes;
        // The card is pulled: what stays is the empty mount point on this computer's disk.
        const fs::path top = fs::path(mark).begin()->string();
        d.prompts.whileAsking = [&d, top] { fs::remove_all(d.stick.path / top); };
        d.step();
        EXPECT_EQ(listing(d.stick.path), "");
        EXPECT_EQ(d.prompts.messages.size(), yes ? 1u : 0u);
        EXPECT_THAT(d.prompts.messages, ::testing::Each(HasSubstr("is gone")));
    }
}

TEST(DeviceCopy, TemporaryFilesLeftByAnInterruptedCopyOfOursGoAndOthersStay) {
    Device d({0, 15}, {15});
    const std::vector<std::string> ours = {
        ".ltn0.pgf.tessavine.tmp", ".ltn15.pgf.tessavine.tmp", ".ltn3.pgf.tessavine-20811.tmp",
        ".tessavine-copy.lock.1-ab.stale", ".tessavine-copy.journal.1-ab.part"};
    const std::vector<std::string> others = {".ltn3.pgf.other.tmp", ".notes.tessavine.tmp",
                                             "ltn3.pgf.tessavine.tmp", ".ltn16.pgf.tessavine.tmp"};
    for (const std::string& file : ours) {
        writeBytes(d.fonts() / file, "left by a killed run");
    }
    for (const std::string& file : others) {
        writeBytes(d.fonts() / file, "someone else's");
    }
    d.step();
    EXPECT_EQ(listing(d.fonts()),
              ".ltn16.pgf.tessavine.tmp .ltn3.pgf.other.tmp .notes.tessavine.tmp ltn0.pgf "
              "ltn15.pgf ltn3.pgf.tessavine.tmp");
    EXPECT_EQ(readBytes(d.fonts() / "ltn15.pgf"), newFont(15));
}

TEST(DeviceCopy, LettersTheFontLacksAreWarnedOfBeforeTheQuestion) {
    Device d({0}, {});
    d.prompts.answer = false;
    d.prompts.whileAsking = [&d] { EXPECT_EQ(d.prompts.warnings.size(), 1u); };
    copyFontsToDevice(d.files, d.space, d.prompts, d.timer, d.program.text(), {d.stick.text()},
                      nullptr, {U'A', U'b'});
    ASSERT_EQ(d.prompts.warnings.size(), 1u);
    EXPECT_THAT(d.prompts.warnings[0], HasSubstr("The font made lacks 2 of the"));
    EXPECT_EQ(d.prompts.questions.size(), 1u);
    EXPECT_EQ(listing(d.fonts()), "");
}

// The drive's own free space first says there is room, then tells the truth: what a drive that
// another program fills meanwhile looks like.
struct RoomThenTruth final : FreeSpace {
    mutable bool asked = false;
    std::optional<std::uintmax_t> availableBytes(const std::string& folder) const override {
        return std::exchange(asked, true) ? StdFreeSpace().availableBytes(folder)
                                          : std::optional<std::uintmax_t>(1u << 30);
    }
};

// A Memory Stick of 64 KB: a small file system of its own, mounted where the test says.
struct SmallDrive {
    explicit SmallDrive(const fs::path& mountPoint) : at(mountPoint) {
#ifdef __linux__
        mounted = ::mount("tessavine-test", at.c_str(), "tmpfs", 0, "size=64k") == 0;
#endif
    }
    ~SmallDrive() {
#ifdef __linux__
        if (mounted) {
            ::umount(at.c_str());
        }
#endif
    }
    fs::path at;
    bool mounted = false;
};

TEST(DeviceCopy, ARealDriveThatIsTooSmallOrFillsUpKeepsItsOldFonts) {
    // the free space the copy is told first (none: the drive's own), the message
    const std::pair<bool, std::string> cases[] = {
        // two 40,000-byte fonts at 32 KB clusters; of the 64 KB a 4 KB page holds the old font
        // and one the copy's lock
        {false, "the new fonts need 128.0 KB, and 56.0 KB are free"},
        {true, "ltn3.pgf did not fit: the PSP is full"}};
    for (const auto& [lied, message] : cases) {
        SCOPED_TRACE(message);
        Device d({}, {});
        SmallDrive drive(d.stick.path);
        if (!drive.mounted) {
            GTEST_SKIP() << "this system does not let the test mount a small file system";
        }
        fs::create_directories(d.stick.path / "PSP" / "GAME");
        fs::create_directories(d.fonts());
        writeBytes(d.fonts() / "ltn0.pgf", "old");
        writeBytes(d.program.path / "ltn0.pgf", testPgf("a", 40000));
        writeBytes(d.program.path / "ltn3.pgf", testPgf("b", 40000));
        const RoomThenTruth roomThenTruth;
        const StdFreeSpace truth;
        copyFontsToDevice(d.files, lied ? static_cast<const FreeSpace&>(roomThenTruth) : truth,
                          d.prompts, d.timer, d.program.text(), {d.stick.text()});
        EXPECT_EQ(contents(d.fonts()), (Files{{"ltn0.pgf", "old"}}));
        EXPECT_THAT(d.prompts.messages, ElementsAre(HasSubstr(message)));
    }
}

}  // namespace
}  // namespace tessavine
