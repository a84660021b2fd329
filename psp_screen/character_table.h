#pragma once

#include <vector>

#include "geometry.h"
#include "pgf/pgf_reader.h"
#include "rgba_image.h"
#include "screen_renderer.h"

namespace tessavine::psp_screen {

struct TableEntry {
    char32_t code = 0;
    bool missing = false;  // one of the PSP's characters that the font lacks
};

// The characters the PSP's set asks for that the font lacks, in ascending order.
std::vector<char32_t> missingCharacters(const pgf::PgfFile& font,
                                        const std::vector<char32_t>& wanted);

// Every character of the file and every wanted one it lacks, in ascending order, at most
// kMostTableEntries of them.
std::vector<TableEntry> characterTableEntries(const pgf::PgfFile& font,
                                              const std::vector<char32_t>& wanted);

inline constexpr int kTableColumns = 16;
// A file may map every code to a glyph; the table shows the first this many.
inline constexpr std::size_t kMostTableEntries = 4096;

// The geometry of the table: cells of equal size, `kTableColumns` to a row.
struct TableGeometry {
    int cellWidth = 0;
    int cellHeight = 0;
    int rows = 0;
    Rect cell(std::size_t index) const;
};
TableGeometry tableGeometry(const pgf::PgfFile& font, std::size_t entries);

// Every entry in a cell of its own, drawn as the PSP draws it; a missing character's cell is
// marked and shows the "_" the PSP puts in its place.
RgbaImage renderCharacterTable(const pgf::PgfFile& font, const std::vector<TableEntry>& entries,
                               const Palette& palette);

}  // namespace tessavine::psp_screen
