#include "core/font_set_copy.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/copy_journal.h"
#include "core/copy_lock.h"
#include "core/earlier_set_journal.h"
#include "core/file_name_rule.h"
#include "core/file_platform.h"
#include "core/font_backup.h"
#include "core/font_check.h"
#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/main_controls.h"
#include "core/paths.h"
#include "core/result_texts.h"

namespace tessavine {
namespace {

constexpr std::uintmax_t kClusterBytes = 32 * 1024;
constexpr const char* kTemporaryMark = ".tessavine";
constexpr const char* kTemporaryEnd = ".tmp";

std::string fileNameOf(const std::string& path) {
    return platform::utf8FromPath(platform::pathFromUtf8(path).filename());
}

// A temporary file of ours for a font slot, whatever run left it: ".ltn3.pgf.tessavine.<tag>.tmp",
// and the ".ltn3.pgf.tessavine.tmp" and ".ltn3.pgf.tessavine-<number>.tmp" of earlier versions;
// or what a killed lock attempt or journal write left.
bool isOurTemporaryFile(const std::string& name) {
    if (isLockLeftover(name) || name.starts_with(std::string(kCopyJournalName) + ".")) {
        return true;
    }
    const std::size_t end = std::string(kTemporaryEnd).size();
    if (name.size() <= end || name.compare(name.size() - end, end, kTemporaryEnd) != 0) {
        return false;
    }
    for (const std::string& slot : fontSlotFileNames()) {
        if (name.rfind("." + slot + kTemporaryMark, 0) == 0) {
            return true;
        }
    }
    return false;
}

void removeStaleTemporaryFiles(FileSystem& fileSystem, const std::string& folder) {
    for (const std::string& name : fileSystem.namesIn(folder)) {
        const std::string path = joinPath(folder, name);
        // A link planted at such a name goes too (the link, never what it leads to).
        if (isOurTemporaryFile(name) && !fileSystem.folderExists(path)) {
            fileSystem.deleteFile(path);  // one that stays is reported when it is in the way
        }
    }
}

struct PlannedFont {
    std::string name;
    std::string source;
    std::string destination;
    std::string temporary;
    std::string bytes;  // as checked: a whole PGF font
    bool replaces = false;
};

}  // namespace

std::string temporaryFontName(const std::string& fontName, const std::string& tag) {
    return "." + fontName + kTemporaryMark + "." + tag + kTemporaryEnd;
}

std::uintmax_t roomNeeded(std::uintmax_t fileSize) {
    return (fileSize + kClusterBytes - 1) / kClusterBytes * kClusterBytes;
}

namespace {

// The old fonts' sizes and fingerprints as the backup holds them, for the journal: an undo puts
// back only what was backed up.
std::string noteOldFonts(const FileSystem& fileSystem, const std::string& backupFolder,
                         std::vector<JournalFont>& fonts) {
    for (JournalFont& font : fonts) {
        if (!font.replaces) {
            continue;
        }
        std::string error;
        const std::optional<std::string> bytes = fileSystem.readOrdinaryFile(
            pathOfNameIn(backupFolder, font.name), kLargestPgfFileBytes, error);
        if (!bytes) {
            return error.empty() ? "The backup of " + font.name + " is gone." : error;
        }
        font.oldSize = bytes->size();
        font.oldSum = contentSum(*bytes);
    }
    return {};
}

// Fonts written through a link would land in whatever folder it leads to, a folder of this
// computer say, and the journal and lock with them.
std::string linkRefusal(const std::string& folder, const std::string& what) {
    if (!platform::isSymbolicLink(platform::pathFromUtf8(folder))) {
        return {};
    }
    return "\"" + folder + "\", " + what +
           ", is a symbolic link; fonts are written only into a real folder. Nothing was "
           "changed. Replace the link with a folder, then try again.";
}

// What interrupted copies left in `folder`, a ttf2pgf --set of an earlier version's first; the
// caller holds the lock.
Completion settleInterrupted(FileSystem& fileSystem, const std::string& folder,
                             const std::string& backupRoot) {
    Completion earlier = settleEarlierSetJournal(fileSystem, folder);
    if (!earlier.error.empty()) {
        return earlier;
    }
    Completion completion = completeInterruptedCopy(fileSystem, folder, backupRoot);
    if (!earlier.report.empty()) {
        completion.report =
            earlier.report + (completion.report.empty() ? "" : " ") + completion.report;
    }
    return completion;
}

std::string writeJournal(FileSystem& fileSystem, const std::string& folder, const std::string& tag,
                         const CopyJournal& journal) {
    const std::string draft = pathOfNameIn(folder, std::string(kCopyJournalName) + "." + tag);
    std::string error = fileSystem.createNewFile(draft, encodeJournal(journal));
    if (error.empty()) {
        error = fileSystem.renameReplacing(draft, pathOfNameIn(folder, kCopyJournalName));
    }
    if (error.empty()) {
        // The journal's name and the temporary fonts' names on the drive before the first old
        // font goes; a drive that keeps no such state apart from its files has nothing to do.
        fileSystem.flushFolder(folder);
    }
    if (!error.empty() && !fileSystem.folderExists(draft)) {
        fileSystem.deleteFile(draft);
    }
    return error;
}

}  // namespace

FontSetCopyOutcome finishInterruptedCopy(FileSystem& fileSystem, const std::string& folder,
                                         const std::string& backupRoot, bool takeOverLock) {
    if (std::string refusal = linkRefusal(folder, "the font folder"); !refusal.empty()) {
        return {refusal, {}, {}};
    }
    std::string lockError;
    const CopyLock lock =
        CopyLock::take(fileSystem, folder, kCopyLockPatience, lockError,
                       takeOverLock ? CopyLock::Stranger::Remove : CopyLock::Stranger::Refuse);
    if (!lock.held()) {
        return {lockError, {}, {}};
    }
    const Completion completion = settleInterrupted(fileSystem, folder, backupRoot);
    if (completion.error.empty()) {
        removeStaleTemporaryFiles(fileSystem, folder);
    }
    return {completion.error, {}, completion.report};
}

FontSetCopyOutcome copyFontSet(FileSystem& fileSystem, const FreeSpace& freeSpace,
                               const FontSetCopy& copy, std::chrono::system_clock::time_point now) {
    const std::string nothingChanged =
        "Nothing was copied; the fonts on " + copy.place + " are as they were.";
    if (std::string refusal =
            linkRefusal(copy.destinationFolder, "the font folder on " + copy.place);
        !refusal.empty()) {
        return {refusal, {}, {}};
    }
    std::string lockError;
    const CopyLock lock =
        CopyLock::take(fileSystem, copy.destinationFolder, kCopyLockPatience, lockError);
    if (!lock.held()) {
        return {lockError, {}, {}};
    }
    FontSetCopyOutcome outcome;
    const Completion completion =
        settleInterrupted(fileSystem, copy.destinationFolder, copy.backupRoot);
    outcome.completed = completion.report;
    if (!completion.error.empty()) {
        outcome.error = completion.error + " " + nothingChanged;
        return outcome;
    }
    removeStaleTemporaryFiles(fileSystem, copy.destinationFolder);

    std::vector<PlannedFont> fonts;
    std::uintmax_t needed = 0;
    for (const std::string& source : copy.sources) {
        PlannedFont font;
        font.name = fileNameOf(source);
        font.source = source;
        font.destination = pathOfNameIn(copy.destinationFolder, font.name);
        font.temporary =
            pathOfNameIn(copy.destinationFolder, temporaryFontName(font.name, lock.tag()));
        std::string readError;
        std::optional<std::string> bytes = readWholeFont(fileSystem, source, readError);
        if (!bytes) {
            outcome.error = "The font file " + font.name + " cannot go onto " + copy.place + ": " +
                            readError + " " + nothingChanged + " Make the font again, then " +
                            copy.retry + ".";
            return outcome;
        }
        font.bytes = std::move(*bytes);
        fonts.push_back(std::move(font));
    }
    for (const FontBytes& made : copy.made) {
        PlannedFont font;
        font.name = made.name;
        font.source = made.name;
        std::string problem;
        if (!isSlotFileName(made.name) || !isWholeFont(made.bytes, made.name, problem)) {
            outcome.error = "The font " + made.name + " cannot go onto " + copy.place + ": " +
                            (problem.empty() ? "that is no font slot's file name." : problem) +
                            " " + nothingChanged;
            return outcome;
        }
        font.destination = pathOfNameIn(copy.destinationFolder, font.name);
        font.temporary =
            pathOfNameIn(copy.destinationFolder, temporaryFontName(font.name, lock.tag()));
        font.bytes = made.bytes;
        fonts.push_back(std::move(font));
    }
    for (PlannedFont& font : fonts) {
        if (fileSystem.folderExists(font.destination)) {
            outcome.error = "A folder named " + font.name + " stands where that font must go on " +
                            copy.place + " (\"" + font.destination + "\"). " + nothingChanged +
                            " Move or rename that folder, then " + copy.retry + ".";
            return outcome;
        }
        const auto sameName = [&](const PlannedFont& other) { return other.name == font.name; };
        if (std::count_if(fonts.begin(), fonts.end(), sameName) > 1) {
            outcome.error = "Two of the new fonts are named " + font.name + ". " + nothingChanged;
            return outcome;
        }
        font.replaces = fileSystem.fileExists(font.destination);
        needed += roomNeeded(font.bytes.size());
    }
    std::vector<std::string> removals;
    if (copy.backupRoot.empty() && !copy.removals.empty()) {
        outcome.error = "Fonts are taken out of " + copy.place +
                        " only where a backup of them is kept. " + nothingChanged;
        return outcome;
    }
    for (const std::string& name : copy.removals) {
        if (!isSlotFileName(name)) {
            outcome.error = "\"" + name + "\" is not the name of a font slot file (" +
                            kFontSlotNamesInWords + "), so it is not removed from " + copy.place +
                            ". " + nothingChanged;
            return outcome;
        }
        const std::string destination = pathOfNameIn(copy.destinationFolder, name);
        if (fileSystem.folderExists(destination)) {
            outcome.error = "A folder named " + name + " stands where a font is to be removed on " +
                            copy.place + " (\"" + destination + "\"). " + nothingChanged +
                            " Move or rename that folder, then " + copy.retry + ".";
            return outcome;
        }
        const bool written = std::any_of(
            fonts.begin(), fonts.end(), [&](const PlannedFont& font) { return font.name == name; });
        const bool listed = std::find(removals.begin(), removals.end(), name) != removals.end();
        if (!written && !listed && fileSystem.fileExists(destination)) {
            removals.push_back(name);
        }
    }
    if (fonts.empty() && removals.empty()) {
        return outcome;
    }

    // The new fonts are written beside the old ones before any old one goes, so the room for
    // all of them must be there from the start.
    const std::optional<std::uintmax_t> available =
        freeSpace.availableBytes(copy.destinationFolder);
    if (available && *available < needed) {
        outcome.error = "There is not enough room on " + copy.place + ": the new fonts need " +
                        readableSize(needed) + ", and " + readableSize(*available) + " are free. " +
                        nothingChanged + " Make room on it, then " + copy.retry + ".";
        return outcome;
    }

    CopyJournal journal;
    journal.keepsNoBackup = copy.backupRoot.empty();
    std::vector<std::string> replaced;
    std::vector<std::string> added;
    for (const PlannedFont& font : fonts) {
        (font.replaces ? replaced : added).push_back(font.name);
        journal.fonts.push_back({font.name, fileNameOf(font.temporary), font.bytes.size(),
                                 contentSum(font.bytes), font.replaces && !journal.keepsNoBackup, 0,
                                 0, false});
    }
    for (const std::string& name : removals) {
        replaced.push_back(name);  // backed up like a font replaced, so the restore can be undone
        journal.fonts.push_back(
            {name, temporaryFontName(name, lock.tag()), 0, 0, true, 0, 0, true});
    }
    // A copy that only adds fonts is backed up too: its note lists the slots it fills, so that
    // putting the backup back empties them again.
    if (!journal.keepsNoBackup) {
        const BackupOutcome backup =
            backUpFonts(fileSystem, copy.backupRoot, copy.destinationFolder, replaced, added, now);
        if (!backup.error.empty()) {
            outcome.error = "The fonts that the new ones would replace could not be backed up. " +
                            nothingChanged + " " + backup.error;
            return outcome;
        }
        if (!replaced.empty()) {
            outcome.backupFolder = backup.folder;  // there is something in it to tell of
        }
        journal.backupFolder = backup.folder;
        if (std::string error = noteOldFonts(fileSystem, backup.folder, journal.fonts);
            !error.empty()) {
            outcome.error = "The backup just made in \"" + backup.folder +
                            "\" cannot be read back. " + nothingChanged + " " + error;
            return outcome;
        }
    }
    const std::string keptIn =
        outcome.backupFolder.empty()
            ? std::string()
            : " The fonts it had before are kept in \"" + outcome.backupFolder + "\".";

    const auto removeTemporaries = [&] {
        for (const PlannedFont& font : fonts) {
            if (!fileSystem.folderExists(font.temporary)) {
                fileSystem.deleteFile(font.temporary);
            }
        }
    };
    for (const PlannedFont& font : fonts) {
        std::string error = fileSystem.createNewFile(font.temporary, font.bytes);
        if (error.empty() && fileSystem.fileSize(font.temporary) != font.bytes.size()) {
            error = "The copy of " + font.name + " came out shorter than the font.";
        }
        if (error.empty()) {
            continue;
        }
        // Asked while the unfinished copy still takes its room: a drive that filled up shows
        // less free space than the font needs, whatever word the drive found for the failure.
        const std::optional<std::uintmax_t> left = freeSpace.availableBytes(copy.destinationFolder);
        const bool full = left && *left < font.bytes.size();
        removeTemporaries();
        const std::string what =
            full ? "The font file " + font.name + " did not fit: " + copy.place + " is full. "
                 : "The font file " + font.name + " could not be written to " + copy.place + ". ";
        const std::string advice =
            full ? " Make room on it, then " + copy.retry + "." : std::string();
        outcome.error = what + nothingChanged + advice + " " + error;
        return outcome;
    }

    // From here on the folder may hold a mix of old and new fonts until the last rename; the
    // journal lets whichever copy comes next settle it should this one be ended meanwhile.
    if (std::string error = writeJournal(fileSystem, copy.destinationFolder, lock.tag(), journal);
        !error.empty()) {
        removeTemporaries();
        outcome.error = "The copy onto " + copy.place + " could not begin. " + nothingChanged +
                        " Check that " + copy.place + " is still there and not full, then " +
                        copy.retry + ". " + error;
        return outcome;
    }
    for (const PlannedFont& font : fonts) {
        std::string error = fileSystem.renameReplacing(font.temporary, font.destination);
        if (error.empty()) {
            continue;
        }
        const Completion settled =
            completeInterruptedCopy(fileSystem, copy.destinationFolder, copy.backupRoot);
        const std::string state =
            settled.error.empty()
                ? settled.report
                : "It holds a mix of old and new fonts now; the next copy, or tessavine-restore "
                  "--finish \"" +
                      copy.destinationFolder + "\", puts one whole set back. " + settled.error;
        outcome.error = "The copy onto " + copy.place + " stopped half-way, at " + font.name +
                        ". " + state + " Check that " + copy.place + " is still there, then " +
                        copy.retry + "." + keptIn + " " + error;
        return outcome;
    }
    for (const std::string& name : removals) {
        std::string error = fileSystem.deleteFile(pathOfNameIn(copy.destinationFolder, name));
        if (error.empty()) {
            outcome.removed.push_back(name);
            continue;
        }
        const Completion settled =
            completeInterruptedCopy(fileSystem, copy.destinationFolder, copy.backupRoot);
        const std::string state =
            settled.error.empty()
                ? settled.report
                : "It holds a mix of old and new fonts now; the next copy, or tessavine-restore "
                  "--finish \"" +
                      copy.destinationFolder + "\", puts one whole set back. " + settled.error;
        outcome.error = "The copy onto " + copy.place + " stopped half-way, removing " + name +
                        ". " + state + " Check that " + copy.place + " is still there, then " +
                        copy.retry + "." + keptIn + " " + error;
        return outcome;
    }
    fileSystem.deleteFile(pathOfNameIn(copy.destinationFolder, kCopyJournalName));
    return outcome;
}

}  // namespace tessavine
