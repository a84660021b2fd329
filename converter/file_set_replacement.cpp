#include "file_set_replacement.h"

#include <optional>
#include <sstream>
#include <system_error>

#include "console/platform.h"
#include "conversion_error.h"
#include "core/copy_journal.h"
#include "core/copy_lock.h"
#include "core/file_platform.h"
#include "core/font_check.h"
#include "core/font_slots.h"
#include "core/input_limits.h"
#include "core/main_controls.h"
#include "core/shown_text.h"
#include "core/std_file_system.h"

namespace tessavine::converter {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

fs::path besides(const fs::path& path, const std::string& tag, const char* suffix) {
    fs::path other = path;
    other += "." + tag + suffix;
    return other;
}

// Where one file of the set stands while the set is replaced.
struct Replacement {
    const PlannedFile* file = nullptr;
    bool existed = false;
    fs::path temporary;  // the new content, until it is renamed into place
    fs::path aside;      // the file it replaces, while the set is not complete
    bool written = false;
    bool movedAside = false;
    bool inPlace = false;
};

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

[[noreturn]] void fail(const PlannedFile& file, const std::string& problem) {
    throw ConversionError(file.label + ": cannot write " + quoted(file.path) + ": " + problem);
}

void writeTemporary(Replacement& replacement) {
    const PlannedFile& file = *replacement.file;
    // Created new, never through a link someone planted at the name.
    tessavine::platform::OutputFile out =
        tessavine::platform::OutputFile::createNew(replacement.temporary);
    replacement.written = out.isOpen();
    if (!out.isOpen()) {
        fail(file,
             "the folder does not accept new files; check that you may write there and that "
             "the disk is not full or read-only");
    }
    if (!out.write(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()) ||
        !out.finish()) {
        fail(file, "the file was not written completely; check that the disk is not full");
    }
}

void putInPlace(Replacement& replacement) {
    const PlannedFile& file = *replacement.file;
    std::error_code error;
    if (fs::is_directory(file.path, error)) {
        fail(file, "a folder of that name is in the way; rename or remove it");
    }
    if (fs::exists(file.path, error)) {
        fs::rename(file.path, replacement.aside, error);
        if (error) {
            fail(file, "the old file cannot be moved aside (" + error.message() +
                           "); check that no other program holds it open");
        }
        replacement.movedAside = true;
    }
    fs::rename(replacement.temporary, file.path, error);
    if (error) {
        fail(file, "the new file cannot be renamed into place (" + error.message() +
                       "); check that no other program holds it open");
    }
    replacement.inPlace = true;
}

// Undoes whatever of the set has been done. Returns what could not be undone, for the message.
std::string rollBack(std::vector<Replacement>& replacements) {
    std::string stranded;
    for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
        if (it->inPlace) {
            removeQuietly(it->file->path);
        }
        if (it->written && !it->inPlace) {
            removeQuietly(it->temporary);
        }
        if (it->movedAside) {
            std::error_code error;
            fs::rename(it->aside, it->file->path, error);
            if (error) {
                stranded += "; the old " + it->file->path.filename().string() + " is kept as " +
                            quoted(it->aside) + ", rename it back by hand";
            }
        }
    }
    return stranded;
}

// The note that says a set is being renamed into the folder, as the copy onto a PSP keeps one:
// written after every new file is whole and before the first old file moves aside, removed after
// the last rename, so that a run ended in between is settled by the next run into the folder.
constexpr const char* kSetJournalName = ".ttf2pgf-set.journal";

// A whole PGF font of exactly these bytes, never a link: only such a file is ever put in place.
bool sameBytes(const fs::path& path, std::uintmax_t size, std::uint64_t sum) {
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(path, error)) ||
        fs::file_size(path, error) != size || error) {
        return false;
    }
    const tessavine::StdFileSystem files;
    std::string ignored;
    const auto bytes = tessavine::readWholeFont(files, path.string(), ignored);
    return bytes && bytes->size() == size && tessavine::contentSum(*bytes) == sum;
}

