#pragma once

#include <cstddef>

#include "pgf/pgf_reader.h"

namespace tessavine::pgf {

// Checks, with gtest expectations, what every PGF we write must satisfy whatever the font:
// the header's maxima cover every glyph, the sections add up to the file, the format's limits
// hold and every glyph owns its shadow.
void expectWellFormed(const PgfFile& file, std::size_t fileSize);

}  // namespace tessavine::pgf
