#include "restore/restore_command.h"

#include <algorithm>
#include <optional>

#include "core/font_backup.h"
#include "core/font_set_copy.h"
#include "core/font_slots.h"
#include "core/paths.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUnusable = 2;

constexpr const char* kUsage =
    "usage: tessavine-restore [<backup folder> [<target font folder>]] (without a folder: list "
    "the backups) | tessavine-restore --finish [--force] <font folder> (settle a copy that was "
    "interrupted; --force first removes a lock that no running copy holds)";

// Errors are one line, whatever the file system's words held: a line end, like every other
// control character in them or in a name from a journal, a lock or a note, is shown as an
// escape, never acted on by the terminal.
int fail(std::ostream& error, const std::string& text, int code = kFailed) {
    error << "tessavine-restore: " << shownText(text) << "\n";
    return code;
}

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " ") + shownText(name);
    }
    return text;
}

int listBackupsIn(const std::string& backupRoot, const FileSystem& fileSystem, std::ostream& out) {
    const std::vector<BackupRecord> backups = listBackups(fileSystem, backupRoot);
    if (backups.empty()) {
        out << "There are no backups in \"" << shownText(backupRoot) << "\".\n";
        return kDone;
    }
    out << "Backups in \"" << shownText(backupRoot) << "\", newest first:\n";
    for (const BackupRecord& backup : backups) {
        out << "  " << shownText(backup.folder) << "\n      made " << shownText(backup.made)
            << " from " << shownText(backup.fontFolder) << ": " << listed(backup.fonts) << "\n";
    }
    out << "Put one back with: tessavine-restore <backup folder> [<target font folder>]\n";
    return kDone;
}

}  // namespace

int runRestore(const std::vector<std::string>& arguments, const std::string& programFolder,
               FileSystem& fileSystem, const FreeSpace& freeSpace, std::ostream& out,
               std::ostream& error, std::chrono::system_clock::time_point now) {
    const std::string backupRoot = joinPath(programFolder, kBackupFolderName);
    if (arguments.empty()) {
        return listBackupsIn(backupRoot, fileSystem, out);
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        out << kUsage << "\n";
        return kDone;
    }
    if (arguments[0] == "--finish") {
        const bool force = arguments.size() == 3 && arguments[1] == "--force";
        if (arguments.size() != (force ? 3u : 2u)) {
            return fail(error, kUsage, kUnusable);
        }
        const std::string& folder = arguments.back();
        if (!fileSystem.folderExists(folder)) {
            return fail(error, "The font folder \"" + folder +
                                   "\" is not there. Connect the PSP, then name its font folder.");
        }
        const FontSetCopyOutcome settled =
            finishInterruptedCopy(fileSystem, folder, backupRoot, force);
        if (!settled.error.empty()) {
            return fail(error, settled.error);
        }
        out << shownText(settled.completed.empty()
                             ? "No copy into \"" + folder + "\" was interrupted; nothing to do."
                             : settled.completed)
            << "\n";
        return kDone;
    }
    if (arguments.size() > 2) {
        return fail(error, kUsage, kUnusable);
    }

    std::string readError;
    const std::optional<BackupRecord> backup = readBackup(fileSystem, arguments[0], readError);
    if (!backup) {
        return fail(error, readError);
    }
    if (!backup->unusableAdded.empty()) {
        return fail(error, "The note of the backup \"" + backup->folder +
                               "\" says the copy added \"" + backup->unusableAdded.front() +
                               "\", which is not the name of a font slot file (" +
                               kFontSlotNamesInWords +
                               "). Nothing was changed. Choose another backup, or put this one's "
                               "fonts back by hand.");
    }
    if (backup->fonts.empty() && backup->added.empty()) {
        return fail(error, "The backup \"" + backup->folder + "\" holds no font files.");
    }
    const std::string target = arguments.size() == 2 ? arguments[1] : backup->fontFolder;
    if (!fileSystem.folderExists(target)) {
        return fail(error, "The font folder \"" + target +
                               "\" is not there. Connect the PSP, or name the folder to restore "
                               "into after the backup folder.");
    }

    FontSetCopy copy{
        {}, target, backupRoot, "the folder \"" + target + "\"", "run tessavine-restore again"};
    for (const std::string& font : backup->fonts) {
        copy.sources.push_back(joinPath(backup->folder, font));
    }
    // The slots the backed-up copy filled where there was no font are emptied again, so that
    // the folder holds the set it had; a font the backup holds itself is never among them.
    for (const std::string& added : backup->added) {
        if (std::find(backup->fonts.begin(), backup->fonts.end(), added) == backup->fonts.end()) {
            copy.removals.push_back(added);
        }
    }
    const FontSetCopyOutcome outcome = copyFontSet(fileSystem, freeSpace, copy, now);
    if (!outcome.completed.empty()) {
        out << shownText(outcome.completed) << "\n";
    }
    if (!outcome.error.empty()) {
        return fail(error, outcome.error);
    }
    // A backup of a copy that only added fonts holds none: putting it back empties those slots.
    out << (backup->fonts.empty()
                ? "Restored \"" + shownText(target) + "\" as it was before the copy"
                : "Restored " + listed(backup->fonts) + " from \"" + shownText(backup->folder) +
                      "\" to \"" + shownText(target) + "\"");
    if (!outcome.removed.empty()) {
        std::string removed;
        for (const std::string& name : outcome.removed) {
            removed += (removed.empty() ? "" : ", ") + shownText(name);
        }
        out << " and removed " << removed << ", which the copy had added";
    }
    out << ".\n";
    if (!outcome.backupFolder.empty()) {
        out << "The fonts they replaced there are kept in \"" << shownText(outcome.backupFolder)
            << "\".\n";
    }
    return kDone;
}

}  // namespace tessavine
