#include "core/copy_journal.h"

#include <algorithm>
#include <sstream>

#include "core/copy_lock.h"
#include "core/file_name_rule.h"
#include "core/file_platform.h"
#include "core/font_backup.h"
#include "core/font_check.h"
#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/main_controls.h"
#include "core/paths.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

constexpr const char* kFirstLine = "tessavine copy journal 1";
constexpr const char* kLastLine = "end";
constexpr const char* kNoBackupLine = "no backup";
constexpr std::size_t kShownBytes = 300;

// ".ltn3.pgf.tessavine.<process>-<hex>.tmp", the temporary name a copy gives a slot's font.
bool isOurTemporaryName(const JournalFont& font) {
    const std::string head = "." + font.name + ".tessavine.";
    const std::string tail = ".tmp";
    if (!isPlainOnEveryPlatform(font.temporary) || !font.temporary.starts_with(head) ||
        !font.temporary.ends_with(tail) || font.temporary.size() < head.size() + tail.size()) {
        return false;
    }
    return isCopyTag(
        font.temporary.substr(head.size(), font.temporary.size() - head.size() - tail.size()));
}

// A file of exactly these bytes that reads as a whole PGF font: nothing else is ever put into a
// font folder, or counted as the font a journal speaks of.
bool matches(const FileSystem& fileSystem, const std::string& path, std::uintmax_t size,
             std::uint64_t sum) {
    const std::optional<std::uintmax_t> found = fileSystem.fileSize(path);
    if (!found || *found != size) {
        return false;
    }
    std::string ignored;
    const std::optional<std::string> bytes = readWholeFont(fileSystem, path, ignored);
    return bytes && bytes->size() == size && contentSum(*bytes) == sum;
}

bool anythingAt(const FileSystem& fileSystem, const std::string& path) {
    return fileSystem.fileExists(path) || fileSystem.folderExists(path) ||
           !fileSystem.namesIn(path).empty() || fileSystem.fileSize(path).has_value();
}

// Two spellings of one folder that exists ("F:/font" and "F:/font/", a relative and an absolute
// path): the same folder on the drive, or failing that the same path written plainly.
bool sameFolder(const std::string& first, const std::string& second) {
    const std::filesystem::path a = platform::pathFromUtf8(first);
    const std::filesystem::path b = platform::pathFromUtf8(second);
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error) && !error) {
        return true;
    }
    return !first.empty() && (a / "").lexically_normal() == (b / "").lexically_normal();
}

// "2026-12-06_14-05-09" or "2026-12-06_14-05-09_2": the names backUpFonts gives.
bool isBackupFolderName(const std::string& name) {
    const std::string shape = "dddd-dd-dd_dd-dd-dd";
    if (name.size() < shape.size() || name.size() > shape.size() + 5) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (shape[i] == 'd' ? !digit : name[i] != shape[i]) {
            return false;
        }
    }
    return name.size() == shape.size() ||
           (name[shape.size()] == '_' && name.size() > shape.size() + 1 &&
            name.find_first_not_of("0123456789", shape.size() + 1) == std::string::npos);
}

// Why the journal's backup folder is not one this program made for `folder`; empty when it is.
std::string backupProblem(const FileSystem& fileSystem, const std::string& backupFolder,
                          const std::string& folder, const std::string& backupRoot,
                          std::optional<BackupRecord>& record) {
    const std::filesystem::path path = platform::pathFromUtf8(backupFolder);
    const std::string name = platform::utf8FromPath(path.filename());
    if (!isPlainOnEveryPlatform(name) || !isBackupFolderName(name) ||
        !sameFolder(platform::utf8FromPath(path.parent_path()), backupRoot)) {
        return "names a backup outside the program's backup folder \"" + backupRoot +
               "\" (if another program folder made that copy, run the tessavine-restore there)";
    }
    if (platform::isSymbolicLink(platform::pathFromUtf8(backupRoot)) ||
        platform::isSymbolicLink(platform::pathFromUtf8(backupFolder))) {
        return "names a backup reached through a symbolic link";
    }
    std::string error;
    record = readBackup(fileSystem, backupFolder, error);
    if (!record) {
        return "names a backup that is none: " + error;
    }
    if (!sameFolder(record->fontFolder, folder)) {
        return "names a backup of another font folder, \"" + record->fontFolder + "\"";
    }
    return {};
}

void removeIfThere(FileSystem& fileSystem, const std::string& path) {
    if (!fileSystem.folderExists(path)) {
        fileSystem.deleteFile(path);
    }
}

