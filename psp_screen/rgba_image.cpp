#include "rgba_image.h"

#include <algorithm>

namespace tessavine::psp_screen {

RgbaImage::RgbaImage(int width, int height, Rgba background)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

void RgbaImage::setPixel(int x, int y, Rgba colour) {
    if (contains(x, y)) {
        pixels_[index(x, y)] = colour;
    }
}

void RgbaImage::fillRect(const Rect& rect, Rgba colour) {
    const int left = std::max(0, rect.left());
    const int right = std::min(width_ - 1, rect.right());
    const int top = std::max(0, rect.top());
    const int bottom = std::min(height_ - 1, rect.bottom());
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            pixels_[index(x, y)] = colour;
        }
    }
}

void RgbaImage::strokeRect(const Rect& rect, Rgba colour) {
    if (rect.width <= 0 || rect.height <= 0) {
        return;
    }
    horizontalLine(rect.left(), rect.right(), rect.top(), colour);
    horizontalLine(rect.left(), rect.right(), rect.bottom(), colour);
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        setPixel(rect.left(), y, colour);
        setPixel(rect.right(), y, colour);
    }
}

void RgbaImage::horizontalLine(int fromX, int toX, int y, Rgba colour) {
    if (y < 0 || y >= height_) {
        return;
    }
    for (int x = std::max(0, std::min(fromX, toX)); x <= std::min(width_ - 1, std::max(fromX, toX));
         ++x) {
        pixels_[index(x, y)] = colour;
    }
}

void RgbaImage::mix(int x, int y, Rgba colour, int opacity) {
    if (!contains(x, y) || opacity <= 0) {
        return;
    }
    const int alpha = std::min(opacity, 255);
    const auto channel = [alpha](int under, int over) {
        return static_cast<std::uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
    };
    Rgba& pixel = pixels_[index(x, y)];
    pixel = {channel(pixel.red, colour.red), channel(pixel.green, colour.green),
             channel(pixel.blue, colour.blue), 255};
}

void RgbaImage::blend(int x, int y, Rgba colour, int level) {
    if (!contains(x, y) || level <= 0) {
        return;
    }
    const int alpha = std::min(level, 15);
    const auto channel = [alpha](int under, int over) {
        return static_cast<std::uint8_t>((under * (15 - alpha) + over * alpha + 7) / 15);
    };
    Rgba& pixel = pixels_[index(x, y)];
    pixel = {channel(pixel.red, colour.red), channel(pixel.green, colour.green),
             channel(pixel.blue, colour.blue), 255};
}

RgbaImage RgbaImage::magnified(int factor) const {
    if (factor <= 1) {
        return *this;
    }
    RgbaImage out(width_ * factor, height_ * factor, {});
    for (int y = 0; y < out.height_; ++y) {
        const std::size_t from = index(0, y / factor);
        Rgba* row = &out.pixels_[out.index(0, y)];
        for (int x = 0; x < out.width_; ++x) {
            row[x] = pixels_[from + static_cast<std::size_t>(x / factor)];
        }
    }
    return out;
}

}  // namespace tessavine::psp_screen
