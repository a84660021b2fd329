#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfinfo {

// Prints the header, the glyph count, which characters the font covers, how close the file comes
// to each limit of the format, and how it compares with the firmware fonts its size and style
// match: line metrics, largest bitmap, and the memory the PSP needs to open it. A file named
// jpn0.pgf (`fileName` is the name without its folder) is held against the firmware's big font.
void printReport(std::ostream& out, const pgf::PgfFile& font, std::size_t fileSize,
                 std::string_view fileName = {});

}  // namespace tessavine::pgfinfo