// A copy that kept no backup is only ever finished: each new font goes in place when every one is
// there whole. Else nothing can be put back; only its temporary files and journal go.
Completion finishWithoutBackup(FileSystem& fileSystem, const std::string& folder,
                               const std::string& journalPath, const CopyJournal& journal) {
    bool whole = true;
    std::string names;
    for (const JournalFont& font : journal.fonts) {
        names += " " + font.name;
        whole =
            whole &&
            (matches(fileSystem, pathOfNameIn(folder, font.name), font.newSize, font.newSum) ||
             matches(fileSystem, pathOfNameIn(folder, font.temporary), font.newSize, font.newSum));
    }
    std::string fresh;
    for (const JournalFont& font : journal.fonts) {
        const std::string destination = pathOfNameIn(folder, font.name);
        const std::string temporary = pathOfNameIn(folder, font.temporary);
        if (matches(fileSystem, destination, font.newSize, font.newSum)) {
            removeIfThere(fileSystem, temporary);
            fresh += " " + font.name;
        } else if (!whole) {
            removeIfThere(fileSystem, temporary);
        } else if (std::string error = fileSystem.renameReplacing(temporary, destination);
                   !error.empty()) {
            return {{},
                    "An interrupted copy into \"" + folder + "\" could not be finished: " + error};
        }
    }
    if (std::string error = fileSystem.deleteFile(journalPath); !error.empty()) {
        return {{}, error};
    }
    if (whole) {
        return {"An interrupted copy into \"" + folder + "\" was finished: it holds the new" +
                    names + ".",
                {}};
    }
    return {"An interrupted copy into \"" + folder +
                "\" could not be finished, as some of its new fonts are damaged or gone, and no "
                "copy of the fonts it replaced was kept. Of" +
                names + ", these hold the new fonts: " +
                (fresh.empty() ? std::string("none") : fresh.substr(1)) +
                ". Write the whole set again.",
            {}};
}

}  // namespace

