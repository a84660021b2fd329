#pragma once

#include <string>
#include <vector>

namespace tessavine {

// The folder that holds the running program, as UTF-8 without a trailing separator; the folder
// of `argv0` when the platform will not say.
std::string runningProgramFolder(const char* argv0);

// The program's arguments, without its name, as UTF-8 whatever the console's code page; and a
// console that shows UTF-8 output as such.
std::vector<std::string> utf8Arguments(int argc, char* argv[]);
void prepareUtf8Console();

}  // namespace tessavine
