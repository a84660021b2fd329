#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "pgf/pgf_reader.h"

namespace tessavine {

// The Font Scales the window lets through: from 8, at most three digits.
inline constexpr int kLowestFontScale = 8;
inline constexpr int kLargestFontScale = 999;

// A made font beside the firmware's font of the same slot: the file's size and the memory the
// PSP takes to open it the usual way, and, when either is larger, the largest Font Scale at which
// the font would stay within both.
struct FontSizeComparison {
    std::size_t fileBytes = 0;
    std::size_t firmwareFileBytes = 0;
    std::size_t openBytes = 0;
    std::size_t firmwareOpenBytes = 0;
    // Nothing when no Font Scale from kLowestFontScale up is small enough.
    std::optional<int> largestFittingScale;

    bool fileLarger() const { return fileBytes > firmwareFileBytes; }
    bool openLarger() const { return openBytes > firmwareOpenBytes; }
    bool larger() const { return fileLarger() || openLarger(); }
};

// `sections` are those of a font made at `fontScale` for `slot` (0 to 15). The bitmaps and the
// metric tables shrink with the scale, the bitmaps faster than in proportion; the character map,
// pointer table, shadow map and header stay as they are. The scale named is counted as if all
// shrank only in proportion, so that it keeps the font within rather than come close.
FontSizeComparison compareWithFirmware(const pgf::PgfSections& sections, int slot, int fontScale);

// The same for a whole file's bytes; nothing when the file cannot be read as a font.
std::optional<FontSizeComparison> compareWithFirmware(const std::string& pgfBytes, int slot,
                                                      int fontScale);

}  // namespace tessavine
