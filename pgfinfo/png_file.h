#pragma once

#include <filesystem>

#include "psp_screen/rgba_image.h"

namespace tessavine::pgfinfo {

// Writes the picture as a PNG file. Throws std::runtime_error, saying why, when it cannot.
void writePng(const std::filesystem::path& path, const psp_screen::RgbaImage& image);

}  // namespace tessavine::pgfinfo
