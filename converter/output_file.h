#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace tessavine::converter {

// Writes the bytes to a temporary file beside `path` and renames it into place, so a reader
// never sees a half-written file and a failed write leaves no file behind. Throws
// ConversionError, saying what to do, when the file cannot be written.
void writeFileWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace tessavine::converter
