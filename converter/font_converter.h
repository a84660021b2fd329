#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "conversion_parameters.h"

namespace tessavine::converter {

struct ConversionResult {
    std::vector<std::uint8_t> pgf;  // the whole file
    std::size_t glyphCount = 0;
    std::vector<char32_t> missingCharacters;  // of the PSP latin set, in ascending order
};

// Renders the font's PSP latin characters at the given parameters and lays them out as a PGF
// file in memory. Throws ConversionError when the font cannot be read, lacks the underscore, or
// has glyphs that the format cannot hold at this scale (the message names the largest scale that
// fits).
ConversionResult convertFont(const std::filesystem::path& fontPath,
                             const ConversionParameters& parameters);

}  // namespace tessavine::converter
