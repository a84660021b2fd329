#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tessavine::pgfinfo {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// An 8-bit RGB picture, row by row.
class RgbImage {
  public:
    RgbImage(int width, int height, Rgb background)
        : width_(width),
          height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background) {}

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Rgb>& pixels() const { return pixels_; }

    // Mixes `colour` into the pixel with the opacity level/15; points outside are ignored.
    void blend(int x, int y, Rgb colour, int level) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || level <= 0) {
            return;
        }
        Rgb& pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                             static_cast<std::size_t>(x)];
        const int alpha = std::min(level, 15);
        const auto mix = [alpha](std::uint8_t under, std::uint8_t over) {
            return static_cast<std::uint8_t>((under * (15 - alpha) + over * alpha + 7) / 15);
        };
        pixel = {mix(pixel.red, colour.red), mix(pixel.green, colour.green),
                 mix(pixel.blue, colour.blue)};
    }

    // Each pixel becomes a factor × factor block.
    RgbImage magnified(int factor) const {
        RgbImage out(width_ * factor, height_ * factor, {});
        for (int y = 0; y < out.height_; ++y) {
            for (int x = 0; x < out.width_; ++x) {
                out.pixels_[static_cast<std::size_t>(y * out.width_ + x)] =
                    pixels_[static_cast<std::size_t>((y / factor) * width_ + x / factor)];
            }
        }
        return out;
    }

  private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

}  // namespace tessavine::pgfinfo
