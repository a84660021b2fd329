#include "core/font_set_copy.h"

#include <cstdio>
#include <optional>

#include "core/file_platform.h"
#include "core/font_backup.h"
#include "core/font_slots.h"
#include "core/main_controls.h"
#include "core/paths.h"

namespace tessavine {
namespace {

constexpr std::uintmax_t kClusterBytes = 32 * 1024;
constexpr const char* kTemporaryMark = ".tessavine";
constexpr const char* kTemporaryEnd = ".tmp";

std::string fileNameOf(const std::string& path) {
    return platform::utf8FromPath(platform::pathFromUtf8(path).filename());
}

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// A temporary file of ours for a font slot, whatever run left it: ".ltn3.pgf.tessavine.tmp",
// and the ".ltn3.pgf.tessavine-<number>.tmp" of the single copies of earlier versions.
bool isOurTemporaryFile(const std::string& name) {
    const std::size_t end = std::string(kTemporaryEnd).size();
    if (name.size() <= end || name.compare(name.size() - end, end, kTemporaryEnd) != 0) {
        return false;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (name.rfind("." + slotFileName(slot) + kTemporaryMark, 0) == 0) {
            return true;
        }
    }
    return false;
}

void removeStaleTemporaryFiles(FileSystem& fileSystem, const std::string& folder) {
    for (const std::string& name : fileSystem.namesIn(folder)) {
        const std::string path = joinPath(folder, name);
        if (isOurTemporaryFile(name) && fileSystem.fileExists(path)) {
            fileSystem.deleteFile(path);  // one that stays is written over or reported later
        }
    }
}

struct PlannedFont {
    std::string name;
    std::string source;
    std::string destination;
    std::string temporary;
    std::uintmax_t size = 0;
    bool replaces = false;
};

}  // namespace

std::string temporaryFontName(const std::string& fontName) {
    return "." + fontName + kTemporaryMark + kTemporaryEnd;
}

std::uintmax_t roomNeeded(std::uintmax_t fileSize) {
    return (fileSize + kClusterBytes - 1) / kClusterBytes * kClusterBytes;
}

std::string readableSize(std::uintmax_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + " bytes";
    }
    char text[32];
    if (bytes < 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024.0);
    } else {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1048576.0);
    }
    return text;
}

FontSetCopyOutcome copyFontSet(FileSystem& fileSystem, const FreeSpace& freeSpace,
                               const FontSetCopy& copy, std::chrono::system_clock::time_point now) {
    const std::string nothingChanged =
        "Nothing was copied; the fonts on " + copy.place + " are as they were.";
    removeStaleTemporaryFiles(fileSystem, copy.destinationFolder);

    std::vector<PlannedFont> fonts;
    std::uintmax_t needed = 0;
    for (const std::string& source : copy.sources) {
        PlannedFont font;
        font.name = fileNameOf(source);
        font.source = source;
        font.destination = joinPath(copy.destinationFolder, font.name);
        font.temporary = joinPath(copy.destinationFolder, temporaryFontName(font.name));
        const std::optional<std::uintmax_t> size = fileSystem.fileSize(source);
        if (!size) {
            return {"The font file \"" + source + "\" could not be read. " + nothingChanged +
                        " Check that it is there, then " + copy.retry + ".",
                    {}};
        }
        if (fileSystem.folderExists(font.destination)) {
            return {"A folder named " + font.name + " stands where that font must go on " +
                        copy.place + " (\"" + font.destination + "\"). " + nothingChanged +
                        " Move or rename that folder, then " + copy.retry + ".",
                    {}};
        }
        font.size = *size;
        font.replaces = fileSystem.fileExists(font.destination);
        needed += roomNeeded(font.size);
        fonts.push_back(std::move(font));
    }
    if (fonts.empty()) {
        return {};
    }

    // The new fonts are written beside the old ones before any old one goes, so the room for
    // all of them must be there from the start.
    const std::optional<std::uintmax_t> available =
        freeSpace.availableBytes(copy.destinationFolder);
    if (available && *available < needed) {
        return {"There is not enough room on " + copy.place + ": the new fonts need " +
                    readableSize(needed) + ", and " + readableSize(*available) + " are free. " +
                    nothingChanged + " Make room on it, then " + copy.retry + ".",
                {}};
    }

    FontSetCopyOutcome outcome;
    std::vector<std::string> replaced;
    for (const PlannedFont& font : fonts) {
        if (font.replaces) {
            replaced.push_back(font.name);
        }
    }
    if (!replaced.empty()) {
        const BackupOutcome backup =
            backUpFonts(fileSystem, copy.backupRoot, copy.destinationFolder, replaced, now);
        if (!backup.error.empty()) {
            return {"The fonts that the new ones would replace could not be backed up. " +
                        nothingChanged + " " + backup.error,
                    {}};
        }
        outcome.backupFolder = backup.folder;
    }
    const std::string keptIn =
        outcome.backupFolder.empty()
            ? std::string()
            : " The fonts it had before are kept in \"" + outcome.backupFolder + "\".";

    for (std::size_t i = 0; i < fonts.size(); ++i) {
        std::string error = fileSystem.copyFile(fonts[i].source, fonts[i].temporary);
        if (error.empty()) {
            continue;
        }
        // Asked while the unfinished copy still takes its room: a drive that filled up shows
        // less free space than the font needs, whatever word the drive found for the failure.
        const std::optional<std::uintmax_t> left = freeSpace.availableBytes(copy.destinationFolder);
        const bool full = left && *left < fonts[i].size;
        for (std::size_t written = 0; written <= i; ++written) {
            if (fileSystem.fileExists(fonts[written].temporary)) {
                fileSystem.deleteFile(fonts[written].temporary);
            }
        }
        const std::string what =
            full ? "The font file " + fonts[i].name + " did not fit: " + copy.place + " is full. "
                 : "The font file " + fonts[i].name + " could not be written to " + copy.place +
                       ". ";
        const std::string advice =
            full ? " Make room on it, then " + copy.retry + "." : std::string();
        return {what + nothingChanged + advice + " " + error, outcome.backupFolder};
    }

    for (std::size_t i = 0; i < fonts.size(); ++i) {
        std::string error = fileSystem.renameReplacing(fonts[i].temporary, fonts[i].destination);
        if (error.empty()) {
            continue;
        }
        std::vector<std::string> fresh, old, missing;
        for (std::size_t j = 0; j < fonts.size(); ++j) {
            (j < i ? fresh : fonts[j].replaces ? old : missing).push_back(fonts[j].name);
            if (j >= i && fileSystem.fileExists(fonts[j].temporary)) {
                fileSystem.deleteFile(fonts[j].temporary);
            }
        }
        std::string state =
            "The copy onto " + copy.place + " stopped half-way, at " + fonts[i].name + ". ";
        if (!fresh.empty()) {
            state += "New there: " + listed(fresh) + ". ";
        }
        if (!old.empty()) {
            state += "Still the old ones: " + listed(old) + ". ";
        }
        if (!missing.empty()) {
            state += "Not copied: " + listed(missing) + ". ";
        }
        return {state + "Check that " + copy.place + " is still there, then " + copy.retry + "." +
                    keptIn + " " + error,
                outcome.backupFolder};
    }
    return outcome;
}

}  // namespace tessavine
