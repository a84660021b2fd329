#pragma once

#include "pgf/pgf_reader.h"
#include "psp_text.h"
#include "rgba_image.h"
#include "screen_layout.h"

namespace tessavine::psp_screen {

struct Palette {
    Rgba background;
    Rgba dialog;
    Rgba dialogBorder;
    Rgba highlight;
    Rgba ink;
    Rgba shadow;
    Rgba outline;
    Rgba missing;  // cells of characters the font lacks
};

Palette darkPalette();
Palette lightPalette();

// The screen as the PSP would show it, one image pixel per screen pixel: panels, then every
// run's shadows, then its glyphs, the planes' coverage used as opacity.
RgbaImage renderScreen(const pgf::PgfFile& font, const ScreenLayout& layout,
                       const Palette& palette);

// Paints the canvas's shadow plane, then its glyph plane, over the image.
void composite(RgbaImage& image, const CoverageCanvas& canvas, const Palette& palette);

}  // namespace tessavine::psp_screen
