#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "core/std_file_system.h"
#include "core/std_free_space.h"
#include "restore/console_platform.h"
#include "restore/restore_command.h"

int main(int argc, char* argv[]) {
    tessavine::prepareUtf8Console();
    const std::vector<std::string> arguments = tessavine::utf8Arguments(argc, argv);
    tessavine::StdFileSystem fileSystem;
    const tessavine::StdFreeSpace freeSpace;
    return tessavine::runRestore(
        arguments, tessavine::runningProgramFolder(argc > 0 ? argv[0] : nullptr), fileSystem,
        freeSpace, std::cout, std::cerr, std::chrono::system_clock::now());
}
