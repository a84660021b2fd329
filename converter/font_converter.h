#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "conversion_parameters.h"
#include "conversion_plan.h"

namespace tessavine::converter {

// Which characters of the file one face drew.
struct FaceProvenance {
    std::filesystem::path font;
    std::string fileName;              // UTF-8, without the folder
    std::vector<char32_t> characters;  // ascending
};

struct ConversionResult {
    std::vector<std::uint8_t> pgf;  // the whole file
    std::size_t glyphCount = 0;
    std::size_t shadowCount = 0;              // shadow records; glyphs share them beyond 511
    std::vector<char32_t> missingCharacters;  // asked for but in no face, ascending
    std::size_t askedCharacters = 0;
    std::vector<FaceProvenance> provenance;  // the main font first, then the fallbacks
    std::size_t stingyOpenBytes = 0;         // what the PSP allocates to open it the usual way
    std::vector<std::string> warnings;       // one line each, for the error stream
};

// Renders the planned characters and lays them out as a PGF file in memory. Throws
// ConversionError when the font lacks the underscore, has glyphs that the format cannot hold at
// this scale (the message names the largest scale that fits), or the set breaks a limit of the
// format (the message names the limit and the largest set that fits).
ConversionResult convertPlan(const ConversionPlan& plan);

// makeConversionPlan and convertPlan in one. With a slot, the glyphs get the slot's size and
// style: what the face lacks of the style is synthesised. The face's style is what its flags say,
// unless the caller knows better (a face given as a family's bold, say).
ConversionResult convertFont(const std::filesystem::path& fontPath,
                             const ConversionParameters& parameters,
                             std::optional<FaceStyle> faceStyle = std::nullopt);

}  // namespace tessavine::converter
