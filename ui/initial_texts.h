#pragma once

#include <array>

#include "core/main_controls.h"

namespace tessavine {

// The texts the main window's entry fields hold before any saved settings are applied, in the
// order of TextField. Free of Qt, so that the build's tool for the first settings.bin starts
// from the same values as the window.
inline constexpr std::array<const char*, 6> kInitialFieldTexts = {
    "Example.ttf or Example2.otf", "24", "0.8", "0.8", "2.5", "1.2"};

constexpr const char* initialText(TextField field) {
    return kInitialFieldTexts[static_cast<std::size_t>(field)];
}

// The bundled font a first start converts: the program folder holds it from the build on.
inline constexpr const char* kBundledFontName = "Example.ttf";

}  // namespace tessavine
