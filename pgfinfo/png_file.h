#pragma once

#include <filesystem>

#include "rgb_image.h"

namespace tessavine::pgfinfo {

// Writes the picture as a PNG file. Throws std::runtime_error, saying why, when it cannot.
void writePng(const std::filesystem::path& path, const RgbImage& image);

}  // namespace tessavine::pgfinfo
