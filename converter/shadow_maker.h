#pragma once

#include "pgf/glyph_image.h"

namespace tessavine::converter {

// The shadow glyph of a glyph: its ink at half resolution, blurred with a Gaussian of `blur`
// glyph pixels, its opacity multiplied by `intensity` (0: a shadow without ink), in a box four
// shadow pixels larger than the ink on every side. Position and size are in shadow pixels, where
// one shadow pixel covers 2 × 2 glyph pixels counted from the pen position.
pgf::GlyphImage makeShadow(const pgf::GlyphImage& glyph, double blur, double intensity);

}  // namespace tessavine::converter
