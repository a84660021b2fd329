#include "core/font_copy_command.h"

#include <algorithm>
#include <optional>

#include "core/copy_journal.h"
#include "core/device_step.h"
#include "core/file_platform.h"
#include "core/font_backup.h"
#include "core/font_check.h"
#include "core/font_set_copy.h"
#include "core/font_slots.h"
#include "core/paths.h"
#include "core/result_texts.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUnusable = 2;

constexpr const char* kUsage =
    "usage: tessavine-copy [--yes] [--to <font folder>] <font file or folder>... (puts ltn0.pgf "
    "to ltn15.pgf or jpn0.pgf, or every such file of a folder made with ttf2pgf.exe --set, onto "
    "the PSP that is connected, or into the font folder after --to; the fonts replaced are backed "
    "up first and put back with tessavine-restore; a font that lacks basic letters is warned of "
    "and the copy asked for, which --yes answers Yes)";
constexpr const char* kRetry = "run tessavine-copy again";
constexpr const char* kNothingCopied = "Nothing was copied.";

// The journals a run that writes a whole set leaves in its folder while the set is unfinished:
// the copy's own and the converter's for --set.
constexpr const char* kUnfinishedSetMarks[] = {kCopyJournalName, ".ttf2pgf-set.journal"};

// Errors are one line, whatever a file system's or a journal's words held (see shownText).
int fail(std::ostream& error, const std::string& text, int code = kFailed) {
    error << "tessavine-copy: " << shownText(text) << "\n";
    return code;
}

std::string fileNameOf(const std::string& path) {
    return platform::utf8FromPath(platform::pathFromUtf8(path).filename());
}

struct Sources {
    std::vector<std::string> paths;
    std::string refusal;  // empty when every font named can be tried
};

// The fonts the arguments name, each a slot file, no name twice. A folder gives whatever stands
// at a slot file's name in it, so that a folder or a link there is refused by the font check
// rather than quietly left out.
Sources gatherSources(const FileSystem& fileSystem, const std::vector<std::string>& named) {
    Sources sources;
    const auto add = [&](const std::string& path) {
        const std::string name = fileNameOf(path);
        const auto same = std::find_if(sources.paths.begin(), sources.paths.end(),
                                       [&](const std::string& p) { return fileNameOf(p) == name; });
        if (same != sources.paths.end()) {
            sources.refusal = name + " is named twice, as \"" + *same + "\" and \"" + path +
                              "\"; a font folder holds one file of a name. " + kNothingCopied +
                              " Name one of them, then " + kRetry + ".";
            return false;
        }
        sources.paths.push_back(path);
        return true;
    };
    for (const std::string& source : named) {
        if (!fileSystem.folderExists(source)) {
            const std::string name = fileNameOf(source);
            if (!isSlotFileName(name)) {
                sources.refusal = "\"" + source + "\" is not named as a font slot file (" +
                                  kFontSlotNamesInWords +
                                  "); the PSP loads its fonts by these names only. " +
                                  kNothingCopied + " Make the font for its slot (ttf2pgf.exe " +
                                  "--slot), then " + kRetry + ".";
                return sources;
            }
            if (!add(source)) {
                return sources;
            }
            continue;
        }
        const std::vector<std::string> present = fileSystem.namesIn(source);
        for (const char* mark : kUnfinishedSetMarks) {
            if (std::find(present.begin(), present.end(), mark) != present.end()) {
                sources.refusal = "The fonts in \"" + source +
                                  "\" are an unfinished set: the run that wrote them was "
                                  "interrupted. " +
                                  kNothingCopied + " Make the set again, then " + kRetry + ".";
                return sources;
            }
        }
        std::size_t found = 0;
        for (const std::string& slot : fontSlotFileNames()) {
            if (std::find(present.begin(), present.end(), slot) != present.end()) {
                ++found;
                if (!add(joinPath(source, slot))) {
                    return sources;
                }
            }
        }
        if (found == 0) {
            sources.refusal = "The folder \"" + source + "\" holds no font slot file (" +
                              kFontSlotNamesInWords + "). " + kNothingCopied +
                              " Name the folder ttf2pgf.exe --set wrote, or the font files.";
            return sources;
        }
    }
    return sources;
}

struct Destination {
    std::string fontFolder;
    std::string place;  // as messages name it
    std::string root;   // the PSP's root when it was found; empty for a folder named
};

