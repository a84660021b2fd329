#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace tessavine {

// The folder below the program folder that holds the backups, and the note inside each.
inline constexpr const char* kBackupFolderName = "backup";
inline constexpr const char* kBackupNoteName = "backup-info.txt";

struct BackupOutcome {
    std::string folder;  // the backup made; empty on failure
    std::string error;   // empty on success; otherwise names the file and the reason
};

// Copies the files `names` of `fontFolder` into a new folder below `backupRoot` (made when
// missing) named after `when`: "2026-12-06_14-05-09", or "…_2", "…_3" when that is taken. The
// note written last says where the files came from and when, so a folder without it is not a
// backup. Whole or not at all: after a failure what was copied is removed again.
BackupOutcome backUpFonts(FileSystem& fileSystem, const std::string& backupRoot,
                          const std::string& fontFolder, const std::vector<std::string>& names,
                          std::chrono::system_clock::time_point when);

struct BackupRecord {
    std::string folder;              // the backup's own folder
    std::string fontFolder;          // where its fonts came from
    std::string made;                // when, as the note says it
    std::vector<std::string> fonts;  // the font slot files it holds, in slot order
};

// The backup in `folder`; nothing, with the reason in `error`, when it is none.
std::optional<BackupRecord> readBackup(const FileSystem& fileSystem, const std::string& folder,
                                       std::string& error);

// Every backup below `backupRoot`, newest first.
std::vector<BackupRecord> listBackups(const FileSystem& fileSystem, const std::string& backupRoot);

}  // namespace tessavine
