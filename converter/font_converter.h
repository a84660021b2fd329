#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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
//
// With a slot, the glyphs get the slot's size and style: what the face lacks of the style is
// synthesised. The face's style is what its flags say, unless the caller knows better (a face
// given as a family's bold, say).
struct FaceStyle {
    bool bold = false;
    bool italic = false;
};
ConversionResult convertFont(const std::filesystem::path& fontPath,
                             const ConversionParameters& parameters,
                             std::optional<FaceStyle> faceStyle = std::nullopt);

}  // namespace tessavine::converter
