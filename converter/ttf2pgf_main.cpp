// ttf2pgf.exe: converts a TrueType/OpenType font into a PSP latin font file.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "conversion_error.h"
#include "font_converter.h"
#include "font_set_writer.h"
#include "output_file.h"

namespace {

constexpr const char* kVersion = "ttf2pgf 1.0.0 (Tessavine)";

int writeWholeSet(const tessavine::converter::CommandLine& commandLine) {
    const tessavine::converter::FontFamily family{commandLine.fontPath, commandLine.boldFontPath,
                                                  commandLine.italicFontPath,
                                                  commandLine.boldItalicFontPath};
    const auto result =
        tessavine::converter::writeFontSet(commandLine.outputPath, family, commandLine.parameters);
    if (result.mostMissingCharacters > 0) {
        std::cerr << "ttf2pgf: warning: the fonts lack up to " << result.mostMissingCharacters
                  << " of the PSP latin characters; the PSP shows \"_\" for them\n";
    }
    return 0;
}

int run(const std::vector<std::string>& words) {
    using tessavine::converter::CommandLine;
    const CommandLine commandLine = tessavine::converter::readCommandLine(words);
    if (commandLine.action == CommandLine::Action::ShowHelp) {
        std::cout << tessavine::converter::usageText();
        return 0;
    }
    if (commandLine.action == CommandLine::Action::ShowVersion) {
        std::cout << kVersion << '\n';
        return 0;
    }
    if (commandLine.wholeSet) {
        return writeWholeSet(commandLine);
    }
    const auto result =
        tessavine::converter::convertFont(commandLine.fontPath, commandLine.parameters);
    tessavine::converter::writeFileWhole(commandLine.outputPath, result.pgf);
    if (!result.missingCharacters.empty()) {
        std::cerr << "ttf2pgf: warning: the font lacks " << result.missingCharacters.size()
                  << " of the PSP latin characters; the PSP shows \"_\" for them\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tessavine::converter::ConversionError& error) {
        std::cerr << "ttf2pgf: " << error.what() << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "ttf2pgf: out of memory; close other programs and try again\n";
    } catch (const std::exception& error) {
        std::cerr << "ttf2pgf: internal error: " << error.what()
                  << "; please report it with the font you used\n";
    }
    return 1;
}
