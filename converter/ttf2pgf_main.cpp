// ttf2pgf.exe: converts a TrueType/OpenType font into a PSP latin font file.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "conversion_error.h"
#include "font_converter.h"
#include "output_file.h"
#include "tessavine_version.h"

namespace {

constexpr const char* kVersion = "ttf2pgf " TESSAVINE_VERSION " (Tessavine)";

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
