#include "screen_renderer.h"

#include <algorithm>

namespace tessavine::psp_screen {
namespace {

void drawReference(RgbaImage& image, const pgf::PgfFile& font, const TextRun& run,
                   const ReferenceSize& reference, Rgba colour) {
    const int width = std::max(reference.em, textWidth(font, run.text));
    // The box spans exactly em rows from the reference font's top.
    image.strokeRect({run.x, run.baseline - reference.ascent, width, reference.em}, colour);
    // Where the reference font's next line would stand: a mark at its baseline.
    const int next = run.baseline + reference.pitch;
    image.horizontalLine(run.x - 4, run.x - 1, next, colour);
    image.horizontalLine(run.x - 4, run.x - 1, run.baseline, colour);
}

}  // namespace

Palette darkPalette() {
    return {
        .background = {22, 34, 66},
        .dialog = {44, 50, 70},
        .dialogBorder = {150, 160, 190},
        .highlight = {70, 96, 150},
        .ink = {255, 255, 255},
        .shadow = {0, 0, 0},
        .outline = {255, 140, 0},
        .missing = {150, 30, 40},
    };
}

Palette lightPalette() {
    return {
        .background = {226, 230, 238},
        .dialog = {250, 250, 252},
        .dialogBorder = {120, 126, 140},
        .highlight = {190, 204, 232},
        .ink = {20, 20, 28},
        .shadow = {150, 154, 166},
        .outline = {230, 90, 0},
        .missing = {240, 170, 170},
    };
}

void composite(RgbaImage& image, const CoverageCanvas& canvas, const Palette& palette) {
    const int width = std::min(image.width(), canvas.width());
    const int height = std::min(image.height(), canvas.height());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // The shadow first, so that ink covers it.
            image.mix(x, y, palette.shadow, canvas.shadow(x, y));
            image.mix(x, y, palette.ink, canvas.ink(x, y));
        }
    }
}

RgbaImage renderScreen(const pgf::PgfFile& font, const ScreenLayout& layout,
                       const Palette& palette) {
    RgbaImage image(layout.size.width, layout.size.height, palette.background);
    for (const Panel& panel : layout.panels) {
        image.fillRect(panel.rect,
                       panel.kind == Panel::Kind::Dialog ? palette.dialog : palette.highlight);
        if (panel.kind == Panel::Kind::Dialog) {
            image.strokeRect(panel.rect, palette.dialogBorder);
        }
    }
    CoverageCanvas canvas(layout.size.width, layout.size.height);
    for (const TextRun& run : layout.runs) {
        canvas.drawText(font, run.x, run.baseline, run.text);
    }
    composite(image, canvas, palette);
    if (layout.reference) {
        for (const TextRun& run : layout.runs) {
            drawReference(image, font, run, *layout.reference, palette.outline);
        }
    }
    return image;
}

}  // namespace tessavine::psp_screen
