#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessavine {

// The places where a PSP's Memory Stick or flash partition may show up, in the window's scan
// order, found without Qt: the list in TESSAVINE_DEVICE_ROOTS when it is set (separated as the
// platform separates a path list); otherwise the drives "d:" to "z:" on Windows, the entries of
// /Volumes on macOS, and elsewhere the mount points below /media, /run/media and /mnt, sorted.
std::vector<std::string> consoleDeviceRoots();

// The mount points of a mount table (/proc/self/mounts: the second field of each line, with the
// blanks in it written as \040) that lie below /media, /run/media or /mnt, sorted, each once.
std::vector<std::string> removableMountPoints(std::string_view mountTable);

}  // namespace tessavine
