#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion_parameters.h"

namespace tessavine::converter {

// Up to four faces of one family; an empty path means the face is made from the others.
struct FontFamily {
    std::filesystem::path regular;
    std::filesystem::path bold;
    std::filesystem::path italic;
    std::filesystem::path boldItalic;
};

struct FontSetResult {
    std::size_t mostMissingCharacters = 0;  // of the characters asked for, in the poorest slot
    std::size_t askedCharacters = 0;
    std::vector<std::string> warnings;     // from reading the character list, once
    std::vector<std::string> budgetLines;  // for each slot, what the PSP needs to open it
};

// Writes ltn0.pgf to ltn15.pgf into the folder (made if missing, its parent must exist), each in
// its firmware slot's role: size class, style, line metrics and header. A slot whose style has no
// face of its own takes the nearest face given and synthesises the rest (a bold italic from the
// italic face emboldened, else from the bold face slanted, else from the regular face). The font
// scale is the large slots' em; the small slots get 7/10.125 of it.
//
// All or nothing: every slot is converted before any file is touched, then the sixteen files
// replace the old ones together. On failure the folder is as it was and the ConversionError names
// the slot and the reason.
FontSetResult writeFontSet(const std::filesystem::path& folder, const FontFamily& family,
                           const ConversionParameters& parameters);

}  // namespace tessavine::converter
