#pragma once

#include <filesystem>

#include "windows/win32.h"

namespace tessavine::pgfview_windows {

// Opens the viewer window on the font and runs until it is closed; returns the exit code. As
// the Tessavine window's companion (no file named) it opens beside that window.
int runViewer(HINSTANCE instance, const std::filesystem::path& font, bool companion);

}  // namespace tessavine::pgfview_windows
