#include "core/font_backup.h"

#include <algorithm>
#include <sstream>

#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/local_time.h"
#include "core/main_controls.h"
#include "core/paths.h"

namespace tessavine {
namespace {

constexpr int kNameAttempts = 1000;
constexpr const char* kFontFolderLine = "Font folder: ";
constexpr const char* kMadeLine = "Made: ";

bool anythingAt(const FileSystem& fileSystem, const std::string& path) {
    return fileSystem.fileExists(path) || fileSystem.folderExists(path);
}

// Whatever was made of a backup that could not be finished: it must not pass for one.
void removePartialBackup(FileSystem& fileSystem, const std::string& folder) {
    for (const std::string& name : fileSystem.namesIn(folder)) {
        fileSystem.deleteFile(joinPath(folder, name));
    }
    fileSystem.removeEmptyFolder(folder);
}

std::string note(const std::string& fontFolder, const std::vector<std::string>& names,
                 std::chrono::system_clock::time_point when) {
    std::string text =
        "The fonts below were in the font folder named here before Tessavine replaced them.\n";
    text += kFontFolderLine + fontFolder + "\n";
    text += kMadeLine + readableTime(when) + "\n";
    text += "Fonts:";
    for (const std::string& name : names) {
        text += " " + name;
    }
    text +=
        "\nTo put them back, run tessavine-restore with this folder, as described in the "
        "README.\n";
    return text;
}

std::string lineValue(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind(key, 0) == 0) {
            return line.substr(key.size());
        }
    }
    return {};
}

// Backup folders sort by their time stamp, then by the number a second one of the same second
// gets ("…_2" before "…_10", both after the plain stamp).
std::pair<std::string, int> ageKey(const std::string& folderName) {
    const std::size_t stampLength = std::string("2026-12-06_14-05-09").size();
    if (folderName.size() <= stampLength + 1 || folderName[stampLength] != '_') {
        return {folderName, 1};
    }
    int number = 0;
    for (char c : folderName.substr(stampLength + 1)) {
        if (c < '0' || c > '9' || number > 100000) {
            return {folderName, 1};
        }
        number = number * 10 + (c - '0');
    }
    return {folderName.substr(0, stampLength), number};
}

}  // namespace

BackupOutcome backUpFonts(FileSystem& fileSystem, const std::string& backupRoot,
                          const std::string& fontFolder, const std::vector<std::string>& names,
                          std::chrono::system_clock::time_point when) {
    if (!fileSystem.folderExists(backupRoot)) {
        if (std::string error = fileSystem.createFolder(backupRoot); !error.empty()) {
            return {{}, error};
        }
    }
    const std::string stamp = fileNameTimeStamp(when);
    std::string folder;
    for (int attempt = 1; attempt <= kNameAttempts && folder.empty(); ++attempt) {
        const std::string candidate =
            joinPath(backupRoot, attempt == 1 ? stamp : stamp + "_" + std::to_string(attempt));
        if (anythingAt(fileSystem, candidate)) {
            continue;
        }
        std::string error = fileSystem.createNewFolder(candidate);
        if (error.empty()) {
            folder = candidate;
        } else if (!anythingAt(fileSystem, candidate)) {
            return {{}, error};
        }  // else another run took the name a moment ago: try the next
    }
    if (folder.empty()) {
        return {{},
                "Could not find a free name for a new folder in \"" + backupRoot +
                    "\". Move some of the old backups elsewhere."};
    }

    for (const std::string& name : names) {
        const std::string source = joinPath(fontFolder, name);
        const std::string copy = joinPath(folder, name);
        std::string error = fileSystem.copyFile(source, copy);
        if (error.empty() && fileSystem.fileSize(copy) != fileSystem.fileSize(source)) {
            error = "The copy of \"" + source + "\" in \"" + folder +
                    "\" came out incomplete. Check that the drive of the program folder has "
                    "free space.";
        }
        if (!error.empty()) {
            removePartialBackup(fileSystem, folder);
            return {{}, error};
        }
    }
    if (std::string error = fileSystem.writeFileReplacing(joinPath(folder, kBackupNoteName),
                                                          note(fontFolder, names, when));
        !error.empty()) {
        removePartialBackup(fileSystem, folder);
        return {{}, error};
    }
    return {folder, {}};
}

std::optional<BackupRecord> readBackup(const FileSystem& fileSystem, const std::string& folder,
                                       std::string& error) {
    if (!fileSystem.folderExists(folder)) {
        error = "There is no folder \"" + folder +
                "\". Run tessavine-restore without a folder to list the backups.";
        return std::nullopt;
    }
    std::string readError;
    const std::optional<std::string> text = fileSystem.readOrdinaryFile(
        joinPath(folder, kBackupNoteName), kLargestNoteBytes, readError);
    const std::string fontFolder = text ? lineValue(*text, kFontFolderLine) : std::string();
    if (fontFolder.empty()) {
        error = readError.empty() ? "\"" + folder + "\" is not a backup of Tessavine: it has no " +
                                        kBackupNoteName + " naming a font folder."
                                  : readError;
        return std::nullopt;
    }
    BackupRecord record{folder, fontFolder, lineValue(*text, kMadeLine), {}};
    // Whatever stands at a slot's name is listed, a link, a folder or a pipe included, so that
    // the restore names it and refuses it rather than quietly leaving that slot out.
    const std::vector<std::string> present = fileSystem.namesIn(folder);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (std::find(present.begin(), present.end(), slotFileName(slot)) != present.end()) {
            record.fonts.push_back(slotFileName(slot));
        }
    }
    return record;
}

std::vector<BackupRecord> listBackups(const FileSystem& fileSystem, const std::string& backupRoot) {
    std::vector<std::pair<std::pair<std::string, int>, BackupRecord>> found;
    for (const std::string& name : fileSystem.namesIn(backupRoot)) {
        std::string ignored;
        if (std::optional<BackupRecord> record =
                readBackup(fileSystem, joinPath(backupRoot, name), ignored)) {
            found.emplace_back(ageKey(name), std::move(*record));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<BackupRecord> records;
    for (auto& [key, record] : found) {
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace tessavine
