#pragma once

#include <cstdint>
#include <vector>

namespace tessavine::pgf {

// A 4-bit bitmap placed relative to the pen: `left` pixels right of the pen position to the first
// column, `top` pixels up from the baseline to the top row. Pixels row by row from the top,
// values 0 (no ink) to 15 (full ink).
struct GlyphImage {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool operator==(const GlyphImage&) const = default;
};

}  // namespace tessavine::pgf