struct JournalLine {
    std::string name, part, aside;
    std::uintmax_t size = 0;
    std::uint64_t sum = 0;
    int existed = 0;
};

// The journal's lines as a run of ours writes them, or nothing: at most one line per slot, each
// naming a slot file, its ".<tag>.part" and its ".<tag>.old" with one tag for all, so that a
// journal someone else wrote can never lead us to any other file.
std::optional<std::vector<JournalLine>> readJournalLines(const std::string& text) {
    std::vector<JournalLine> lines;
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
        JournalLine line;
        if (lines.size() == static_cast<std::size_t>(tessavine::kSlotCount) ||
            !(words >> word >> line.name >> line.part >> line.aside >> line.size >> line.sum >>
              line.existed) ||
            word != "file" || !(words >> std::ws).eof() || !tessavine::isSlotFileName(line.name) ||
            (line.existed != 0 && line.existed != 1) || !line.part.starts_with(line.name + ".") ||
            !line.part.ends_with(".part")) {
            return std::nullopt;
        }
        const std::string lineTag =
            line.part.substr(line.name.size() + 1, line.part.size() - line.name.size() - 6);
        if (!tessavine::isCopyTag(lineTag) || (!tag.empty() && lineTag != tag) ||
            line.aside != line.name + "." + lineTag + ".old") {
            return std::nullopt;
        }
        tag = lineTag;
        for (const JournalLine& earlier : lines) {
            if (earlier.name == line.name) {
                return std::nullopt;
            }
        }
        lines.push_back(line);
    }
    return std::nullopt;  // cut short: no "end"
}

// Brings a folder that a killed run left with a journal to one whole set: the new files when
// all of them are whole, else the old ones from where they were moved aside. A journal that is
// not one of ours changes nothing.
void settleInterruptedSet(const fs::path& folder) {
    const fs::path journalPath = folder / kSetJournalName;
    const std::string shownPath = tessavine::shownText(journalPath.string(), 300);
    const tessavine::StdFileSystem files;
    std::string readError;
    const auto text = files.readOrdinaryFile(journalPath.string(), 64 * 1024, readError);
    if (!text) {
        if (!readError.empty()) {
            throw ConversionError("the note of an interrupted run, \"" + shownPath +
                                  "\", cannot be read: " + tessavine::shownText(readError, 300) +
                                  " Nothing was changed; check the fonts there, then remove "
                                  "the note");
        }
        return;
    }
    const std::optional<std::vector<JournalLine>> lines = readJournalLines(*text);
    if (!lines) {
        throw ConversionError(
            "the note of an interrupted run, \"" + shownPath +
            "\", is damaged or names files that are not fonts of ours; nothing was changed. "
            "Check the fonts in that folder, then remove the note and run again");
    }
    bool newWhole = true;
    for (const JournalLine& line : *lines) {
        newWhole = newWhole && (sameBytes(folder / line.name, line.size, line.sum) ||
                                sameBytes(folder / line.part, line.size, line.sum));
    }
    std::error_code error;
    std::error_code probe;  // a file looked for and not found is no failure of the settling
    for (const JournalLine& line : *lines) {
        const fs::path path = folder / line.name;
        const fs::path aside = folder / line.aside;
        if (newWhole) {
            if (!sameBytes(path, line.size, line.sum)) {
                fs::rename(folder / line.part, path, error);
            }
        } else if (fs::is_regular_file(fs::symlink_status(aside, probe))) {
            fs::rename(aside, path, error);
        } else if (!line.existed && sameBytes(path, line.size, line.sum)) {
            removeQuietly(path);  // the run's own new font, in a slot that had none
        }
        if (error) {
            throw ConversionError("an interrupted run into " + quoted(folder) +
                                  " could not be settled (" + error.message() +
                                  "); check that you may write there");
        }
    }
    for (const JournalLine& line : *lines) {
        if (!fs::is_directory(fs::symlink_status(folder / line.part, probe))) {
            removeQuietly(folder / line.part);
        }
        if (newWhole && !fs::is_directory(fs::symlink_status(folder / line.aside, probe))) {
            removeQuietly(folder / line.aside);
        }
    }
    removeQuietly(journalPath);
    tessavine::console::printToErrorStream(
        std::string("ttf2pgf: an interrupted run into \"") +
        tessavine::shownText(folder.string(), 300) + "\" was " +
        (newWhole ? "finished: it holds that run's new fonts" : "undone: it holds the old fonts") +
        "\n");
}

