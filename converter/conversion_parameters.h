#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessavine::converter {

// Where the header's ascender, descender and vertical advance come from.
enum class LineMetricsSource {
    Firmware,  // the firmware fonts' proportions, scaled to the font scale
    Font,      // the font's own ascent and descent
};

// FreeType's hinting targets. Light (vertical only) has always been the default: it keeps small
// sizes crisp without distorting the shapes.
enum class Hinting {
    None,    // the outlines as designed, blurrier at 12 px
    Light,   // vertical hinting only
    Normal,  // the font's own hinting (or the auto-hinter) in both directions
};

// Whether a bitmap strike a font carries for the pixel size drawn replaces its outlines. Never is
// the default: the window's fonts stay exactly as they were, and few latin fonts carry strikes.
enum class EmbeddedBitmaps {
    Never,  // always the outlines
    Auto,   // the strike made for the em asked, where the font has one (CJK fonts at 12-16 px)
};

// What the command line asks of the conversion.
struct ConversionParameters {
    int fontScale = 18;            // em size in pixels; 18 is the firmware's 10.125 pt at 128 dpi
    double horizontalWidth = 1.0;  // horizontal scale of outlines and advances
    bool embolden = false;         // synthetic bold: the outline is made thicker
    bool italicize = false;        // synthetic oblique: the outline is slanted
    double shadowBlur = 1.0;       // Gaussian sigma of the shadow, in glyph pixels
    double shadowIntensity = 1.0;  // factor on the shadow's opacity; 0 gives no shadow ink

    // The face of a collection (.ttc, .otc) to draw: its index or name; empty: the first.
    std::string face{};

    // The firmware font (0 to 15, or pgf::kBigFontSlot for jpn0.pgf) the output stands in for: its
    // size class, style and header. None: a large font in the style asked for above, as slot 0 or
    // whatever the user copies it to.
    std::optional<int> slot = std::nullopt;
    LineMetricsSource lineMetrics = LineMetricsSource::Firmware;
    // Explicit line metrics in pixels, each replacing the chosen one: the ascender above the
    // baseline, the descender negative below it.
    std::optional<double> ascender = std::nullopt;
    std::optional<double> descender = std::nullopt;

    // The characters the file holds: a --chars list (empty: the psp set) and the characters of a
    // UTF-8 text (--chars-from), added to it.
    std::string characterSets{};
    std::string charactersFromFile{};
    // Fonts that give the characters the main font lacks, the first that has one serving it.
    std::vector<std::string> fallbackFonts{};
    Hinting hinting = Hinting::Light;
    EmbeddedBitmaps bitmaps = EmbeddedBitmaps::Never;
    // Refuse a set that makes the file larger than the firmware's own for the slot, or that needs
    // more memory to open.
    bool withinFirmwareSize = false;
};

}  // namespace tessavine::converter
