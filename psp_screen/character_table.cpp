#include "character_table.h"

#include <algorithm>

#include "psp_text.h"

namespace tessavine::psp_screen {
namespace {

constexpr int kCellPadding = 4;
// The most pixels one picture of the table is drawn with at 1x, whatever the file says: 16 MB of
// picture, 256 MB at the 4x zoom. A latin font's whole table needs far less (447 characters at
// 24 px: about 0.5 million); a big font (jpn0.pgf's 7,000 to 20,000 characters at 18 px, about 800
// pixels a cell) and a crafted file with cells as tall as the format allows are shown a page at a
// time (table_pages.h).
constexpr long long kMostTablePixels = 4LL * 1024 * 1024;

}  // namespace

std::vector<char32_t> missingCharacters(const pgf::PgfFile& font,
                                        const std::vector<char32_t>& wanted) {
    std::vector<char32_t> missing;
    for (const char32_t code : wanted) {
        if (!font.glyphIndexOf(code)) {
            missing.push_back(code);
        }
    }
    std::sort(missing.begin(), missing.end());
    return missing;
}

std::vector<TableEntry> characterTableEntries(const pgf::PgfFile& font,
                                              const std::vector<char32_t>& wanted) {
    std::vector<TableEntry> entries;
    for (const pgf::PgfGlyph& glyph : font.glyphs) {
        // A glyph no code leads to has code 0 and is not part of the font's characters.
        if (glyph.code != 0 && font.glyphIndexOf(glyph.code)) {
            entries.push_back({glyph.code, false});
        }
    }
    for (const char32_t code : missingCharacters(font, wanted)) {
        entries.push_back({code, true});
    }
    std::sort(entries.begin(), entries.end(),
              [](const TableEntry& a, const TableEntry& b) { return a.code < b.code; });
    entries.erase(
        std::unique(entries.begin(), entries.end(),
                    [](const TableEntry& a, const TableEntry& b) { return a.code == b.code; }),
        entries.end());
    return entries;
}

Rect TableGeometry::cell(std::size_t index) const {
    const int column = static_cast<int>(index % kTableColumns);
    const int row = static_cast<int>(index / kTableColumns);
    return {column * cellWidth, row * cellHeight, cellWidth, cellHeight};
}

TableGeometry tableGeometry(const pgf::PgfFile& font, std::size_t entries) {
    int widest = 1;
    for (const pgf::PgfGlyph& glyph : font.glyphs) {
        widest = std::max({widest, advancePixels(glyph), glyph.image.left + glyph.image.width});
    }
    TableGeometry geometry;
    geometry.cellWidth = std::min(widest, 127) + 2 * kCellPadding;
    // Glyphs are at most 127 pixels high, whatever a header says of the line.
    geometry.cellHeight = std::min(linePitch(font.header), 127) + 2 * kCellPadding;
    geometry.rows = static_cast<int>((entries + kTableColumns - 1) / kTableColumns);
    const long long rowPixels =
        std::max(1LL, static_cast<long long>(geometry.cellWidth) * kTableColumns *
                          static_cast<long long>(geometry.cellHeight));
    geometry.rows = static_cast<int>(
        std::min(static_cast<long long>(geometry.rows), kMostTablePixels / rowPixels));
    return geometry;
}

RgbaImage renderCharacterTable(const pgf::PgfFile& font, std::span<const TableEntry> entries,
                               const Palette& palette) {
    const TableGeometry geometry = tableGeometry(font, entries.size());
    const int width = geometry.cellWidth * kTableColumns;
    const int height = std::max(1, geometry.cellHeight * geometry.rows);
    RgbaImage image(width, height, palette.background);
    CoverageCanvas canvas(width, height);
    const int ascent = std::min(ascentPixels(font.header), geometry.cellHeight - 2 * kCellPadding);
    const std::size_t shown =
        std::min(entries.size(), static_cast<std::size_t>(geometry.rows) * kTableColumns);
    for (std::size_t i = 0; i < shown; ++i) {
        const Rect cell = geometry.cell(i);
        if (entries[i].missing) {
            image.fillRect(cell, palette.missing);
        }
        image.strokeRect(cell, palette.dialogBorder);
        if (const pgf::PgfGlyph* glyph = glyphFor(font, entries[i].code)) {
            canvas.drawGlyph(font, *glyph, cell.left() + kCellPadding,
                             cell.top() + kCellPadding + ascent);
        }
    }
    composite(image, canvas, palette);
    return image;
}

}  // namespace tessavine::psp_screen
