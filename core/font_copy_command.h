#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/free_space.h"
#include "core/prompts.h"

namespace tessavine {

// What tessavine-copy does with its arguments (those after the program's name):
//   [--yes] [--to <font folder>] <font file or folder>...
// Puts the slot files named (ltn0.pgf to ltn15.pgf, jpn0.pgf), and those in each folder named
// (a set made with ttf2pgf.exe --set), onto the PSP as the window's copy does: the PSP found
// among `candidateRoots` as the window finds it, or the font folder after --to; every font
// checked before anything changes; the fonts replaced backed up below the program folder; the
// folder's lock and journal; all new fonts or all old ones. Reports go to `out`; an error is one
// line on `error`. A font that lacks basic letters gets the window's warning through `prompts`,
// then the window's question, which --yes answers beforehand; after No nothing changes. Returns
// the exit code: 0 when done, 1 when it failed or the answer was No, 2 for arguments it cannot
// use.
int runCopy(const std::vector<std::string>& arguments, const std::string& programFolder,
            const std::vector<std::string>& candidateRoots, FileSystem& fileSystem,
            const FreeSpace& freeSpace, Prompts& prompts, std::ostream& out, std::ostream& error,
            std::chrono::system_clock::time_point now);

}  // namespace tessavine
