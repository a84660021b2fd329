// Fonts made in memory copied into an output folder that keeps no backup, as ttf2pgf --set does;
// what an interrupted copy of that kind leaves and how the next one settles it; and the journal
// of the earlier --set, settled only when it reads as one of its own.
#include "core/copy_journal.h"
#include "core/earlier_set_journal.h"
#include "core/font_set_copy.h"
#include "core/std_file_system.h"
#include "support.h"

namespace tessavine {
namespace {

using namespace testing_support;

std::string name(int slot) {
    return "ltn" + std::to_string(slot) + ".pgf";
}
std::string oldFont(int slot) {
    return testPgf("old " + std::to_string(slot), 400 + static_cast<std::size_t>(slot) * 11);
}
std::string newFont(int slot) {
    return testPgf("new " + std::to_string(slot));
}

struct OutputFolder {
    OutputFolder() {
        for (int slot : {0, 1, 2}) {
            writeBytes(folder.path / name(slot), oldFont(slot));
        }
        writeBytes(folder.path / "notes.txt", "the user's");
    }
    FontSetCopyOutcome copy(std::vector<FontBytes> made) {
        FontSetCopy request{{}, folder.text(), {}, "the folder", "run it again"};
        request.made = std::move(made);
        return copyFontSet(files, ScriptedFreeSpace(), request, std::chrono::system_clock::now());
    }
    std::string journalOf(const std::string& lines) const {
        return "tessavine copy journal 1\nno backup\n" + lines + "end\n";
    }
    TempFolder folder, program;
    StdFileSystem files;
};

TEST(OutputFolderCopy, FontsMadeInMemoryReplaceTheOldOnesWithoutABackup) {
    OutputFolder o;
    const FontSetCopyOutcome outcome =
        o.copy({{name(0), newFont(0)}, {name(1), newFont(1)}, {name(5), newFont(5)}});
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.backupFolder, "");
    EXPECT_EQ(listing(o.folder.path), "ltn0.pgf ltn1.pgf ltn2.pgf ltn5.pgf notes.txt");
    EXPECT_EQ(readBytes(o.folder.path / "ltn1.pgf"), newFont(1));
    EXPECT_EQ(readBytes(o.folder.path / "ltn2.pgf"), oldFont(2));
    EXPECT_EQ(readBytes(o.folder.path / "ltn5.pgf"), newFont(5));
}

TEST(OutputFolderCopy, WhatIsNoWholeFontOfASlotIsRefusedBeforeAnythingChanges) {
    // the fonts given, a part of the message
    const std::pair<std::vector<FontBytes>, std::string> cases[] = {
        {{{name(0), newFont(0)}, {name(1), "not a font"}}, "ltn1.pgf is not a whole PGF font"},
        {{{name(0), newFont(0)}, {"notes.txt", newFont(1)}}, "no font slot's file name"},
        {{{"../ltn0.pgf", newFont(0)}}, "no font slot's file name"},
        {{{name(0), newFont(0)}, {name(0), newFont(1)}}, "Two of the new fonts are named ltn0.pgf"},
        {{{name(3), std::string(16u * 1024 * 1024 + 1, 'x')}}, "larger than any PGF font"}};
    for (const auto& [made, message] : cases) {
        SCOPED_TRACE(message);
        OutputFolder o;
        const std::string before = listing(o.folder.path);
        const FontSetCopyOutcome outcome = o.copy(made);
        EXPECT_THAT(outcome.error, HasSubstr(message));
        EXPECT_THAT(outcome.error, HasSubstr("Nothing was copied"));
        EXPECT_EQ(listing(o.folder.path), before);
        EXPECT_EQ(readBytes(o.folder.path / "ltn0.pgf"), oldFont(0));
    }
}

// A copy without backup ended after its journal: the states the folder can be found in, and
// what the next copy into it (or --finish) makes of each.
TEST(OutputFolderCopy, AnInterruptedCopyIsFinishedWhenItsNewFontsAreWholeAndNeverUndone) {
    const std::string t0 = ".ltn0.pgf.tessavine.7-ab.tmp";
    const std::string t1 = ".ltn1.pgf.tessavine.7-ab.tmp";
    const auto line = [](int slot, const std::string& temporary) {
        const std::string bytes = newFont(slot);
        return "font " + name(slot) + " " + temporary + " " + std::to_string(bytes.size()) + " " +
               std::to_string(contentSum(bytes)) + " 0 0 0\n";
    };
    struct Case {
        std::string what;
        std::vector<std::pair<std::string, std::string>> files;  // put there before
        std::string report;
        std::string ltn0, ltn1;  // what the slots hold after
    };
    const std::string script = "#!/bin/sh\n";
    const Case cases[] = {
        {"both new fonts still under their temporary names",
         {{t0, newFont(0)}, {t1, newFont(1)}},
         "was finished: it holds the new ltn0.pgf ltn1.pgf.",
         newFont(0),
         newFont(1)},
        {"ended between the two renames",
         {{name(0), newFont(0)}, {t1, newFont(1)}},
         "was finished",
         newFont(0),
         newFont(1)},
        {"the second new font damaged: no backup to undo with, only its own files go",
         {{name(0), newFont(0)}, {t1, newFont(1).substr(0, 40)}},
         "could not be finished, as some of its new fonts are damaged or gone, and no copy of "
         "the fonts it replaced was kept. Of ltn0.pgf ltn1.pgf, these hold the new fonts: "
         "ltn0.pgf. Write the whole set again.",
         newFont(0),
         oldFont(1)},
        {"a script at a temporary name",
         {{t0, script}, {t1, newFont(1)}},
         "could not be finished",
         oldFont(0),
         oldFont(1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputFolder o;
        std::string lines = line(0, t0) + line(1, t1);
        if (c.what.starts_with("a script")) {
            lines = "font ltn0.pgf " + t0 + " " + std::to_string(script.size()) + " " +
                    std::to_string(contentSum(script)) + " 0 0 0\n" + line(1, t1);
        }
        writeBytes(o.folder.path / kCopyJournalName, o.journalOf(lines));
        for (const auto& [file, bytes] : c.files) {
            writeBytes(o.folder.path / file, bytes);
        }
        const FontSetCopyOutcome outcome =
            finishInterruptedCopy(o.files, o.folder.text(), o.program.text("backup"), false);
        EXPECT_EQ(outcome.error, "");
        EXPECT_THAT(outcome.completed, HasSubstr(c.report));
        EXPECT_EQ(listing(o.folder.path), "ltn0.pgf ltn1.pgf ltn2.pgf notes.txt");
        EXPECT_EQ(readBytes(o.folder.path / "ltn0.pgf"), c.ltn0);
        EXPECT_EQ(readBytes(o.folder.path / "ltn1.pgf"), c.ltn1);
        EXPECT_FALSE(fs::exists(o.program.path / "backup"));
    }
}

// The earlier --set's journal: its new files end in ".part", the old ones moved aside in ".old".
std::string earlierLine(int slot, const std::string& bytes, int existed) {
    return "file " + name(slot) + " " + name(slot) + ".9-c.part " + name(slot) + ".9-c.old " +
           std::to_string(bytes.size()) + " " + std::to_string(contentSum(bytes)) + " " +
           std::to_string(existed) + "\n";
}

TEST(OutputFolderCopy, TheEarlierSetJournalIsSettledOnlyWhenItReadsAsOneOfItsOwn) {
    const auto line = earlierLine;
    struct Case {
        std::string what, journal;
        std::vector<std::pair<std::string, std::string>> files;
        std::string error, report, ltn0, listing;
    };
    const Case cases[] = {
        {"new files whole: finished",
         line(0, newFont(0), 1) + line(1, newFont(1), 1) + "end\n",
         {{"ltn0.pgf.9-c.part", newFont(0)}, {"ltn1.pgf", newFont(1)}, {"ltn1.pgf.9-c.old", "x"}},
         "",
         "was finished: it holds that run's new fonts.",
         newFont(0),
         "ltn0.pgf ltn1.pgf ltn2.pgf notes.txt"},
        {"a new file gone: the old ones moved aside come back",
         line(0, newFont(0), 1) + line(1, newFont(1), 1) + "end\n",
         {{"ltn0.pgf", newFont(0)}, {"ltn0.pgf.9-c.old", oldFont(0)}},
         "",
         "was undone: it holds the old fonts.",
         oldFont(0),
         "ltn0.pgf ltn1.pgf ltn2.pgf notes.txt"},
        {"a name outside the folder: refused, nothing changed",
         "file ltn0.pgf ../notes.txt ltn0.pgf.9-c.old 1 1 1\nend\n",
         {},
         "is damaged or names files that are not fonts of ours; nothing was changed",
         "",
         oldFont(0),
         ".ttf2pgf-set.journal ltn0.pgf ltn1.pgf ltn2.pgf notes.txt"},
        {"a file that is no slot: refused, nothing changed",
         "file notes.txt notes.txt.9-c.part notes.txt.9-c.old 1 1 1\nend\n",
         {},
         "is damaged",
         "",
         oldFont(0),
         ".ttf2pgf-set.journal ltn0.pgf ltn1.pgf ltn2.pgf notes.txt"},
        {"no journal: what killed runs left outside one goes, the rest stays",
         "",
         {{"ltn0.pgf.9-c.part", "x"},
          {"ltn3.pgf.9-c.old", "x"},
          {"notes.txt.9-c.old", "x"},
          {".ttf2pgf-set.journal.9-c.part", "x"},  // the note's own draft
          {".ttf2pgf-set.journal.9-c.old", "x"},   // no name a run makes
          {".ttf2pgf-set.journal.zz.part", "x"}},  // no tag a run makes
         "",
         "",
         oldFont(0),
         ".ttf2pgf-set.journal.9-c.old .ttf2pgf-set.journal.zz.part ltn0.pgf ltn1.pgf ltn2.pgf "
         "notes.txt notes.txt.9-c.old"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputFolder o;
        if (!c.journal.empty()) {
            writeBytes(o.folder.path / kEarlierSetJournalName, c.journal);
        }
        for (const auto& [file, bytes] : c.files) {
            writeBytes(o.folder.path / file, bytes);
        }
        const FontSetCopyOutcome outcome =
            finishInterruptedCopy(o.files, o.folder.text(), o.program.text("backup"), false);
        if (c.error.empty()) {
            EXPECT_EQ(outcome.error, "");
        } else {
            EXPECT_THAT(outcome.error, HasSubstr(c.error));
            EXPECT_THAT(outcome.error, HasSubstr(o.folder.text(kEarlierSetJournalName)));
        }
        EXPECT_EQ(outcome.completed.empty(), c.report.empty()) << outcome.completed;
        EXPECT_THAT(outcome.completed, HasSubstr(c.report));
        EXPECT_EQ(readBytes(o.folder.path / "ltn0.pgf"), c.ltn0);
        EXPECT_EQ(listing(o.folder.path), c.listing);
    }
}

// A run's new font that cannot be put in place (a folder stands there) is reported, and the
// note and the new font stay, so that nothing is lost and a later run can settle it.
TEST(OutputFolderCopy, AnEarlierSetThatCannotBeSettledIsReportedAndItsNoteKept) {
    OutputFolder o;
    fs::remove(o.folder.path / "ltn0.pgf");
    fs::create_directory(o.folder.path / "ltn0.pgf");
    writeBytes(o.folder.path / "ltn0.pgf" / "inside", "x");
    writeBytes(o.folder.path / kEarlierSetJournalName, earlierLine(0, newFont(0), 1) + "end\n");
    writeBytes(o.folder.path / "ltn0.pgf.9-c.part", newFont(0));
    const FontSetCopyOutcome outcome =
        finishInterruptedCopy(o.files, o.folder.text(), o.program.text("backup"), false);
    EXPECT_THAT(outcome.error, HasSubstr("could not be settled"));
    EXPECT_EQ(outcome.completed, "");
    EXPECT_EQ(readBytes(o.folder.path / "ltn0.pgf.9-c.part"), newFont(0));
    EXPECT_EQ(listing(o.folder.path),
              ".ttf2pgf-set.journal ltn0.pgf ltn0.pgf.9-c.part ltn1.pgf ltn2.pgf notes.txt");
}

}  // namespace
}  // namespace tessavine
