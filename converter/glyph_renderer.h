#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conversion_error.h"
#include "conversion_parameters.h"
#include "font_face.h"
#include "pgf/glyph_image.h"

namespace tessavine::converter {

struct RenderedGlyph {
    pgf::GlyphImage image;     // cropped to its ink; 0×0 for a glyph without ink
    std::int32_t advance = 0;  // 26.6, whole pixels
};

// A glyph as FreeType drew it, before it is cropped: a copy that outlives the face's glyph slot,
// so that it can be finished away from the face (on another thread).
struct DrawnGlyph {
    int width = 0;
    int rows = 0;
    int left = 0;                        // pixels right of the pen position to the first column
    int top = 0;                         // pixels up from the baseline to the top row
    std::vector<std::uint8_t> coverage;  // 8-bit, row by row, width × rows
    std::int32_t advance = 0;            // 26.6, whole pixels
};

// The glyph cropped to the pixels that keep some ink at 4 bits.
RenderedGlyph cropToInk(const DrawnGlyph& drawn);

// A glyph whose outline reaches beyond what a glyph record can hold at this size; found from
// the outline before any pixel is drawn, so a huge outline costs no time or memory. The message
// is the problem alone ("is 750 pixels wide, ..."), for the caller to name the character.
class GlyphTooLarge : public ConversionError {
  public:
    explicit GlyphTooLarge(const std::string& problem) : ConversionError(problem) {}
};

// How one face is drawn: its em in 26.6 pixels (the width's own, for the horizontal width), the
// synthetic styles and the hinting. A fallback face gets an em of its own, matched to the main
// face's cap height, and the main face's stroke strength, so its letters look as heavy.
struct FaceSize {
    std::int64_t emWidth = 0;   // 26.6
    std::int64_t emHeight = 0;  // 26.6
    bool embolden = false;
    // 26.6 pixels the outline grows by; nothing: 1/24 of this face's own em, FreeType's strength
    std::optional<std::int64_t> emboldenStrength;
    bool italicize = false;
    Hinting hinting = Hinting::Light;
    EmbeddedBitmaps bitmaps = EmbeddedBitmaps::Never;
    int fontScale = 0;  // as the user gave it, for messages
};

// Renders characters of a face at one size and style, as 4-bit anti-aliased bitmaps.
class GlyphRenderer {
  public:
    // Throws ConversionError when the font cannot be set to that size.
    GlyphRenderer(const FontFace& face, const FaceSize& size);

    // Nothing when the font lacks the character or its outline cannot be loaded. Throws
    // GlyphTooLarge when the outline certainly exceeds the format's bitmap limits, and
    // ConversionError when FreeType cannot draw it.
    std::optional<RenderedGlyph> render(char32_t code) const;

    // render without the cropping, which needs no FreeType: nothing and the errors as there.
    std::optional<DrawnGlyph> draw(char32_t code) const;

    // Font ascent and descent at this size, 26.6, whole pixels (descent negative).
    std::int32_t ascender() const;
    std::int32_t descender() const;

    // 26.6 pixels an emboldened outline grows by.
    std::int64_t emboldenStrength() const { return strength_; }

    // True when the glyphs come from a bitmap strike of the font where it has one.
    bool drawsFromStrike() const { return (loadFlags_ & FT_LOAD_NO_BITMAP) == 0; }

  private:
    FT_Face face_;
    bool embolden_;
    bool italicize_;
    std::int64_t strength_;
    FT_Int32 loadFlags_;
    FT_Render_Mode renderMode_;
};

// Maps 8-bit coverage to the format's 4 bits: round(v × 15 / 255).
std::uint8_t toFourBits(std::uint8_t coverage);

}  // namespace tessavine::converter
