#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "pgf/pgf_reader.h"
#include "rgba_image.h"

namespace tessavine::psp_screen {

// The largest specimen drawn, zoom included: 48 MB of pixels.
inline constexpr std::int64_t kLargestSpecimenSide = 16384;
inline constexpr std::int64_t kMostSpecimenPixels = 16'000'000;

// A specimen whose picture would exceed those bounds, or whose shadows could not be drawn in
// reasonable time; the message says why and what to change.
class SpecimenTooLarge : public std::runtime_error {
  public:
    explicit SpecimenTooLarge(const std::string& what) : std::runtime_error(what) {}
};

// A sample text to show most of a latin font.
std::u32string defaultSpecimenText();

// Draws the text as the PSP would from the file: each glyph's bitmap at the pen, the pen moved
// by the glyph's advance, "_" for characters the font lacks, a new line at every line feed.
// With `withShadows`, each glyph's shadow is drawn first, magnified to glyph pixels. Throws
// SpecimenTooLarge when the file's values ask for a picture beyond the bounds above.
// Two things set the specimen apart from the screen (renderScreen), kept so that its pictures
// stay what they have been: the pen keeps the fractions of the advances and is rounded at each
// glyph, and every glyph is mixed in on its own at level/15 instead of adding into coverage
// planes, so overlapping shadows darken twice. For a converter-made font, whose advances are
// whole pixels, only overlapping shadows differ.
RgbaImage renderSpecimen(const pgf::PgfFile& font, const std::u32string& text, bool withShadows);

}  // namespace tessavine::psp_screen
