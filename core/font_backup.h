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
// missing; refused when it is a symbolic link) named after `when`: "2026-12-06_14-05-09", or
// "…_2", "…_3" when that is taken. Each font must be an ordinary file no larger than a PGF font
// can be, checked before anything is written. The backup is made under a name marked as
// unfinished (".<process>.partial"), its files and note written out to the drive, and only then
// renamed to its own name, so a backup found under a stamp is whole and on the drive; what a
// killed run left unfinished is removed by the next one. The note records `added`, the slots the
// copy fills where there was no font, so that putting the backup back can empty them again.
// Whole or not at all: after a failure what was copied is removed again.
BackupOutcome backUpFonts(FileSystem& fileSystem, const std::string& backupRoot,
                          const std::string& fontFolder, const std::vector<std::string>& names,
                          const std::vector<std::string>& added,
                          std::chrono::system_clock::time_point when);

struct BackupRecord {
    std::string folder;              // the backup's own folder
    std::string fontFolder;          // where its fonts came from
    std::string made;                // when, as the note says it
    std::vector<std::string> fonts;  // the font slot files it holds, in slot order
    std::vector<std::string> added;  // slots the copy filled that had no font; older backups: none
    // Names on the note's added line that are no plain slot file: a note written by hand or
    // damaged; nothing of the folder is removed on its word.
    std::vector<std::string> unusableAdded;
};

// The backup in `folder`; nothing, with the reason in `error`, when it is none.
std::optional<BackupRecord> readBackup(const FileSystem& fileSystem, const std::string& folder,
                                       std::string& error);

// Every backup below `backupRoot`, newest first.
std::vector<BackupRecord> listBackups(const FileSystem& fileSystem, const std::string& backupRoot);

}  // namespace tessavine
