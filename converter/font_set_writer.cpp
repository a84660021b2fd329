#include "font_set_writer.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "console/platform.h"
#include "conversion_error.h"
#include "core/file_platform.h"
#include "core/font_set_copy.h"
#include "core/shown_text.h"
#include "core/std_file_system.h"
#include "core/std_free_space.h"
#include "firmware_budget.h"
#include "font_converter.h"
#include "pgf/firmware_slots.h"

namespace tessavine::converter {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

struct ChosenFace {
    const fs::path* path;
    FaceStyle style;  // what the face is as given, so that only the rest is synthesised
};

ChosenFace faceFor(const FontFamily& family, const pgf::FirmwareSlot& slot) {
    if (slot.bold && slot.italic) {
        if (!family.boldItalic.empty()) {
            return {&family.boldItalic, {true, true}};
        }
        // Real italic letterforms emboldened keep more of the design than a slanted bold.
        if (!family.italic.empty()) {
            return {&family.italic, {false, true}};
        }
    }
    if (slot.bold && !family.bold.empty()) {
        return {&family.bold, {true, false}};
    }
    if (slot.italic && !family.italic.empty()) {
        return {&family.italic, {false, true}};
    }
    return {&family.regular, {false, false}};
}

std::string slotLabel(const pgf::FirmwareSlot& slot) {
    return "slot " + std::to_string(slot.number) + " (ltn" + std::to_string(slot.number) +
           ".pgf, " + (slot.small ? "small " : "") + slot.style + ")";
}

// Makes the folder if it is missing; true when it was made here.
bool prepareFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return false;
    }
    if (fs::exists(folder, error)) {
        throw ConversionError("cannot write the font set into " + quoted(folder) +
                              ": a file of that name is in the way; name a folder");
    }
    if (!fs::create_directory(folder, error) || error) {
        throw ConversionError("cannot make the folder " + quoted(folder) +
                              " for the font set; check that its parent folder exists and that "
                              "you may write there");
    }
    return true;
}

}  // namespace

FontSetResult writeFontSet(const fs::path& folder, const FontFamily& family,
                           const ConversionParameters& parameters) {
    FontSetResult result;
    std::vector<FontBytes> files;
    for (const pgf::FirmwareSlot& slot : pgf::firmwareSlots()) {
        const ChosenFace face = faceFor(family, slot);
        ConversionParameters slotParameters = parameters;
        slotParameters.slot = slot.number;
        const std::string label = slotLabel(slot);
        try {
            ConversionResult converted = convertFont(*face.path, slotParameters, face.style);
            result.mostMissingCharacters =
                std::max(result.mostMissingCharacters, converted.missingCharacters.size());
            result.askedCharacters = converted.askedCharacters;
            result.warnings = converted.warnings;
            result.budgetLines.push_back("ltn" + std::to_string(slot.number) +
                                         ".pgf: " + budgetLine(converted, slot));
            files.push_back({"ltn" + std::to_string(slot.number) + ".pgf",
                             std::string(converted.pgf.begin(), converted.pgf.end())});
        } catch (const ConversionError& error) {
            throw ConversionError(label + ": " + error.what() + "; no file was changed");
        }
    }
    const bool madeFolder = prepareFolder(folder);
    // The copy onto a PSP's own transaction, without a backup: an output folder holds nothing
    // that exists nowhere else, so a run ended half-way is finished by the next one.
    StdFileSystem fileSystem;
    const StdFreeSpace freeSpace;
    const std::string name = platform::utf8FromPath(folder);
    FontSetCopy copy{{}, name, {}, "\"" + name + "\"", "run ttf2pgf --set again"};
    copy.made = std::move(files);
    const FontSetCopyOutcome outcome =
        copyFontSet(fileSystem, freeSpace, copy, std::chrono::system_clock::now());
    if (!outcome.completed.empty()) {
        console::printToErrorStream("ttf2pgf: " + shownText(outcome.completed) + "\n");
    }
    if (!outcome.error.empty()) {
        if (madeFolder) {
            std::error_code ignored;
            fs::remove(folder, ignored);  // only if empty, as the failed set leaves it
        }
        throw ConversionError(shownText(outcome.error));
    }
    return result;
}

}  // namespace tessavine::converter
