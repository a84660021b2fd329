#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessavine::pgf {

inline constexpr std::size_t kHeaderSize = 392;

// The fields of a revision 2 header that carry information. The bytes whose meaning nobody knows
// are written as every known font has them and are not kept here.
struct PgfHeader {
    std::uint16_t headerSize = kHeaderSize;
    std::int32_t revision = 2;
    std::int32_t version = 6;
    std::int32_t charMapLength = 0;
    std::int32_t charPointerLength = 0;
    std::int32_t charMapBpe = 0;
    std::int32_t charPointerBpe = 0;
    std::uint8_t bitsPerPixel = 4;
    std::int32_t hSize = 0;
    std::int32_t vSize = 0;
    std::int32_t hResolution = 0;
    std::int32_t vResolution = 0;
    std::string fontName;
    std::string fontType;
    std::uint16_t firstGlyph = 0;
    std::uint16_t lastGlyph = 0;
    std::int32_t maxAscender = 0;
    std::int32_t maxDescender = 0;
    std::int32_t maxLeftXAdjust = 0;
    std::int32_t maxBaseYAdjust = 0;
    std::int32_t minCenterXAdjust = 0;
    std::int32_t maxTopYAdjust = 0;
    std::int32_t maxAdvanceH = 0;
    std::int32_t maxAdvanceV = 0;
    std::int32_t maxSizeW = 0;
    std::int32_t maxSizeH = 0;
    std::uint16_t maxGlyphWidth = 0;
    std::uint16_t maxGlyphHeight = 0;
    std::uint8_t dimTableLength = 0;
    std::uint8_t xAdjustTableLength = 0;
    std::uint8_t yAdjustTableLength = 0;
    std::uint8_t advanceTableLength = 0;
    std::int32_t shadowMapLength = 0;
    std::int32_t shadowMapBpe = 16;
    std::int32_t shadowScaleX = 32;
    std::int32_t shadowScaleY = 32;
};

std::vector<std::uint8_t> encodeHeader(const PgfHeader& header);

// Throws PgfReadError for anything that is not a revision 2, version 6 PGF header.
PgfHeader decodeHeader(std::span<const std::uint8_t> file);

}  // namespace tessavine::pgf
