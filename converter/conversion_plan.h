#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "conversion_parameters.h"
#include "font_face.h"
#include "glyph_renderer.h"
#include "line_metrics.h"

namespace tessavine::converter {

// A face's own style as given; what the slot asks beyond it is synthesised.
struct FaceStyle {
    bool bold = false;
    bool italic = false;
};

// One font the file's glyphs come from: the main font first, then the fallbacks in order.
struct PlannedFace {
    std::filesystem::path path;
    FontFace face;
    // The fallback's em against the main font's, so both have the same cap height (1 for the
    // main font): (main cap height / main em) / (fallback cap height / fallback em), each cap
    // height from the OS/2 table's sCapHeight, or the outline height of "H" where the font
    // states none.
    double emRatio = 1.0;
    FaceStyle style;  // what the face is as given
};

// Everything the conversion needs, worked out once from the command line: the faces and their
// roles, the characters and which face serves each, the em, line metrics, hinting and header
// texts. The renderer and the writer only read it.
struct ConversionPlan {
    ConversionParameters parameters;   // with the slot's styles folded into embolden/italicize
    std::vector<PlannedFace> faces;    // [0] the main font
    std::vector<FaceSize> sizes;       // for each face, at the font scale
    FaceStyle wanted;                  // the style every glyph shows, whatever face draws it
    std::vector<char32_t> characters;  // asked for, ascending
    // For each character, the face that has it, or nothing when none does.
    std::vector<std::optional<std::size_t>> faceOf;
    LineMetrics lines;
    std::string fontName;
    std::string styleName;
    std::int32_t nominalSize = 0;
    std::vector<std::string> warnings;  // for the error stream, each one line

    // The sizes every face would have at another font scale (to find the largest that fits).
    std::vector<FaceSize> sizesAt(int fontScale) const;
    std::vector<char32_t> missingCharacters() const;
};

// Opens the fonts, reads --chars and --chars-from, and decides which face serves which
// character. Throws ConversionError for a font that cannot be used or a character list that
// cannot be read.
ConversionPlan makeConversionPlan(const std::filesystem::path& fontPath,
                                  const ConversionParameters& parameters,
                                  std::optional<FaceStyle> faceStyle = std::nullopt);

// The characters --chars and --chars-from ask for, ascending, "_" always among them; warnings
// for what a PGF font cannot hold are appended.
std::vector<char32_t> chosenCharacters(const ConversionParameters& parameters,
                                       std::vector<std::string>& warnings);

// A face's cap height in its own font units (OS/2 sCapHeight, else the outline of "H"); 0 when
// it has neither.
long capHeightUnits(const FontFace& face);

}  // namespace tessavine::converter