// What killed runs left that no journal names: their temporary files ("ltn3.pgf.<tag>.part"),
// the old files moved aside before the journal was written ("ltn3.pgf.<tag>.old"), a journal
// never put in place and a lock never taken; none can be in use while we hold the folder's lock.
void removeLeftovers(const fs::path& folder, std::span<const PlannedFile> files) {
    std::error_code error;
    for (fs::directory_iterator entries(folder, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if ((name.starts_with(std::string(kSetJournalName) + ".") ||
             tessavine::isLockLeftover(name)) &&
            !fs::is_directory(fs::symlink_status(entries->path(), error))) {
            removeQuietly(entries->path());
            continue;
        }
        for (const PlannedFile& file : files) {
            const std::string head = file.path.filename().string() + ".";
            if (name.starts_with(head) && (name.ends_with(".part") || name.ends_with(".old")) &&
                !fs::is_directory(fs::symlink_status(entries->path(), error))) {
                removeQuietly(entries->path());
            }
        }
    }
}

void writeJournal(const fs::path& folder, const std::string& tag,
                  const std::vector<Replacement>& replacements) {
    std::string text;
    for (const Replacement& r : replacements) {
        const std::string_view bytes(reinterpret_cast<const char*>(r.file->bytes.data()),
                                     r.file->bytes.size());
        text += "file " + r.file->path.filename().string() + " " + r.temporary.filename().string() +
                " " + r.aside.filename().string() + " " + std::to_string(bytes.size()) + " " +
                std::to_string(tessavine::contentSum(bytes)) + " " + (r.existed ? "1" : "0") + "\n";
    }
    text += "end\n";
    tessavine::StdFileSystem files;
    const fs::path draft = besides(folder / kSetJournalName, tag, ".part");
    std::string error = files.createNewFile(draft.string(), text);
    if (error.empty()) {
        error = files.renameReplacing(draft.string(), (folder / kSetJournalName).string());
    }
    if (!error.empty()) {
        removeQuietly(draft);
        throw ConversionError("cannot start replacing the set in " + quoted(folder) + ": " + error);
    }
}

}  // namespace

void replaceFilesTogether(std::span<const PlannedFile> files) {
    if (files.empty()) {
        return;
    }
    const fs::path folder = files.front().path.parent_path();
    tessavine::StdFileSystem lockFiles;
    std::string lockError;
    const tessavine::CopyLock lock = tessavine::CopyLock::take(
        lockFiles, folder.string(), tessavine::kCopyLockPatience, lockError);
    if (!lock.held()) {
        throw ConversionError(lockError);
    }
    settleInterruptedSet(folder);
    removeLeftovers(folder, files);

    const std::string tag = lock.tag();
    std::vector<Replacement> replacements;
    replacements.reserve(files.size());
    for (const PlannedFile& file : files) {
        std::error_code error;
        replacements.push_back({&file, fs::exists(fs::symlink_status(file.path, error)),
                                besides(file.path, tag, ".part"), besides(file.path, tag, ".old")});
    }
    try {
        for (Replacement& replacement : replacements) {
            writeTemporary(replacement);
        }
        writeJournal(folder, tag, replacements);
        for (Replacement& replacement : replacements) {
            putInPlace(replacement);
        }
    } catch (const ConversionError& error) {
        const std::string stranded = rollBack(replacements);
        if (stranded.empty()) {
            removeQuietly(folder / kSetJournalName);
        }
        throw ConversionError(error.what() +
                              (stranded.empty() ? std::string("; no file was changed") : stranded));
    }
    removeQuietly(folder / kSetJournalName);
    for (const Replacement& replacement : replacements) {
        if (replacement.movedAside) {
            removeQuietly(replacement.aside);
        }
    }
}

}  // namespace tessavine::converter
