#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tessavine::converter {

struct PlannedFile {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
    std::string label;  // how the error names this file to the user, e.g. "slot 3 (ltn3.pgf)"
};

// Puts all the files in place or none of them. Each is first written whole to a temporary file
// beside it; then the old files are moved aside and the new ones renamed into place one by one.
// If anything fails, every file already replaced gets its old version back, no temporary file
// stays, and a ConversionError names the file (by its label) and says what to do.
void replaceFilesTogether(std::span<const PlannedFile> files);

}  // namespace tessavine::converter
