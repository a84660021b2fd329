#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "console/platform.h"
#include "copy/candidate_roots.h"
#include "copy/console_prompts.h"
#include "core/font_copy_command.h"
#include "core/std_file_system.h"
#include "core/std_free_space.h"
#include "restore/console_platform.h"
#include "tessavine_version.h"

int main(int argc, char* argv[]) {
    tessavine::prepareUtf8Console();
    const std::vector<std::string> arguments = tessavine::utf8Arguments(argc, argv);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        tessavine::console::printToOutput("tessavine-copy " TESSAVINE_VERSION " (Tessavine)\n");
        return 0;
    }
    tessavine::StdFileSystem fileSystem;
    const tessavine::StdFreeSpace freeSpace;
    // Gathered, then printed through the console layer: a Windows console is written in UTF-16
    // so that names outside its code page show right; files and pipes get UTF-8.
    std::ostringstream out;
    std::ostringstream error;
    // The warning of missing letters and the question after it: on the output, answered on the
    // input.
    tessavine::ConsolePrompts prompts(out, std::cin);
    const int code =
        tessavine::runCopy(arguments, tessavine::runningProgramFolder(argc > 0 ? argv[0] : nullptr),
                           tessavine::consoleDeviceRoots(), fileSystem, freeSpace, prompts, out,
                           error, std::chrono::system_clock::now());
    tessavine::console::printToOutput(out.str());
    tessavine::console::printToErrorStream(error.str());
    return code;
}
