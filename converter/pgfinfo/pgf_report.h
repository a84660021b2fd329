#pragma once

#include <cstddef>
#include <ostream>

#include "converter/pgf/pgf_reader.h"

namespace tessavine::pgfinfo {

// Prints the header, the glyph count, which characters the font covers, and how close the file
// comes to each limit of the format and of the firmware's own fonts.
void printReport(std::ostream& out, const pgf::PgfFile& font, std::size_t fileSize);

}  // namespace tessavine::pgfinfo
