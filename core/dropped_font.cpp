#include "core/dropped_font.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/paths.h"

namespace tessavine {

namespace {

constexpr std::array<const char*, 3> kFontExtensions = {".ttf", ".otf", ".ttc"};
constexpr const char* kReplaceTitle = "Replace the font?";

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

}  // namespace

bool isFontFileName(const std::string& fileName) {
    const std::string lower = lowerAscii(fileName);
    return std::any_of(kFontExtensions.begin(), kFontExtensions.end(),
                       [&lower](const std::string& extension) {
                           return lower.size() > extension.size() && lower.ends_with(extension);
                       });
}

std::optional<std::string> adoptDroppedFont(FileSystem& fileSystem, Prompts& prompts,
                                            const std::string& programFolder,
                                            const std::vector<DroppedFile>& dropped) {
    if (dropped.size() != 1 || !isFontFileName(dropped[0].name) ||
        !fileSystem.fileExists(dropped[0].path)) {
        prompts.showMessage(kDropRefusedMessage);
        return std::nullopt;
    }
    const DroppedFile& font = dropped[0];
    const std::string destination = joinPath(programFolder, font.name);
    if (fileSystem.fileExists(destination)) {
        std::string error;
        const std::optional<std::string> ours = fileSystem.readFile(destination, error);
        const std::optional<std::string> theirs =
            ours ? fileSystem.readFile(font.path, error) : std::nullopt;
        if (!ours || !theirs) {
            prompts.showMessage("The font " + font.name + " could not be compared with the one " +
                                "in the program folder: " + error);
            return std::nullopt;
        }
        if (*ours == *theirs) {
            return font.name;  // the same font, or the very file: nothing to copy
        }
        if (!prompts.askYesNo(kReplaceTitle,
                              "The program folder already holds a different font "
                              "named " +
                                  font.name + ". Replace it with the one you dropped?")) {
            return std::nullopt;
        }
    }
    const std::string failure = fileSystem.copyFileSafely(font.path, destination);
    if (!failure.empty()) {
        prompts.showMessage(failure);
        return std::nullopt;
    }
    return font.name;
}

}  // namespace tessavine
