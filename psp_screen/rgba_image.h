#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry.h"

namespace tessavine::psp_screen {

struct Rgba {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
    bool operator==(const Rgba&) const = default;
};

// An opaque 8-bit picture, row by row, four bytes a pixel in the order red, green, blue, alpha;
// drawing outside it is ignored.
class RgbaImage {
  public:
    RgbaImage() = default;
    RgbaImage(int width, int height, Rgba background);

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const std::vector<Rgba>& pixels() const { return pixels_; }

    Rgba pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, Rgba colour);

    void fillRect(const Rect& rect, Rgba colour);
    // The rectangle's outermost pixels, one pixel wide.
    void strokeRect(const Rect& rect, Rgba colour);
    // From `fromX` to `toX`, both ends included.
    void horizontalLine(int fromX, int toX, int y, Rgba colour);

    // Mixes `colour` into the pixel with the opacity `opacity`/255.
    void mix(int x, int y, Rgba colour, int opacity);
    // Mixes `colour` into the pixel with the opacity of a 4-bit level: level/15.
    void blend(int x, int y, Rgba colour, int level);

    // Each pixel becomes a factor × factor block, so pixels stay pixels.
    RgbaImage magnified(int factor) const;

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

}  // namespace tessavine::psp_screen
