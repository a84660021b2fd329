#pragma once

#include <cstdint>

#include "conversion_parameters.h"

namespace tessavine::converter {

// The numbers games lay out lines with, 26.6 pixels.
struct LineMetrics {
    std::int32_t ascender = 0;
    std::int32_t descender = 0;        // negative below the baseline
    std::int32_t verticalAdvance = 0;  // every glyph's; some renderers take it as the line height
    // How glyphs sit in vertical layout: hung from the pen's line, `topBearing` below it, as in
    // the firmware's fonts; or, with the font's own metrics, centred in the vertical advance.
    bool hangFromPenLine = true;
    std::int32_t topBearing = 0;
};

// True for the firmware's small (7 pt) slots, 8 to 15.
bool isSmallSlot(const ConversionParameters& parameters);

// The em the glyphs are drawn at, in pixels: the font scale; for the small slots 7/10.125 of it,
// as the firmware's 7 pt fonts stand to its 10.125 pt ones (18 gives 12.44).
double emPixels(const ConversionParameters& parameters);

// The nominal size the header states: points in 26.6 at 128 dpi, from the em drawn.
std::int32_t nominalSize(const ConversionParameters& parameters);

// A firmware value measured at its 18 px em, scaled to another font scale and rounded to the
// nearest 26.6 unit, halves away from zero.
std::int32_t scaleFromFirmwareEm(std::int32_t valueAt18, int fontScale);

// The line metrics to write: by default the firmware's proportions for the size class, scaled by
// the font scale; on request the font's own ascent and descent (26.6, as the renderer gives them);
// an explicit ascender or descender replaces the chosen one, and the vertical advance is then the
// distance between the two.
LineMetrics chooseLineMetrics(const ConversionParameters& parameters, std::int32_t fontAscender,
                              std::int32_t fontDescender);

}  // namespace tessavine::converter
