#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "glyph_image.h"

namespace tessavine::pgf {

// What the fields of the format can hold.
inline constexpr int kLargestBitmapSide = 127;  // 7-bit width and height
inline constexpr int kSmallestOffset = -64;     // 7-bit signed left and top
inline constexpr int kLargestOffset = 63;
inline constexpr int kLargestRecordBytes = 16383;  // 14-bit record size
inline constexpr int kMostTableEntries = 255;      // 8-bit table length and index
inline constexpr int kMostShadows = 511;           // some readers refuse a 512-entry shadow map
inline constexpr int kShadowMapBits = 16;
inline constexpr int kMostGlyphs = 65535;  // some readers refuse more; 16-bit codes allow no more
inline constexpr char32_t kLargestCode = 0xFFFF;  // the charmap's codes are 16 bits

// The firmware's jpn0.pgf has 14-bit character map entries, and the all-ones entry means "no
// glyph": such a map reaches 16,383 glyphs. A file with more needs wider entries, which the
// emulators' readers take but no PSP has been seen to read.
inline constexpr int kFirmwareCharMapBits = 14;
inline constexpr std::size_t kMostGlyphsInFirmwareCharMap =
    (std::size_t{1} << kFirmwareCharMapBits) - 1;
// Whether the character map of a file with this many glyphs is no wider than the firmware's.
bool fitsFirmwareCharMap(std::size_t glyphCount);

// Glyph record flag bits: which metric pairs are 8-bit table indexes rather than inline values.
inline constexpr std::uint32_t kDimensionIndexed = 0x04;
inline constexpr std::uint32_t kXAdjustIndexed = 0x08;
inline constexpr std::uint32_t kYAdjustIndexed = 0x10;
inline constexpr std::uint32_t kAdvanceIndexed = 0x20;
inline constexpr std::uint32_t kAllMetricsIndexed =
    kDimensionIndexed | kXAdjustIndexed | kYAdjustIndexed | kAdvanceIndexed;

// Why the image cannot be stored in a glyph record, or nothing when it can.
std::optional<std::string> findImageLimitBreak(const GlyphImage& image);

// The number of bits needed to write `value` (at least 1).
int bitLength(std::uint32_t value);

}  // namespace tessavine::pgf
