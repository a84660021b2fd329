#pragma once

#include <optional>
#include <string>

#include "core/file_system.h"

namespace tessavine {

// The bytes of the font at `path` when they can go onto a PSP: an ordinary file (not a link) of
// at most kLargestPgfFileBytes that the PGF reader reads as a whole font. Otherwise nothing, and
// `error` names the file and why in one sentence. A PSP that loads a damaged system font may not
// start, so nothing else is copied there, whatever made it.
std::optional<std::string> readWholeFont(const FileSystem& fileSystem, const std::string& path,
                                         std::string& error);

// Whether bytes made in memory (a converter's output) are a whole PGF font of at most
// kLargestPgfFileBytes; otherwise `error` says why, naming the font as `name`.
bool isWholeFont(const std::string& bytes, const std::string& name, std::string& error);

}  // namespace tessavine
