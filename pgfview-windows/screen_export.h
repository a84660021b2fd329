#pragma once

#include <filesystem>
#include <string>

#include "psp_screen/rgba_image.h"

namespace tessavine::pgfview_windows {

// The sample line the screen starts with, as in Linux pgfview.
inline constexpr const char* kDefaultSampleText = "Hello, PSP! ÀÉÎÕÜ àéîõü ßç 0123456789";

// Writes the picture as a PNG; an empty string on success, else what went wrong in words for
// the user. Nothing is left at the path when it fails.
std::string savePicture(const psp_screen::RgbaImage& picture, const std::filesystem::path& png);

// Draws the PSP screen of a PGF file at 1×, with the default sample on the dark background, the
// picture Linux `pgfview --export` writes, without any window. The font is read and judged
// before anything is written.
std::string exportScreen(const std::filesystem::path& font, const std::filesystem::path& png);

}  // namespace tessavine::pgfview_windows