std::uint64_t contentSum(std::string_view bytes) {
    std::uint64_t sum = 0xcbf29ce484222325u;  // 64-bit FNV-1a
    for (char c : bytes) {
        sum = (sum ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return sum;
}

std::string encodeJournal(const CopyJournal& journal) {
    std::ostringstream text;
    text << kFirstLine << "\n";
    if (journal.keepsNoBackup) {
        text << kNoBackupLine << "\n";
    } else {
        text << "backup " << journal.backupFolder << "\n";
    }
    for (const JournalFont& font : journal.fonts) {
        text << "font " << font.name << " " << font.temporary << " " << font.newSize << " "
             << font.newSum << " "
             << (font.removes    ? 2
                 : font.replaces ? 1
                                 : 0)
             << " " << font.oldSize << " " << font.oldSum << "\n";
    }
    text << kLastLine << "\n";
    return text.str();
}

std::optional<CopyJournal> decodeJournal(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kFirstLine) {
        return std::nullopt;
    }
    CopyJournal journal;
    if (!std::getline(lines, line)) {
        return std::nullopt;
    }
    journal.keepsNoBackup = line == kNoBackupLine;
    if (!journal.keepsNoBackup && !line.starts_with("backup ")) {
        return std::nullopt;
    }
    journal.backupFolder = journal.keepsNoBackup ? std::string() : line.substr(7);
    while (std::getline(lines, line)) {
        if (journal.fonts.size() > fontSlotFileNames().size()) {
            return std::nullopt;  // more fonts than there are slots: not a journal of ours
        }
        if (line == kLastLine) {
            return journal.fonts.empty() ? std::nullopt : std::optional(journal);
        }
        std::istringstream words(line);
        std::string word;
        JournalFont font;
        int replaces = 0;
        if (!(words >> word >> font.name >> font.temporary >> font.newSize >> font.newSum >>
              replaces >> font.oldSize >> font.oldSum) ||
            word != "font" || !isSlotFileName(font.name) || !isOurTemporaryName(font) ||
            replaces < 0 || replaces > 2 || !(words >> std::ws).eof()) {
            return std::nullopt;
        }
        for (const JournalFont& earlier : journal.fonts) {
            if (earlier.name == font.name || earlier.temporary == font.temporary) {
                return std::nullopt;
            }
        }
        if (journal.keepsNoBackup && replaces != 0) {
            return std::nullopt;  // nothing can be put back where no backup was kept
        }
        font.replaces = replaces != 0;
        font.removes = replaces == 2;
        journal.fonts.push_back(std::move(font));
    }
    return std::nullopt;  // cut short: no "end"
}

Completion completeInterruptedCopy(FileSystem& fileSystem, const std::string& folder,
                                   const std::string& backupRoot) {
    const std::string journalPath = pathOfNameIn(folder, kCopyJournalName);
    const auto refused = [&](const std::string& why) {
        return Completion{{},
                          "The note of an interrupted copy, \"" + journalPath + "\", " +
                              shownText(why, kShownBytes) +
                              ". Nothing was changed. Check the fonts in that folder by hand, put "
                              "back a backup with tessavine-restore if need be, then remove the "
                              "note."};
    };
    std::string readError;
    const std::optional<std::string> text =
        fileSystem.readOrdinaryFile(journalPath, kLargestNoteBytes, readError);
    if (!text) {
        if (readError.empty()) {
            return {};
        }
        return refused("cannot be read: " + readError);
    }
    const std::optional<CopyJournal> journal = decodeJournal(*text);
    if (!journal) {
        return refused("is damaged or names files that are not fonts of ours");
    }
    if (journal->keepsNoBackup) {
        return finishWithoutBackup(fileSystem, folder, journalPath, *journal);
    }

    // Every check first: a journal that fails one changes nothing.
    bool needsBackup = false;
    for (const JournalFont& font : journal->fonts) {
        needsBackup = needsBackup || font.replaces;
    }
    std::optional<BackupRecord> backup;
    if (needsBackup || !journal->backupFolder.empty()) {
        if (std::string problem =
                backupProblem(fileSystem, journal->backupFolder, folder, backupRoot, backup);
            !problem.empty()) {
            return refused(problem);
        }
    }
    bool newSetWhole = true;
    for (const JournalFont& font : journal->fonts) {
        const std::string destination = pathOfNameIn(folder, font.name);
        const std::string temporary = pathOfNameIn(folder, font.temporary);
        // A removal can always go on: the slot is empty, or holds the old font to be taken out.
        const bool newAtName = font.removes
                                   ? !anythingAt(fileSystem, destination) ||
                                         matches(fileSystem, destination, font.oldSize, font.oldSum)
                                   : matches(fileSystem, destination, font.newSize, font.newSum);
        if (!newAtName && !matches(fileSystem, temporary, font.newSize, font.newSum)) {
            newSetWhole = false;
        }
        if (font.replaces) {
            if (!matches(fileSystem, pathOfNameIn(journal->backupFolder, font.name), font.oldSize,
                         font.oldSum)) {
                return refused("says the backup \"" + journal->backupFolder + "\" holds the old " +
                               font.name + ", but it does not");
            }
        } else if (!newAtName && anythingAt(fileSystem, destination)) {
            return refused("says " + font.name +
                           " was added by the copy, but a font is there that no backup holds");
        }
    }
    std::string names;
    for (const JournalFont& font : journal->fonts) {
        names += (names.empty() ? "" : " ") + font.name;
    }

    if (newSetWhole) {
        for (const JournalFont& font : journal->fonts) {
            const std::string destination = pathOfNameIn(folder, font.name);
            const std::string temporary = pathOfNameIn(folder, font.temporary);
            if (font.removes) {
                removeIfThere(fileSystem, temporary);
                if (anythingAt(fileSystem, destination) &&
                    !fileSystem.deleteFile(destination).empty()) {
                    newSetWhole = false;  // the old font stays: undo instead
                    break;
                }
                continue;
            }
            if (matches(fileSystem, destination, font.newSize, font.newSum)) {
                removeIfThere(fileSystem, temporary);
                continue;
            }
            if (!fileSystem.renameReplacing(temporary, destination).empty()) {
                newSetWhole = false;  // a font that cannot be put in place: undo instead
                break;
            }
        }
    }
    if (newSetWhole) {
        if (std::string error = fileSystem.deleteFile(journalPath); !error.empty()) {
            return {{}, error};
        }
        return {"An interrupted copy into \"" + folder + "\" was finished: it holds the new " +
                    names + ".",
                {}};
    }

    // Some new font is damaged or gone: the old set comes back from the backup checked above.
    std::string kept;
    for (const JournalFont& font : journal->fonts) {
        const std::string destination = pathOfNameIn(folder, font.name);
        const std::string temporary = pathOfNameIn(folder, font.temporary);
        removeIfThere(fileSystem, temporary);
        if (font.replaces) {
            if (matches(fileSystem, destination, font.oldSize, font.oldSum)) {
                continue;
            }
            if (std::string error = fileSystem.copyToNewFile(
                    pathOfNameIn(journal->backupFolder, font.name), temporary);
                !error.empty() ||
                !(error = fileSystem.renameReplacing(temporary, destination)).empty()) {
                removeIfThere(fileSystem, temporary);
                return {
                    {},
                    "An interrupted copy into \"" + folder + "\" could not be undone: " + error};
            }
        } else if (matches(fileSystem, destination, font.newSize, font.newSum)) {
            // Added by the copy: it goes with the set, when the backup says so.
            if (backup && std::find(backup->added.begin(), backup->added.end(), font.name) !=
                              backup->added.end()) {
                removeIfThere(fileSystem, destination);
            } else {
                kept += " " + font.name;
            }
        }
    }
    if (std::string error = fileSystem.deleteFile(journalPath); !error.empty()) {
        return {{}, error};
    }
    return {"An interrupted copy into \"" + folder + "\" was undone: it holds the old " + names +
                " again" +
                (journal->backupFolder.empty() ? std::string()
                                               : ", from \"" + journal->backupFolder + "\"") +
                "." +
                (kept.empty() ? std::string()
                              : " The new" + kept +
                                    " it had added stay, as no backup says they were added."),
            {}};
}

}  // namespace tessavine
