#include "specimen.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "psp_text.h"

namespace tessavine::psp_screen {
namespace {

constexpr int kMargin = 12;
constexpr Rgba kBackground{52, 84, 140};
constexpr Rgba kInk{255, 255, 255};
constexpr Rgba kShadowInk{0, 0, 0};

std::vector<std::u32string> splitLines(const std::u32string& text) {
    std::vector<std::u32string> lines(1);
    for (const char32_t c : text) {
        if (c == U'\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// Beyond this a glyph lies off the canvas however it is placed; pens are clamped to it so that
// no position overflows.
constexpr std::int64_t kFarOffCanvas = std::int64_t{1} << 20;
constexpr int kLargestShadowMagnification = 4;

// How far right the pen gets on the line, in 26.6. Advances come from the file unchecked, so
// the sum is kept in 64 bits: 65,536 advances of 2^31 still fit.
std::int64_t farthestPen(const pgf::PgfFile& font, const std::u32string& line) {
    std::int64_t pen = 0;
    std::int64_t farthest = 0;
    for (const char32_t c : line) {
        if (const pgf::PgfGlyph* glyph = glyphFor(font, c)) {
            pen += glyph->metrics.advance.horizontal;
            farthest = std::max(farthest, pen);
        }
    }
    return farthest;
}

int shadowScale(const pgf::PgfFile& font) {
    const std::int32_t scale = font.header.shadowScaleX;
    const int magnification = scale > 0 ? std::max(1, 64 / scale) : 2;
    if (magnification > kLargestShadowMagnification) {
        throw SpecimenTooLarge("the file's shadow scale " + std::to_string(scale) +
                               " would draw every shadow " + std::to_string(magnification) +
                               " times magnified; leave out --shadow");
    }
    return magnification;
}

// Whole pixels of a 26.6 header value, rounded away from the baseline.
std::int64_t wholePixelsUp(std::int64_t value26Dot6) {
    return (value26Dot6 + 63) / 64;
}

void checkCanvas(std::int64_t width, std::int64_t height) {
    if (width > kLargestSpecimenSide || height > kLargestSpecimenSide ||
        width * height > kMostSpecimenPixels) {
        throw SpecimenTooLarge(
            "the specimen would be " + std::to_string(width) + " x " + std::to_string(height) +
            " pixels (from the file's advances and ascender); pgfinfo draws "
            "at most " +
            std::to_string(kLargestSpecimenSide) + " on a side; try a shorter --text");
    }
}

void drawShadow(RgbaImage& canvas, const pgf::GlyphImage& shadow, int penX, int baseline,
                int scale) {
    for (int y = 0; y < shadow.height; ++y) {
        for (int x = 0; x < shadow.width; ++x) {
            const int left = penX + (shadow.left + x) * scale;
            const int top = baseline + (y - shadow.top) * scale;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    canvas.blend(left + dx, top + dy, kShadowInk, shadow.at(x, y));
                }
            }
        }
    }
}

void drawGlyph(RgbaImage& canvas, const pgf::GlyphImage& image, int penX, int baseline) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            canvas.blend(penX + image.left + x, baseline - image.top + y, kInk, image.at(x, y));
        }
    }
}

}  // namespace

std::u32string defaultSpecimenText() {
    return U"The quick brown fox jumps over the lazy dog.\n"
           U"THE QUICK BROWN FOX JUMPS 0123456789\n"
           U"\u00c0\u00c1\u00c2\u00c3\u00c4\u00c5\u00c7\u00c9 \u00e0\u00e1\u00e2\u00e3\u00e4"
           U"\u00e5\u00e7\u00e9\u00df \u0141\u0142\u0152\u0153\u0160\u0161\u017d\u017e\u0150"
           U"\u0151 \u20ac\u2122\u2026\u201c\u201d\n"
           U"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440! "
           U"_ ?!@#$%&*()[]{}<>=+-/\\|~^";
}

RgbaImage renderSpecimen(const pgf::PgfFile& font, const std::u32string& text, bool withShadows) {
    const std::vector<std::u32string> lines = splitLines(text);
    const std::int64_t ascent = std::max<std::int64_t>(1, wholePixelsUp(font.header.maxAscender));
    const std::int64_t descent =
        std::max<std::int64_t>(0, wholePixelsUp(-std::int64_t{font.header.maxDescender}));
    const std::int64_t lineHeight = ascent + descent + 4;
    std::int64_t widest = 0;
    for (const auto& line : lines) {
        widest = std::max(widest, farthestPen(font, line));
    }
    const std::int64_t width = widest / 64 + 2 * kMargin;
    const std::int64_t height = lineHeight * static_cast<std::int64_t>(lines.size()) + 2 * kMargin;
    checkCanvas(width, height);
    const int scale = withShadows ? shadowScale(font) : 1;
    RgbaImage canvas(static_cast<int>(width), static_cast<int>(height), kBackground);

    for (int pass = withShadows ? 0 : 1; pass < 2; ++pass) {
        int baseline = static_cast<int>(kMargin + ascent);
        for (const auto& line : lines) {
            std::int64_t pen = kMargin * 64;
            for (const char32_t c : line) {
                const pgf::PgfGlyph* glyph = glyphFor(font, c);
                if (!glyph) {
                    continue;
                }
                const int penX =
                    static_cast<int>(std::clamp((pen + 32) / 64, -kFarOffCanvas, kFarOffCanvas));
                if (pass == 0) {
                    drawShadow(canvas, glyph->shadow, penX, baseline, scale);
                } else {
                    drawGlyph(canvas, glyph->image, penX, baseline);
                }
                pen += glyph->metrics.advance.horizontal;
            }
            baseline += static_cast<int>(lineHeight);
        }
    }
    return canvas;
}

}  // namespace tessavine::psp_screen
