#include "screen_renderer.h"

#include <QPainter>

#include "psp_text.h"

namespace tessavine::pgfview {
namespace {

QRgb mix(QRgb under, QRgb over, int opacity) {
    const auto channel = [opacity](int a, int b) {
        return (a * (255 - opacity) + b * opacity + 127) / 255;
    };
    return qRgb(channel(qRed(under), qRed(over)), channel(qGreen(under), qGreen(over)),
                channel(qBlue(under), qBlue(over)));
}

void drawReference(QPainter& painter, const pgf::PgfFile& font, const TextRun& run,
                   const ReferenceSize& reference, const QColor& colour) {
    const int width = std::max(reference.em, textWidth(font, run.text));
    const int top = run.baseline - reference.ascent;
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    // drawRect covers one more pixel than its size, so the box spans exactly em rows.
    painter.drawRect(run.x, top, width - 1, reference.em - 1);
    // Where the reference font's next line would stand: a mark at its baseline.
    const int next = run.baseline + reference.pitch;
    painter.drawLine(run.x - 4, next, run.x - 1, next);
    painter.drawLine(run.x - 4, run.baseline, run.x - 1, run.baseline);
}

}  // namespace

Palette darkPalette() {
    return {
        .background = QColor(22, 34, 66),
        .dialog = QColor(44, 50, 70),
        .dialogBorder = QColor(150, 160, 190),
        .highlight = QColor(70, 96, 150),
        .ink = QColor(255, 255, 255),
        .shadow = QColor(0, 0, 0),
        .outline = QColor(255, 140, 0),
        .missing = QColor(150, 30, 40),
    };
}

Palette lightPalette() {
    return {
        .background = QColor(226, 230, 238),
        .dialog = QColor(250, 250, 252),
        .dialogBorder = QColor(120, 126, 140),
        .highlight = QColor(190, 204, 232),
        .ink = QColor(20, 20, 28),
        .shadow = QColor(150, 154, 166),
        .outline = QColor(230, 90, 0),
        .missing = QColor(240, 170, 170),
    };
}

void composite(QImage& image, const CoverageCanvas& canvas, const Palette& palette) {
    const int width = std::min(image.width(), canvas.width());
    const int height = std::min(image.height(), canvas.height());
    const QRgb shadow = palette.shadow.rgb();
    const QRgb ink = palette.ink.rgb();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int shadowLevel = canvas.shadow(x, y);
            const int inkLevel = canvas.ink(x, y);
            if (shadowLevel != 0) {
                line[x] = mix(line[x], shadow, shadowLevel);
            }
            if (inkLevel != 0) {
                line[x] = mix(line[x], ink, inkLevel);
            }
        }
    }
}

QImage renderScreen(const pgf::PgfFile& font, const ScreenLayout& layout, const Palette& palette) {
    QImage image(layout.size, QImage::Format_RGB32);
    image.fill(palette.background);
    {
        QPainter painter(&image);
        for (const Panel& panel : layout.panels) {
            if (panel.kind == Panel::Kind::Dialog) {
                painter.fillRect(panel.rect, palette.dialog);
                painter.setPen(palette.dialogBorder);
                painter.drawRect(panel.rect.adjusted(0, 0, -1, -1));
            } else {
                painter.fillRect(panel.rect, palette.highlight);
            }
        }
    }
    CoverageCanvas canvas(layout.size.width(), layout.size.height());
    for (const TextRun& run : layout.runs) {
        canvas.drawText(font, run.x, run.baseline, run.text);
    }
    composite(image, canvas, palette);
    if (layout.reference) {
        QPainter painter(&image);
        for (const TextRun& run : layout.runs) {
            drawReference(painter, font, run, *layout.reference, palette.outline);
        }
    }
    return image;
}

QImage magnify(const QImage& image, int factor) {
    if (factor <= 1) {
        return image;
    }
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace tessavine::pgfview
