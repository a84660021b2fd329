#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pgf/pgf_reader.h"

namespace tessavine::psp_screen {

// The PSP draws this character in place of one the font lacks.
inline constexpr char32_t kSubstituteCharacter = U'_';

// Distances are kept within this many pixels, so that a damaged file's metrics cannot overflow a
// sum or ask for a picture of gigabytes; the PSP's screen is 480 pixels wide.
inline constexpr int kMostPixels = 1024;
// The firmware fonts' shadows are at half resolution (2); anything coarser than 8 is drawn at 8.
inline constexpr int kMostShadowMagnification = 8;

// The glyph the PSP draws for a code: the font's own, its "_" when it has none, or nothing when
// it lacks both.
const pgf::PgfGlyph* glyphFor(const pgf::PgfFile& font, char32_t code);

// 26.6 to whole pixels, halves away from zero; the PSP draws bitmaps at whole-pixel pens.
int roundToPixels(std::int32_t value26dot6);

// The pen moves by each glyph's advance rounded to a whole pixel (within ±kMostPixels).
int advancePixels(const pgf::PgfGlyph& glyph);

// The distance from one baseline to the next: the header's ascender above the baseline plus its
// descender below, which is what games read to space lines. At least 1, at most kMostPixels.
int linePitch(const pgf::PgfHeader& header);
int ascentPixels(const pgf::PgfHeader& header);

// Glyph pixels per shadow pixel on each axis (64 / shadow scale: 2 for the usual 32).
int shadowMagnification(const pgf::PgfHeader& header);

int textWidth(const pgf::PgfFile& font, const std::u32string& text);

// Breaks a paragraph at spaces into lines no wider than `width` pixels (a word wider than that
// stands on a line of its own).
std::vector<std::u32string> wrapText(const pgf::PgfFile& font, const std::u32string& text,
                                     int width);

// Breaks text written without spaces between words (Japanese, Chinese) into lines no wider than
// `width` pixels, between any two characters; a line holds at least one.
std::vector<std::u32string> wrapCharacters(const pgf::PgfFile& font, const std::u32string& text,
                                           int width);

// Two 8-bit coverage planes, one for shadows and one for glyphs. Glyph pixels go in as the firmware
// puts them into its 8-bit buffers: the 4-bit value times 17, added with saturation.
class CoverageCanvas {
  public:
    CoverageCanvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the text with its pen starting at x on the baseline: every shadow into the shadow
    // plane, every glyph into the glyph plane. Returns the pen's x after the last glyph.
    int drawText(const pgf::PgfFile& font, int x, int baseline, const std::u32string& text);
    void drawGlyph(const pgf::PgfFile& font, const pgf::PgfGlyph& glyph, int x, int baseline);

    std::uint8_t ink(int x, int y) const { return ink_[index(x, y)]; }
    std::uint8_t shadow(int x, int y) const { return shadow_[index(x, y)]; }

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    void add(std::vector<std::uint8_t>& plane, int x, int y, std::uint8_t level);

    int width_;
    int height_;
    std::vector<std::uint8_t> ink_;
    std::vector<std::uint8_t> shadow_;
};

}  // namespace tessavine::psp_screen
