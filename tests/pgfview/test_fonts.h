#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <vector>

#include "converter/output_file.h"
#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"

namespace tessavine::pgfview::test {

// A font whose every pixel is known:
//   'A'  3×2 bitmap {15 8 1 / 0 15 4}, 1 px right of the pen, top row 5 px above the baseline;
//        advance 7 px + 20/64; shadow 2×1 {15 6} at (-1, 3) in shadow pixels.
//   '_'  4×1 bitmap of full ink 1 px below the baseline (top −1); advance 5 px; no shadow ink.
// Ascender 10 px + 20/64, descender −(3 px + 40/64): 14 px between baselines, rounded. Every
// vertical advance is 20 px, so a pitch taken from it instead shows.
inline pgf::PgfFont twoGlyphFont(int extraGlyphs = 0) {
    pgf::PgfFont font;
    font.name = "Known Pixels";
    font.style = "Regular";
    font.ascender = 10 * 64 + 20;
    font.descender = -(3 * 64 + 40);
    const auto glyph = [](char16_t code, pgf::GlyphImage image, std::int32_t advance,
                          pgf::GlyphImage shadow) {
        pgf::PgfGlyph g;
        g.code = code;
        g.metrics.dimension = {image.width * 64, image.height * 64};
        g.metrics.xAdjust = {image.left * 64, -image.width * 32};
        g.metrics.yAdjust = {image.top * 64, 0};
        g.metrics.advance = {advance, 20 * 64};
        g.image = std::move(image);
        g.shadow = std::move(shadow);
        return g;
    };
    font.glyphs.push_back(
        glyph(u'A', {3, 2, 1, 5, {15, 8, 1, 0, 15, 4}}, 7 * 64 + 20, {2, 1, -1, 3, {15, 6}}));
    // Further glyphs, to tell one version of a file from another.
    for (int i = 0; i < extraGlyphs; ++i) {
        font.glyphs.push_back(
            glyph(static_cast<char16_t>(u'B' + i), {1, 1, 0, 1, {15}}, 2 * 64, {1, 1, 0, 0, {0}}));
    }
    font.glyphs.push_back(glyph(u'_', {4, 1, 0, -1, {15, 15, 15, 15}}, 5 * 64, {1, 1, 0, 0, {0}}));
    return font;
}

inline std::vector<std::uint8_t> twoGlyphFile(int extraGlyphs = 0) {
    return pgf::writePgf(twoGlyphFont(extraGlyphs));
}

inline pgf::PgfFile twoGlyphFileRead() {
    const std::vector<std::uint8_t> bytes = twoGlyphFile();
    return pgf::readPgf(bytes);
}

// As the converter writes: a temporary file renamed over the old one.
inline void replaceFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    converter::writeFileWhole(std::filesystem::path(path.toStdString()), bytes);
}

}  // namespace tessavine::pgfview::test
