#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfview_windows {

// What the side panel tells about an open file, as Linux pgfview's panel does: its name and
// style, em, glyphs, the PSP's characters it lacks, and its size and open memory held against
// the firmware font of the slot its name stands for (slot 0 when it names none).
struct FontFacts {
    std::string text;         // UTF-8, lines ending in "\n"
    bool overBudget = false;  // the file or its open memory exceeds the firmware font's
    std::vector<char32_t> missing;
};

// The slot "ltnN.pgf" names (any case), or -1.
int slotOfFileName(const std::string& fileName);

FontFacts describeFont(const pgf::PgfFile& font, const std::string& fileName,
                       std::size_t fileBytes);

}  // namespace tessavine::pgfview_windows
