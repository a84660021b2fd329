#pragma once

#include <string>

#include "converter/pgf/pgf_reader.h"
#include "rgb_image.h"

namespace tessavine::pgfinfo {

// A sample text to show most of a latin font.
std::u32string defaultSpecimenText();

// Draws the text as the PSP would from the file: each glyph's bitmap at the pen, the pen moved
// by the glyph's advance, "_" for characters the font lacks, a new line at every line feed.
// With `withShadows`, each glyph's shadow is drawn first, magnified to glyph pixels.
RgbImage renderSpecimen(const pgf::PgfFile& font, const std::u32string& text, bool withShadows);

}  // namespace tessavine::pgfinfo
