#pragma once

#include <cstdint>
#include <vector>

#include "pgf_font.h"

namespace tessavine::pgf {

// The bytes of a revision 2 PGF file for the font: every glyph indexed in the four metric tables
// where they have room, one shadow per glyph, a charmap from U+0020, and the header's maxima taken
// from what is written. Throws std::invalid_argument when the font breaks a limit of the format
// (callers check the limits first and tell the user; this is the last line of defence).
std::vector<std::uint8_t> writePgf(const PgfFont& font);

}  // namespace tessavine::pgf
