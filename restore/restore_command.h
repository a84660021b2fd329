#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/free_space.h"

namespace tessavine {

// What tessavine-restore does with its arguments (those after the program's name):
//   no argument:                     lists the backups in the program folder, newest first;
//   <backup folder> [target folder]: copies the backup's fonts into the font folder it came
//                                    from, or into the target folder, as one set, after backing
//                                    up the fonts they replace there.
// Reports go to `out`; an error is one line on `error`. Returns the exit code: 0 when done, 1
// when it failed, 2 for arguments it cannot use.
int runRestore(const std::vector<std::string>& arguments, const std::string& programFolder,
               FileSystem& fileSystem, const FreeSpace& freeSpace, std::ostream& out,
               std::ostream& error, std::chrono::system_clock::time_point now);

}  // namespace tessavine
