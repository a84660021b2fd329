#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "font_sources.h"
#include "glyph_image.h"

namespace tessavine::pgf {

// A pair of 26.6 values: the horizontal-layout value first, the vertical-layout one second
// (for the dimension: width, then height).
struct MetricPair {
    std::int32_t horizontal = 0;
    std::int32_t vertical = 0;
    auto operator<=>(const MetricPair&) const = default;
};

struct GlyphMetrics {
    MetricPair dimension;  // width, height
    MetricPair xAdjust;    // horizontal bearing X, vertical-layout bearing X
    MetricPair yAdjust;    // horizontal bearing Y, vertical-layout bearing Y
    MetricPair advance;    // horizontal advance, vertical advance
    bool operator==(const GlyphMetrics&) const = default;
};

// Seven bits the firmware hands to games with every glyph; their meaning is unknown, but the
// firmware's own fonts set them by character class, so we do too.
struct ShadowFlags {
    std::uint8_t a = 0;  // 2 bits
    std::uint8_t b = 0;  // 2 bits
    std::uint8_t c = 0;  // 3 bits
    bool operator==(const ShadowFlags&) const = default;
};

struct PgfGlyph {
    char16_t code = 0;
    GlyphImage image;
    GlyphMetrics metrics;
    ShadowFlags shadowFlags;
    GlyphImage shadow;  // half resolution; its position is in shadow pixels too
};

// Everything a PGF file says about a font; the writer derives tables, maxima and layout from it.
struct PgfFont {
    std::string name;                // ASCII, at most 63 characters
    std::string style;               // "Regular", "Bold", ...
    std::int32_t nominalSize = 648;  // points, 26.6
    std::int32_t resolution = 8192;  // dpi, 26.6
    std::int32_t ascender = 0;       // 26.6 pixels above the baseline
    std::int32_t descender = 0;      // 26.6 pixels, negative below the baseline
    std::vector<PgfGlyph> glyphs;    // ascending codes, each code once
    // For a font drawn from several fonts, which drew what (font_sources.h); empty for one font.
    std::vector<FontSource> sources;
    // Glyphs with identical shadows share one shadow record even when each could have its own.
    bool shareIdenticalShadows = false;
    // Characters whose glyphs keep their own shadow when glyphs must share (the button signs of
    // the big font); empty: the earliest glyphs only, as the latin files always had.
    std::vector<char16_t> ownShadowFirst;
};

}  // namespace tessavine::pgf
