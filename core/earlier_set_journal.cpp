#include "core/earlier_set_journal.h"

#include <optional>
#include <sstream>
#include <vector>

#include "core/copy_lock.h"
#include "core/file_name_rule.h"
#include "core/file_platform.h"
#include "core/font_check.h"
#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/main_controls.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

constexpr std::size_t kShownBytes = 300;

struct EarlierLine {
    std::string name, part, aside;
    std::uintmax_t size = 0;
    std::uint64_t sum = 0;
    int existed = 0;
};

// The journal's lines as that version wrote them, or nothing: at most one line per slot, each
// naming a slot file, its ".<tag>.part" and its ".<tag>.old" with one tag for all, so that a
// journal someone else wrote can never lead us to any other file.
std::optional<std::vector<EarlierLine>> readLines(const std::string& text) {
    std::vector<EarlierLine> lines;
    std::istringstream in(text);
    std::string tag;
    for (std::string row; std::getline(in, row);) {
        if (row == "end") {
            return in.peek() == std::char_traits<char>::eof() && !lines.empty()
                       ? std::optional(lines)
                       : std::nullopt;
        }
        std::istringstream words(row);
        std::string word;
        EarlierLine line;
        if (lines.size() == static_cast<std::size_t>(kSlotCount) ||
            !(words >> word >> line.name >> line.part >> line.aside >> line.size >> line.sum >>
              line.existed) ||
            word != "file" || !(words >> std::ws).eof() || !isSlotFileName(line.name) ||
            (line.existed != 0 && line.existed != 1) || !line.part.starts_with(line.name + ".") ||
            !line.part.ends_with(".part")) {
            return std::nullopt;
        }
        const std::string lineTag =
            line.part.substr(line.name.size() + 1, line.part.size() - line.name.size() - 6);
        if (!isCopyTag(lineTag) || (!tag.empty() && lineTag != tag) ||
            line.aside != line.name + "." + lineTag + ".old") {
            return std::nullopt;
        }
        tag = lineTag;
        for (const EarlierLine& earlier : lines) {
            if (earlier.name == line.name) {
                return std::nullopt;
            }
        }
        lines.push_back(line);
    }
    return std::nullopt;  // cut short: no "end"
}

// A whole PGF font of exactly these bytes, never a link: only such a file is ever put in place.
bool sameBytes(const FileSystem& fileSystem, const std::string& path, std::uintmax_t size,
               std::uint64_t sum) {
    std::string ignored;
    const std::optional<std::string> bytes = readWholeFont(fileSystem, path, ignored);
    return bytes && bytes->size() == size && contentSum(*bytes) == sum;
}

bool ordinaryFile(const FileSystem& fileSystem, const std::string& path) {
    return fileSystem.fileExists(path) && !platform::isSymbolicLink(platform::pathFromUtf8(path));
}

void removeFile(FileSystem& fileSystem, const std::string& path) {
    if (!fileSystem.folderExists(path)) {
        fileSystem.deleteFile(path);
    }
}

// "ltn3.pgf.<tag>.part", "ltn3.pgf.<tag>.old" or the journal's draft
// ".ttf2pgf-set.journal.<tag>.part".
bool isEarlierLeftover(const std::string& name) {
    for (const char* end : {".part", ".old"}) {
        if (!name.ends_with(end)) {
            continue;
        }
        const std::string stem = name.substr(0, name.size() - std::string(end).size());
        const std::string draft = std::string(kEarlierSetJournalName) + ".";
        if (stem.starts_with(draft) && std::string(end) == ".part") {
            return isCopyTag(stem.substr(draft.size()));
        }
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string head = slotFileName(slot) + ".";
            if (stem.starts_with(head) && isCopyTag(stem.substr(head.size()))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

Completion settleEarlierSetJournal(FileSystem& fileSystem, const std::string& folder) {
    const std::string journalPath = pathOfNameIn(folder, kEarlierSetJournalName);
    const std::string shownPath = shownText(journalPath, kShownBytes);
    std::string readError;
    const std::optional<std::string> text =
        fileSystem.readOrdinaryFile(journalPath, kLargestNoteBytes, readError);
    if (!text && !readError.empty()) {
        return {{},
                "The note of an interrupted ttf2pgf --set of an earlier version, \"" + shownPath +
                    "\", cannot be read: " + shownText(readError, kShownBytes) +
                    " Nothing was changed. Check the fonts in that folder, remove the note, then "
                    "write the set again."};
    }
    if (!text) {
        for (const std::string& name : fileSystem.namesIn(folder)) {
            if (isEarlierLeftover(name)) {
                removeFile(fileSystem, pathOfNameIn(folder, name));
            }
        }
        return {};
    }
    const std::optional<std::vector<EarlierLine>> lines = readLines(*text);
    if (!lines) {
        return {{},
                "The note of an interrupted ttf2pgf --set of an earlier version, \"" + shownPath +
                    "\", is damaged or names files that are not fonts of ours; nothing was "
                    "changed. Check the fonts in that folder, remove the note, then write the set "
                    "again."};
    }
    bool newWhole = true;
    for (const EarlierLine& line : *lines) {
        newWhole = newWhole &&
                   (sameBytes(fileSystem, pathOfNameIn(folder, line.name), line.size, line.sum) ||
                    sameBytes(fileSystem, pathOfNameIn(folder, line.part), line.size, line.sum));
    }
    for (const EarlierLine& line : *lines) {
        const std::string path = pathOfNameIn(folder, line.name);
        const std::string aside = pathOfNameIn(folder, line.aside);
        std::string error;
        if (newWhole) {
            if (!sameBytes(fileSystem, path, line.size, line.sum)) {
                error = fileSystem.renameReplacing(pathOfNameIn(folder, line.part), path);
            }
        } else if (ordinaryFile(fileSystem, aside)) {
            error = fileSystem.renameReplacing(aside, path);
        } else if (!line.existed && sameBytes(fileSystem, path, line.size, line.sum)) {
            removeFile(fileSystem, path);  // the run's own new font, in a slot that had none
        }
        if (!error.empty()) {
            return {{},
                    "An interrupted ttf2pgf --set of an earlier version into \"" + folder +
                        "\" could not be settled: " + error};
        }
    }
    for (const EarlierLine& line : *lines) {
        removeFile(fileSystem, pathOfNameIn(folder, line.part));
        if (newWhole) {
            removeFile(fileSystem, pathOfNameIn(folder, line.aside));
        }
    }
    fileSystem.deleteFile(journalPath);
    return {"An interrupted ttf2pgf --set of an earlier version into \"" + folder + "\" was " +
                (newWhole ? "finished: it holds that run's new fonts."
                          : "undone: it holds the old fonts."),
            {}};
}

}  // namespace tessavine
