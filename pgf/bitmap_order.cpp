#include "bitmap_order.h"

namespace tessavine::pgf {
namespace {

std::size_t rowMajorIndex(const GlyphImage& image, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
           static_cast<std::size_t>(x);
}

}  // namespace

std::vector<std::uint8_t> pixelsInOrder(const GlyphImage& image, BitmapOrder order) {
    if (order == BitmapOrder::Rows) {
        return image.pixels;
    }
    std::vector<std::uint8_t> values;
    values.reserve(image.pixels.size());
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < image.height; ++y) {
            values.push_back(image.pixels[rowMajorIndex(image, x, y)]);
        }
    }
    return values;
}

void placePixels(GlyphImage& image, const std::vector<std::uint8_t>& values, BitmapOrder order) {
    if (order == BitmapOrder::Rows) {
        image.pixels = values;
        return;
    }
    image.pixels.assign(values.size(), 0);
    std::size_t next = 0;
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < image.height; ++y) {
            image.pixels[rowMajorIndex(image, x, y)] = values[next++];
        }
    }
}

}  // namespace tessavine::pgf
