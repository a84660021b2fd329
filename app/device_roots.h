#pragma once

#include <QString>
#include <string>
#include <vector>

namespace tessavine {

// The name of the environment variable that replaces the device scan's candidate roots.
inline constexpr const char* kDeviceRootsVariable = "TESSAVINE_DEVICE_ROOTS";

// The places where a PSP's Memory Stick or flash partition may show up, in scan order. When
// TESSAVINE_DEVICE_ROOTS is set, its list; otherwise the drives "d:" to "z:" on Windows and the
// mounted media below /media, /run/media and /mnt (/Volumes on macOS), sorted.
std::vector<std::string> candidateDeviceRoots();

// The roots of a TESSAVINE_DEVICE_ROOTS value: split at the platform's path-list separator (":"
// on Linux and macOS, ";" on Windows), in their order; empty items are left out, since an empty
// root would make the scan look at the top of the file system.
std::vector<std::string> deviceRootsFromList(const QString& list);

// The mount points among `mountPoints` that lie below one of `mediaFolders`, sorted.
std::vector<std::string> removableMediaRoots(const std::vector<QString>& mountPoints,
                                             const std::vector<QString>& mediaFolders);

}  // namespace tessavine
