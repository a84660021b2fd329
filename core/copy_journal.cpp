#include "core/copy_journal.h"

#include <sstream>

#include "core/file_name_rule.h"
#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/main_controls.h"

namespace tessavine {
namespace {

constexpr const char* kFirstLine = "tessavine copy journal 1";
constexpr const char* kLastLine = "end";

bool isSlotName(const std::string& name) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (name == slotFileName(slot)) {
            return true;
        }
    }
    return false;
}

bool matches(const FileSystem& fileSystem, const std::string& path, std::uintmax_t size,
             std::uint64_t sum) {
    std::string ignored;
    const std::optional<std::uintmax_t> found = fileSystem.fileSize(path);
    if (!found || *found != size) {
        return false;
    }
    const std::optional<std::string> bytes =
        fileSystem.readOrdinaryFile(path, kLargestPgfFileBytes, ignored);
    return bytes && bytes->size() == size && contentSum(*bytes) == sum;
}

void removeIfThere(FileSystem& fileSystem, const std::string& path) {
    if (!fileSystem.folderExists(path)) {
        fileSystem.deleteFile(path);
    }
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
    text << "backup " << journal.backupFolder << "\n";
    for (const JournalFont& font : journal.fonts) {
        text << "font " << font.name << " " << font.temporary << " " << font.newSize << " "
             << font.newSum << " " << (font.replaces ? 1 : 0) << " " << font.oldSize << " "
             << font.oldSum << "\n";
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
    if (!std::getline(lines, line) || !line.starts_with("backup ")) {
        return std::nullopt;
    }
    journal.backupFolder = line.substr(7);
    while (std::getline(lines, line)) {
        if (line == kLastLine) {
            return journal.fonts.empty() ? std::nullopt : std::optional(journal);
        }
        std::istringstream words(line);
        std::string word;
        JournalFont font;
        int replaces = 0;
        if (!(words >> word >> font.name >> font.temporary >> font.newSize >> font.newSum >>
              replaces >> font.oldSize >> font.oldSum) ||
            word != "font" || !isSlotName(font.name) || !isPlainFileName(font.temporary) ||
            !font.temporary.starts_with("." + font.name + ".tessavine")) {
            return std::nullopt;
        }
        font.replaces = replaces != 0;
        journal.fonts.push_back(std::move(font));
    }
    return std::nullopt;  // cut short: no "end"
}

Completion completeInterruptedCopy(FileSystem& fileSystem, const std::string& folder) {
    const std::string journalPath = pathOfNameIn(folder, kCopyJournalName);
    std::string readError;
    const std::optional<std::string> text =
        fileSystem.readOrdinaryFile(journalPath, kLargestNoteBytes, readError);
    if (!text) {
        if (readError.empty()) {
            return {};
        }
        return {{},
                "The note of an interrupted copy in \"" + folder + "\" cannot be read: " +
                    readError + " Remove it by hand after checking the fonts there."};
    }
    const std::optional<CopyJournal> journal = decodeJournal(*text);
    if (!journal) {
        return {{},
                "The note of an interrupted copy, \"" + journalPath +
                    "\", is damaged. Check the fonts there by hand, put back a backup with "
                    "tessavine-restore if need be, then remove the note."};
    }

    bool newSetWhole = true;
    for (const JournalFont& font : journal->fonts) {
        const std::string destination = pathOfNameIn(folder, font.name);
        const std::string temporary = pathOfNameIn(folder, font.temporary);
        if (!matches(fileSystem, destination, font.newSize, font.newSum) &&
            !matches(fileSystem, temporary, font.newSize, font.newSum)) {
            newSetWhole = false;
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

    // Some new font is damaged or gone: the old set comes back, from a backup checked first.
    for (const JournalFont& font : journal->fonts) {
        if (font.replaces && !matches(fileSystem, pathOfNameIn(journal->backupFolder, font.name),
                                      font.oldSize, font.oldSum)) {
            return {{},
                    "An interrupted copy into \"" + folder +
                        "\" can neither be finished (a new font is incomplete) nor undone: "
                        "the backup's " +
                        font.name + " in \"" + journal->backupFolder +
                        "\" is not the font it was. Nothing was changed; put back another "
                        "backup with tessavine-restore."};
        }
    }
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
            removeIfThere(fileSystem, destination);  // added by the copy: it goes with the set
        }
    }
    if (std::string error = fileSystem.deleteFile(journalPath); !error.empty()) {
        return {{}, error};
    }
    return {"An interrupted copy into \"" + folder + "\" was undone: it holds the old " + names +
                " again, from \"" + journal->backupFolder + "\".",
            {}};
}

}  // namespace tessavine
