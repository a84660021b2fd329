// ttf2pgf.exe: converts a TrueType/OpenType font into a PSP latin font file.

#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "console/platform.h"
#include "conversion_error.h"
#include "core/file_platform.h"
#include "core/shown_text.h"
#include "firmware_budget.h"
#include "font_converter.h"
#include "font_face.h"
#include "font_set_writer.h"
#include "output_file.h"
#include "pgf/character_list.h"
#include "pgf/firmware_slots.h"
#include "tessavine_version.h"

namespace {

constexpr const char* kVersion = "ttf2pgf " TESSAVINE_VERSION " (Tessavine)";

void printError(const std::string& line) {
    tessavine::console::printToErrorStream("ttf2pgf: " + line + "\n");
}

void printLine(const std::string& line) {
    tessavine::console::printToOutput(line + "\n");
}

// The warning keeps its earlier words for the default set, which people know from the window.
std::string missingWarning(const tessavine::converter::ConversionParameters& parameters,
                           const tessavine::converter::ConversionResult& result) {
    const std::string count = std::to_string(result.missingCharacters.size());
    if (parameters.characterSets.empty() && parameters.charactersFromFile.empty() &&
        parameters.slot != tessavine::pgf::kBigFontSlot) {
        return "warning: the font lacks " + count +
               " of the PSP latin characters; the PSP shows \"_\" for them";
    }
    return "warning: the fonts lack " + count + " of the " +
           std::to_string(result.askedCharacters) +
           " characters asked for; the PSP shows \"_\" for them";
}

// Which font drew which characters, when fallbacks were given: the file has no place for it.
void printProvenance(const tessavine::converter::ConversionResult& result) {
    if (result.provenance.size() < 2) {
        return;
    }
    for (const auto& face : result.provenance) {
        std::ostringstream line;
        line << tessavine::shownText(face.fileName) << ": " << face.characters.size()
             << (face.characters.size() == 1 ? " character " : " characters ")
             << tessavine::pgf::describeCharacterRuns(face.characters, 12);
        printLine(line.str());
    }
}

int writeWholeSet(const tessavine::converter::CommandLine& commandLine) {
    using tessavine::platform::pathFromUtf8;
    const tessavine::converter::FontFamily family{
        pathFromUtf8(commandLine.fontPath), pathFromUtf8(commandLine.boldFontPath),
        pathFromUtf8(commandLine.italicFontPath), pathFromUtf8(commandLine.boldItalicFontPath)};
    const auto result = tessavine::converter::writeFontSet(pathFromUtf8(commandLine.outputPath),
                                                           family, commandLine.parameters);
    for (const std::string& warning : result.warnings) {
        printError(warning);
    }
    if (result.mostMissingCharacters > 0) {
        printError("warning: the fonts lack up to " + std::to_string(result.mostMissingCharacters) +
                   " of the " + std::to_string(result.askedCharacters) +
                   " characters asked for; the PSP shows \"_\" for them");
    }
    for (const std::string& line : result.budgetLines) {
        printLine(line);
    }
    return 0;
}

int run(const std::vector<std::string>& words) {
    using tessavine::converter::CommandLine;
    const CommandLine commandLine = tessavine::converter::readCommandLine(words);
    if (commandLine.action == CommandLine::Action::ShowHelp) {
        tessavine::console::printToOutput(tessavine::converter::usageText());
        return 0;
    }
    if (commandLine.action == CommandLine::Action::ShowVersion) {
        printLine(kVersion);
        return 0;
    }
    using tessavine::platform::pathFromUtf8;
    if (commandLine.action == CommandLine::Action::ListFaces) {
        for (const std::string& line :
             tessavine::converter::FontFace::describeFaces(pathFromUtf8(commandLine.fontPath))) {
            printLine(tessavine::shownText(line));
        }
        return 0;
    }
    if (commandLine.wholeSet) {
        return writeWholeSet(commandLine);
    }
    const auto result = tessavine::converter::convertFont(pathFromUtf8(commandLine.fontPath),
                                                          commandLine.parameters);
    tessavine::converter::writeFileWhole(pathFromUtf8(commandLine.outputPath), result.pgf);
    for (const std::string& warning : result.warnings) {
        printError(warning);
    }
    if (!result.missingCharacters.empty()) {
        printError(missingWarning(commandLine.parameters, result));
    }
    printProvenance(result);
    printLine(tessavine::converter::budgetLine(
        result, tessavine::converter::budgetSlot(commandLine.parameters)));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(tessavine::console::programWords(argc, argv));
    } catch (const tessavine::converter::ConversionError& error) {
        printError(error.what());
    } catch (const std::bad_alloc&) {
        printError("out of memory; close other programs and try again");
    } catch (const std::exception& error) {
        printError(std::string("internal error: ") + error.what() +
                   "; please report it with the font you used");
    }
    return 1;
}
