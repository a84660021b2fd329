#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "glyph_image.h"

namespace tessavine::pgf {

// Which glyph's shadow record each glyph uses. A shadow id has 9 bits and some readers refuse a
// shadow map of 512 entries, so a font of more than 511 glyphs must let glyphs share shadows; up
// to `most` glyphs each own theirs, as in the firmware's fonts. Beyond, glyphs with identical
// shadows share first (nothing is lost). When more than `most` different
// shadows remain, the earliest `most / 2` glyphs (the caller lists the most used characters first)
// keep theirs, the rest of the owners are picked so that they differ most from one another, and
// every other glyph takes the owner whose shadow is closest to its own in place and ink. The
// shadow is a soft halo, blurred over several pixels, so a near one looks alike on screen.
//
// `keepOwn` lists glyphs that keep their own shadow ahead of the earliest: signs a shared halo
// would spoil (a square taking the shadow of 日 shows its middle stroke under it).
//
// Returns, for each glyph, the index of the glyph whose shadow it uses (itself for an owner).
// With `shareIdentical`, glyphs with identical shadows share even below the limit: a smaller file
// that draws the same (the firmware's own latin fonts keep one shadow per glyph).
std::vector<std::size_t> shareShadows(std::span<const GlyphImage> shadows, std::size_t most,
                                      bool shareIdentical = false,
                                      std::span<const std::size_t> keepOwn = {});

// The same for shadows kept elsewhere (in their glyphs), so that none is copied.
using Shadows = std::span<const GlyphImage* const>;
std::vector<std::size_t> shareShadows(Shadows shadows, std::size_t most,
                                      bool shareIdentical = false,
                                      std::span<const std::size_t> keepOwn = {});

}  // namespace tessavine::pgf