// The window's warning for each font that lacks basic letters, then its question, as long as the
// user can still say No; true to go on. A font that cannot be read gets no warning: the copy's
// own check refuses it in its words. With several fonts each warning names its file first.
bool confirmedDespiteMissingLetters(const FileSystem& fileSystem, const Sources& sources,
                                    const Destination& destination, bool answeredYes,
                                    Prompts& prompts, std::ostream& out) {
    bool warned = false;
    for (const std::string& path : sources.paths) {
        std::string unread;
        const std::optional<std::string> bytes = readWholeFont(fileSystem, path, unread);
        const std::string name = fileNameOf(path);
        const std::string warning = bytes ? missingLettersWarning(name, *bytes) : std::string();
        if (!warning.empty()) {
            prompts.showWarning(sources.paths.size() == 1 ? warning : name + ": " + warning);
            warned = true;
        }
    }
    if (!warned) {
        return true;
    }
    const DeviceQuestion question =
        destination.root.empty()
            ? DeviceQuestion{"Copy font file(s)?",
                             "Do you want to copy the font file(s) to " + destination.fontFolder}
            : deviceQuestion(deviceKind(fileSystem, destination.root), destination.root);
    if (answeredYes) {
        out << question.text << "? Yes (--yes).\n";
        return true;
    }
    return prompts.askYesNo(question.title, question.text);
}

}  // namespace

int runCopy(const std::vector<std::string>& arguments, const std::string& programFolder,
            const std::vector<std::string>& candidateRoots, FileSystem& fileSystem,
            const FreeSpace& freeSpace, Prompts& prompts, std::ostream& out, std::ostream& error,
            std::chrono::system_clock::time_point now) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage << "\n";
        return kDone;
    }
    std::optional<std::string> to;
    bool answeredYes = false;
    std::vector<std::string> named;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--yes" && !answeredYes) {
            answeredYes = true;
        } else if (arguments[i] == "--to" && !to && i + 1 < arguments.size()) {
            to = arguments[++i];
        } else if (arguments[i].starts_with("-")) {
            return fail(error, kUsage, kUnusable);
        } else {
            named.push_back(arguments[i]);
        }
    }
    if (named.empty()) {
        return fail(error, kUsage, kUnusable);
    }

    const Sources sources = gatherSources(fileSystem, named);
    if (!sources.refusal.empty()) {
        return fail(error, sources.refusal);
    }

    Destination destination;
    if (to) {
        if (!fileSystem.folderExists(*to)) {
            return fail(error, "The font folder \"" + *to +
                                   "\" is not there. Connect the PSP, then name its font "
                                   "folder after --to. " +
                                   kNothingCopied);
        }
        destination = {*to, "the folder \"" + *to + "\"", {}};
    } else {
        const std::optional<std::string> root = findDeviceRoot(fileSystem, candidateRoots);
        if (!root) {
            return fail(error,
                        "No PSP was found. Connect it with USB mode on (a Memory Stick shows "
                        "its " +
                            joinPath("PSP", "GAME") +
                            " folder, FLASH0 its kd folder), or name its font folder "
                            "after --to. " +
                            kNothingCopied);
        }
        destination = {deviceFontFolder(*root), "the PSP", *root};
        out << (deviceKind(fileSystem, *root) == DeviceKind::flash0 ? "FLASH0" : "Memory Stick")
            << " of the PSP found at " << shownText(*root) << ".\n";
    }

    // Before anything is made on the PSP, not even its font folder: after No it is as it was.
    if (!confirmedDespiteMissingLetters(fileSystem, sources, destination, answeredYes, prompts,
                                        out)) {
        out << (destination.root.empty() ? kNothingCopied : nothingCopiedNotice()) << "\n";
        return kFailed;
    }

    // Between finding the PSP and writing to it, a card pulled or a mount undone leaves an
    // ordinary folder of this computer at the root, which must receive nothing: not even the
    // font folder.
    if (!destination.root.empty()) {
        if (!carriesMark(fileSystem, destination.root)) {
            return fail(error, "The PSP at " + destination.root +
                                   " is gone: it was disconnected before the copy began, so "
                                   "nothing was copied. Connect it again, then " +
                                   kRetry + ".");
        }
        if (!fileSystem.folderExists(destination.fontFolder)) {
            const std::string made = fileSystem.createFolder(destination.fontFolder);
            if (!made.empty()) {
                return fail(error,
                            "The font folder could not be made on the PSP, so no font files "
                            "were copied to it. Check that the PSP is still connected and not "
                            "write-protected. " +
                                made);
            }
        }
    }

    const FontSetCopy copy{sources.paths, destination.fontFolder,
                           joinPath(programFolder, kBackupFolderName), destination.place, kRetry};
    const FontSetCopyOutcome outcome = copyFontSet(fileSystem, freeSpace, copy, now);
    if (!outcome.completed.empty()) {
        out << shownText(outcome.completed) << "\n";
    }
    if (!outcome.error.empty()) {
        return fail(error, outcome.error);
    }
    out << copyNotice(copy.sources.size(), copy.destinationFolder, outcome.backupFolder) << "\n";
    if (!outcome.backupFolder.empty()) {
        out << "Put them back with: tessavine-restore \"" << shownText(outcome.backupFolder)
            << "\"\n";
    }
    return kDone;
}

}  // namespace tessavine
