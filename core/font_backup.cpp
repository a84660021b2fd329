#include "core/font_backup.h"

#include <algorithm>
#include <sstream>

#include "core/file_platform.h"
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
constexpr const char* kAddedLine = "Added by the copy: ";
constexpr const char* kUnfinishedEnd = ".partial";
constexpr const char* kFullDriveAdvice =
    " If the drive of the program folder is full, free room there (or move old backups "
    "elsewhere), then try again.";

// A backup being made, "2026-12-06_14-05-09.4711.partial": the process that makes it is named so
// that only a dead run's is removed, never that of a copy into another folder running now.
std::optional<std::uint64_t> unfinishedBackupOwner(const std::string& name) {
    if (!name.ends_with(kUnfinishedEnd)) {
        return std::nullopt;
    }
    const std::string stem = name.substr(0, name.size() - std::string(kUnfinishedEnd).size());
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string::npos || dot + 1 == stem.size() || stem.size() - dot > 12 ||
        stem.find_first_not_of("0123456789", dot + 1) != std::string::npos) {
        return std::nullopt;
    }
    return std::stoull(stem.substr(dot + 1));
}

void removeDeadRunsBackups(FileSystem& fileSystem, const std::string& backupRoot) {
    for (const std::string& name : fileSystem.namesIn(backupRoot)) {
        const std::optional<std::uint64_t> owner = unfinishedBackupOwner(name);
        const std::string path = joinPath(backupRoot, name);
        if (owner && platform::processIsGone(*owner) &&
            !platform::isSymbolicLink(platform::pathFromUtf8(path)) &&
            fileSystem.folderExists(path)) {
            for (const std::string& inside : fileSystem.namesIn(path)) {
                const std::string file = joinPath(path, inside);
                if (!fileSystem.folderExists(file)) {
                    fileSystem.deleteFile(file);
                }
            }
            fileSystem.removeEmptyFolder(path);
        }
    }
}

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
                 const std::vector<std::string>& added,
                 std::chrono::system_clock::time_point when) {
    std::string text =
        "The fonts below were in the font folder named here before Tessavine replaced them.\n";
    text += kFontFolderLine + fontFolder + "\n";
    text += kMadeLine + readableTime(when) + "\n";
    text += "Fonts:";
    for (const std::string& name : names) {
        text += " " + name;
    }
    if (!added.empty()) {
        text += std::string("\n") + kAddedLine;
        for (const std::string& name : added) {
            text += " " + name;
        }
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
                          const std::vector<std::string>& added,
                          std::chrono::system_clock::time_point when) {
    if (platform::isSymbolicLink(platform::pathFromUtf8(backupRoot))) {
        return {{},
                "The backup folder \"" + backupRoot +
                    "\" is a symbolic link; backups are kept only in a real folder of the "
                    "program folder. Remove the link (a folder is made in its place), then try "
                    "again."};
    }
    // Checked before anything is written: a huge or sparse file at a slot's name would fill the
    // drive of the program folder, a copy at a time.
    for (const std::string& name : names) {
        const std::string source = joinPath(fontFolder, name);
        const std::optional<std::uintmax_t> size = fileSystem.fileSize(source);
        if (size && *size > kLargestPgfFileBytes) {
            return {{},
                    "\"" + source + "\" is " + std::to_string(*size) +
                        " bytes long, more than any PGF font can be (" +
                        std::to_string(kLargestPgfFileBytes) +
                        " bytes), so it was not backed up. Move it out of the font folder, then "
                        "try again."};
        }
    }
    if (!fileSystem.folderExists(backupRoot)) {
        if (std::string error = fileSystem.createFolder(backupRoot); !error.empty()) {
            return {{}, error};
        }
    }
    removeDeadRunsBackups(fileSystem, backupRoot);
    const std::string stamp = fileNameTimeStamp(when);
    const std::string unfinished = joinPath(
        backupRoot, stamp + "." + std::to_string(platform::currentProcessId()) + kUnfinishedEnd);
    if (std::string error = fileSystem.createNewFolder(unfinished); !error.empty()) {
        return {{}, error + kFullDriveAdvice};
    }
    for (const std::string& name : names) {
        const std::string source = joinPath(fontFolder, name);
        // Created new and flushed, never through a link, and only from an ordinary file.
        if (std::string error = fileSystem.copyToNewFile(source, joinPath(unfinished, name));
            !error.empty()) {
            removePartialBackup(fileSystem, unfinished);
            return {{}, error + kFullDriveAdvice};
        }
    }
    if (std::string error = fileSystem.createNewFile(joinPath(unfinished, kBackupNoteName),
                                                     note(fontFolder, names, added, when));
        !error.empty() || !(error = fileSystem.flushFolder(unfinished)).empty()) {
        removePartialBackup(fileSystem, unfinished);
        return {{}, error + kFullDriveAdvice};
    }

    std::string folder;
    for (int attempt = 1; attempt <= kNameAttempts && folder.empty(); ++attempt) {
        const std::string candidate =
            joinPath(backupRoot, attempt == 1 ? stamp : stamp + "_" + std::to_string(attempt));
        if (anythingAt(fileSystem, candidate)) {
            continue;
        }
        std::string error = fileSystem.renameWithoutReplacing(unfinished, candidate);
        if (error.empty()) {
            folder = candidate;
        } else if (!anythingAt(fileSystem, candidate)) {
            removePartialBackup(fileSystem, unfinished);
            return {{}, error};
        }  // else another run took the name a moment ago: try the next
    }
    if (folder.empty()) {
        removePartialBackup(fileSystem, unfinished);
        return {{},
                "Could not find a free name for a new folder in \"" + backupRoot +
                    "\". Move some of the old backups elsewhere."};
    }
    if (std::string error = fileSystem.flushFolder(backupRoot); !error.empty()) {
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
    if (unfinishedBackupOwner(platform::utf8FromPath(platform::pathFromUtf8(folder).filename()))) {
        error = "\"" + folder +
                "\" is a backup that was never finished. Choose another one (run "
                "tessavine-restore without a folder to list them).";
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
    BackupRecord record{folder, fontFolder, lineValue(*text, kMadeLine), {}, {}, {}};
    std::istringstream added(lineValue(*text, kAddedLine));
    for (std::string name; added >> name && record.added.size() + record.unusableAdded.size() <=
                                                fontSlotFileNames().size();) {
        (isSlotFileName(name) ? record.added : record.unusableAdded).push_back(name);
    }
    // Whatever stands at a slot's name is listed, a link, a folder or a pipe included, so that
    // the restore names it and refuses it rather than quietly leaving that slot out.
    const std::vector<std::string> present = fileSystem.namesIn(folder);
    // The note was just read there: a list without it is a folder that could not be listed,
    // not a backup without fonts (which one of a copy that only added fonts is).
    if (std::find(present.begin(), present.end(), kBackupNoteName) == present.end()) {
        error = "The files in \"" + folder +
                "\" could not be listed. Check that the drive is still there, then try again.";
        return std::nullopt;
    }
    for (const std::string& slot : fontSlotFileNames()) {
        if (std::find(present.begin(), present.end(), slot) != present.end()) {
            record.fonts.push_back(slot);
        }
    }
    return record;
}

std::vector<BackupRecord> listBackups(const FileSystem& fileSystem, const std::string& backupRoot) {
    std::vector<std::pair<std::pair<std::string, int>, BackupRecord>> found;
    for (const std::string& name : fileSystem.namesIn(backupRoot)) {
        if (unfinishedBackupOwner(name)) {
            continue;  // being made, or left unfinished by a killed run
        }
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
