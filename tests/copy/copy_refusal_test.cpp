// What tessavine-copy refuses, called in-process on real files: each refusal is one line, a
// failure exit, and leaves the program folder, the user's fonts and the PSP byte for byte as
// they were.
#include <sstream>

#include "copy_scene.h"
#include "core/copy_lock.h"
#include "core/font_copy_command.h"
#include "core/font_slots.h"
#include "pgf/firmware_slots.h"

namespace tessavine {
namespace {

using namespace testing_support;

// The real file system, with something happening in the world when a folder is looked at.
struct WatchedFileSystem final : StdFileSystem {
    std::function<void(const std::string&)> onFolderQuery;
    bool folderExists(const std::string& path) const override {
        if (onFolderQuery) {
            onFolderQuery(path);
        }
        return StdFileSystem::folderExists(path);
    }
};

struct CopyRun {
    int exitCode = -1;
    std::string out, err;
};

CopyRun copy(CopyScene& s, WatchedFileSystem& files, const std::vector<std::string>& arguments,
             const std::vector<std::string>& roots) {
    std::ostringstream out, err;
    CopyRun run;
    ScriptedPrompts prompts;
    run.exitCode = runCopy(arguments, s.program.text(), roots, files, ScriptedFreeSpace(), prompts,
                           out, err, std::chrono::system_clock::now());
    EXPECT_TRUE(prompts.questions.empty() && prompts.warnings.empty() && prompts.messages.empty());
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CopyRefusal, EveryRefusalLeavesEverythingAsItWas) {
    struct Case {
        std::string name;
        std::function<std::vector<std::string>(CopyScene&)> prepare;  // gives the arguments
        std::string words;
    };
    const auto jpn0 = [](CopyScene& s) {
        return std::vector<std::string>{s.work.text("jpn0.pgf")};
    };
    const Case cases[] = {
        {"a text file named jpn0.pgf",
         [&](CopyScene& s) {
             writeBytes(s.work.path / "jpn0.pgf", "not a font at all");
             return jpn0(s);
         },
         "The font file jpn0.pgf cannot go onto the PSP: \""},
        {"a PGF font cut short",
         [&](CopyScene& s) {
             writeBytes(s.work.path / "jpn0.pgf", testPgf("our jpn0").substr(0, 300));
             return jpn0(s);
         },
         "is not a whole PGF font"},
        {"a non-font in a --set folder",
         [](CopyScene& s) {
             writeBytes(s.work.path / "set" / "ltn3.pgf", "");
             return std::vector<std::string>{s.work.text("set")};
         },
         "The font file ltn3.pgf cannot go onto the PSP"},
        {"a font named for no slot",
         [](CopyScene& s) {
             fs::rename(s.work.path / "jpn0.pgf", s.work.path / "jpn1.pgf");
             return std::vector<std::string>{s.work.text("jpn1.pgf")};
         },
         "jpn1.pgf\" is not named as a font slot file (ltn0.pgf to ltn15.pgf, or jpn0.pgf)"},
        {"a slot name in another case",
         [](CopyScene& s) {
             fs::rename(s.work.path / "jpn0.pgf", s.work.path / "JPN0.PGF");
             return std::vector<std::string>{s.work.text("JPN0.PGF")};
         },
         "is not named as a font slot file"},
        {"a folder holding no slot file",
         [](CopyScene& s) {
             for (const char* slot : {"ltn0.pgf", "ltn1.pgf", "ltn3.pgf"}) {
                 fs::remove(s.work.path / "set" / slot);
             }
             return std::vector<std::string>{s.work.text("set")};
         },
         "holds no font slot file"},
        {"a set its run left unfinished",
         [](CopyScene& s) {
             writeBytes(s.work.path / "set" / ".ttf2pgf-set.journal", "unfinished");
             return std::vector<std::string>{s.work.text("set")};
         },
         "are an unfinished set"},
        {"one slot from two places",
         [](CopyScene& s) {
             writeBytes(s.work.path / "ltn1.pgf", letteredPgf("another ltn1"));
             return std::vector<std::string>{s.work.text("set"), s.work.text("ltn1.pgf")};
         },
         "ltn1.pgf is named twice"},
        {"the lock held by a running copy",
         [](CopyScene& s) {
             return std::vector<std::string>{s.work.text("jpn0.pgf")};  // locked below
         },
         "Another copy into \""},
        {"a folder where the font must go",
         [&](CopyScene& s) {
             fs::remove(s.fonts() / "jpn0.pgf");
             fs::create_directory(s.fonts() / "jpn0.pgf");
             return jpn0(s);
         },
         "A folder named jpn0.pgf stands where that font must go on the PSP"},
        {"a file where the backup folder must go",
         [&](CopyScene& s) {
             writeBytes(s.program.path / "backup", "a file, not the backup folder");
             return jpn0(s);
         },
         "could not be backed up"},
        {"no PSP connected",
         [](CopyScene& s) {
             fs::remove_all(s.stick.path / "PSP");
             return std::vector<std::string>{s.work.text("jpn0.pgf")};
         },
         "No PSP was found"},
        {"a font folder named that is not there",
         [](CopyScene& s) {
             return std::vector<std::string>{"--to", s.stick.text("FONT2"),
                                             s.work.text("jpn0.pgf")};
         },
         "FONT2\" is not there"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CopyScene s;
        WatchedFileSystem files;
        const std::vector<std::string> arguments = c.prepare(s);
        const std::string before = s.allSums();
        // This process runs, so its lock is a running copy's: waited for, then reported.
        std::string lockError;
        std::optional<CopyLock> held;
        if (c.name.starts_with("the lock")) {
            held.emplace(CopyLock::take(files, s.fonts().string(), {}, lockError));
            ASSERT_TRUE(held->held()) << lockError;
        }
        const CopyRun run = copy(s, files, arguments, {s.work.text("no drive"), s.stick.text()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(run.err, HasSubstr(c.words));
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        std::string lower = run.err;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char letter) {
            return static_cast<char>(std::tolower(letter));
        });
        EXPECT_THAT(lower, testing::AnyOf(HasSubstr("nothing was copied"),
                                          HasSubstr("nothing was changed")));
        EXPECT_THAT(run.out, Not(HasSubstr("copied to")));
        held.reset();
        EXPECT_EQ(s.allSums(), before);
    }
}

// The PSP disconnected between being found and being written to: its mount point stays behind
// as an empty folder of this computer, or goes too. Nothing lands there, the font folder
// included, and the program folder gets no backup.
TEST(CopyRefusal, APspGoneAfterItWasFoundReceivesNothing) {
    for (const bool mountPointStays : {true, false}) {
        SCOPED_TRACE(mountPointStays ? "an empty mount point stays" : "the root goes");
        CopyScene s;
        WatchedFileSystem files;
        const std::string programBefore = treeSums(s.program.path);
        // The scan looks at both marks of the root; the card goes while it does.
        files.onFolderQuery = [&](const std::string& path) {
            if (path.ends_with("kd") && fs::exists(s.stick.path / "PSP")) {
                fs::remove_all(s.stick.path / "PSP");
                fs::remove_all(s.fonts());
                if (!mountPointStays) {
                    fs::remove(s.stick.path);
                }
            }
        };
        const CopyRun run = copy(s, files, {s.work.text("jpn0.pgf")}, {s.stick.text()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(run.err, HasSubstr("The PSP at " + s.stick.text() +
                                       " is gone: it was disconnected before the copy began, so "
                                       "nothing was copied."));
        EXPECT_EQ(mountPointStays, fs::exists(s.stick.path));
        if (mountPointStays) {
            EXPECT_EQ(listing(s.stick.path), "");
        }
        EXPECT_EQ(treeSums(s.program.path), programBefore);
    }
}

// jpn0.pgf is a slot everywhere a slot name is checked, and no other name is: the name the
// firmware table gives the big font, the names the copy, the journal and the backup note take.
TEST(CopyRefusal, TheBigFontIsASlotLikeTheLatinOnesAndNothingElseIs) {
    EXPECT_EQ(kBigFontFileName, std::string(pgf::firmwareSlot(pgf::kBigFontSlot).fileName));
    const std::pair<const char*, bool> names[] = {
        {"ltn0.pgf", true},     {"ltn15.pgf", true},  {"jpn0.pgf", true}, {"ltn16.pgf", false},
        {"jpn1.pgf", false},    {"jpn0.pgf ", false}, {"kr0.pgf", false}, {"JPN0.pgf", false},
        {"../jpn0.pgf", false}, {"jpn0", false}};
    for (const auto& [name, slot] : names) {
        EXPECT_EQ(isSlotFileName(name), slot) << name;
    }
    EXPECT_EQ(fontSlotFileNames().size(), 17u);
    EXPECT_EQ(fontSlotFileNames().back(), "jpn0.pgf");
}

}  // namespace
}  // namespace tessavine
