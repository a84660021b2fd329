#include "core/dropped_font.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/file_name_rule.h"
#include "core/input_limits.h"
#include "core/shown_text.h"

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
    // The name is the file's own name, kept as it is; one that would reach into another folder
    // ("..", or a separator of this platform) is refused rather than followed. So is a "\" or
    // ":" on every platform: the converter reads the name it is given as a path of Windows too,
    // so a font copied as "a\b.ttf" could never be converted, and a control character would be
    // written into its command line.
    if (!isPlainOnEveryPlatform(font.name)) {
        prompts.showMessage("The font's name \"" + shownText(font.name, 200) +
                            "\" cannot be a file name in the program folder: it may not hold "
                            "\\, /, : or control characters. Rename the font, then drop it "
                            "again.");
        return std::nullopt;
    }
    if (const std::optional<std::uintmax_t> size = fileSystem.fileSize(font.path);
        size && *size > kLargestFontFileBytes) {
        prompts.showMessage("The font " + font.name + " is " + std::to_string(*size) +
                            " bytes long, more than the " + std::to_string(kLargestFontFileBytes) +
                            " bytes the converter accepts; choose another font.");
        return std::nullopt;
    }
    const std::string destination = pathOfNameIn(programFolder, font.name);
    if (fileSystem.fileExists(destination)) {
        std::string error;
        const std::optional<bool> same = fileSystem.sameContents(destination, font.path, error);
        if (!same) {
            prompts.showMessage("The font " + font.name + " could not be compared with the one " +
                                "in the program folder: " + error);
            return std::nullopt;
        }
        if (*same) {
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
