#pragma once

#include <ostream>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfinfo {

// For a font holding East Asian characters (a jpn0.pgf and its Chinese or Korean replacements):
// how much of each CJK block it holds, and of each named set the converter takes ("JIS X 0208
// 6,879 of 6,879"). Prints nothing for a font without any, so latin reports stay as they were.
void printEastAsianCoverage(std::ostream& out, const pgf::PgfFile& font);

}  // namespace tessavine::pgfinfo
