#pragma once

#include <string_view>

namespace tessavine::pgfview_windows {

// Writes UTF-8 text to the program's output or error stream. pgfview.exe is a window program,
// which Windows starts without a console: started from one, it writes to its parent's console;
// started with its output redirected, to the file or pipe it was given.
void writeOutput(std::string_view utf8);
void writeError(std::string_view utf8);

}  // namespace tessavine::pgfview_windows
