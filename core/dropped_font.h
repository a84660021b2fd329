#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/prompts.h"

namespace tessavine {

// The refusal of a drop that is not one font file.
inline constexpr const char* kDropRefusedMessage =
    "Only a font file can be dropped here: one .ttf, .otf or .ttc file.";

// True for a file name the converter takes as a font: .ttf, .otf or .ttc, in any case.
bool isFontFileName(const std::string& fileName);

// One file dropped onto the window, as its path and its file name (both UTF-8).
struct DroppedFile {
    std::string path;
    std::string name;
};

// Makes a dropped font usable by the converter, which looks for it in the program folder: a
// font from elsewhere is copied there. Where the folder holds a different file of that name,
// the user is asked before it is replaced; an identical one is used as it is. Returns the name
// for fontname1, or nothing when the drop was refused (anything but one font file, told through
// `prompts`), the user kept the other file, or the copy failed (told through `prompts`).
std::optional<std::string> adoptDroppedFont(FileSystem& fileSystem, Prompts& prompts,
                                            const std::string& programFolder,
                                            const std::vector<DroppedFile>& dropped);

}  // namespace tessavine
