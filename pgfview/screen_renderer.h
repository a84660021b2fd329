#pragma once

#include <QColor>
#include <QImage>

#include "pgf/pgf_reader.h"
#include "psp_text.h"
#include "screen_layout.h"

namespace tessavine::pgfview {

struct Palette {
    QColor background;
    QColor dialog;
    QColor dialogBorder;
    QColor highlight;
    QColor ink;
    QColor shadow;
    QColor outline;
    QColor missing;  // cells of characters the font lacks
};

Palette darkPalette();
Palette lightPalette();

// The screen as the PSP would show it, one image pixel per screen pixel: panels, then every
// run's shadows, then its glyphs, the planes' coverage used as opacity.
QImage renderScreen(const pgf::PgfFile& font, const ScreenLayout& layout, const Palette& palette);

// Each pixel becomes a factor × factor block, so pixels stay pixels.
QImage magnify(const QImage& image, int factor);

// Paints the canvas's shadow plane, then its glyph plane, over the image.
void composite(QImage& image, const CoverageCanvas& canvas, const Palette& palette);

}  // namespace tessavine::pgfview
