#include "format_limits.h"

#include <cstdint>

namespace tessavine::pgf {
namespace {

bool isOffsetInRange(int value) {
    return value >= kSmallestOffset && value <= kLargestOffset;
}

}  // namespace

std::optional<std::string> findImageLimitBreak(const GlyphImage& image) {
    if (image.width > kLargestBitmapSide) {
        return "is " + std::to_string(image.width) + " pixels wide, more than the format's 127";
    }
    if (image.height > kLargestBitmapSide) {
        return "is " + std::to_string(image.height) + " pixels high, more than the format's 127";
    }
    if (!isOffsetInRange(image.left)) {
        return "starts " + std::to_string(image.left) +
               " pixels from the pen, outside the format's -64 to 63";
    }
    if (!isOffsetInRange(image.top)) {
        return "reaches " + std::to_string(image.top) +
               " pixels above the baseline, outside the format's -64 to 63";
    }
    return std::nullopt;
}

bool fitsFirmwareCharMap(std::size_t glyphCount) {
    // The writer sizes entries by the glyph count, as every file must (see pgf_writer.cpp).
    return glyphCount <= kMostGlyphsInFirmwareCharMap;
}

int bitLength(std::uint32_t value) {
    int bits = 1;
    while (bits < 32 && (value >> bits) != 0) {
        ++bits;
    }
    return bits;
}

}  // namespace tessavine::pgf
