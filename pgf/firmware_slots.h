#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pgf_reader.h"

namespace tessavine::pgf {

// The firmware's fonts as a replacement must stand in for them: the sixteen latin fonts
// ltn0.pgf to ltn15.pgf (even slots the sans-serif face, odd ones the serif face, 8 to 15 the
// small size) and the big font jpn0.pgf, which games use for Japanese text and the button signs,
// and which Chinese and Korean players replace. The header values are the firmware files' own
// (26.6 unless said).
struct FirmwareSlot {
    int number = 0;
    std::string_view fileName;  // "ltn0.pgf", ..., "jpn0.pgf"
    bool serif = false;
    bool bold = false;
    bool italic = false;
    bool small = false;
    const char* style = "";           // the header's style name
    std::int32_t nominalSize = 0;     // points, 26.6 (the registry's size)
    std::size_t fileBytes = 0;        // the firmware file's size
    std::size_t stingyOpenBytes = 0;  // what the PSP allocates to open it the usual way

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
    int maxGlyphWidth = 0;  // pixels
    int maxGlyphHeight = 0;

    // The em in pixels at the firmware's 128 dpi: 18 for the large slots, about 12.44 for the
    // small ones.
    double emPixels() const { return nominalSize / 64.0 * 128.0 / 72.0; }
};

inline constexpr int kSlotCount = 16;
// The number the big font jpn0.pgf goes by here: after the latin slots, never among them.
inline constexpr int kBigFontSlot = 16;
inline constexpr std::int32_t kFirmwareResolution = 8192;  // 128 dpi, 26.6

// The sixteen latin slots.
const std::array<FirmwareSlot, kSlotCount>& firmwareSlots();

// A latin slot 0 to 15, or jpn0.pgf for kBigFontSlot. Throws std::out_of_range for any other.
const FirmwareSlot& firmwareSlot(int number);

// The slot a file's name stands for, in any case: "ltn7.pgf" is 7, "jpn0.pgf" kBigFontSlot; any
// other name (a folder part included) stands for none.
std::optional<int> slotOfFileName(std::string_view fileName);

// What the PSP allocates for a usual ("stingy") open of this file: the metric tables, the shadow
// map, the charmap and the pointer table; the glyph data is read later, glyph by glyph.
std::size_t stingyOpenBytes(const PgfSections& sections);
// The same from the header's counts alone, for a file just written.
std::size_t stingyOpenBytes(const PgfHeader& header);
// What a full open allocates: the whole file and 12 bytes.
inline constexpr std::size_t kFullOpenExtraBytes = 12;

}  // namespace tessavine::pgf
