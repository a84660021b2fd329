#pragma once

#include <span>
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

// Every character of the file and every wanted one it lacks, in ascending order: at most one entry
// a 16-bit code, whatever the file claims, and none left out (table_pages.h cuts them into
// pictures that each stay within the table's memory bound).
std::vector<TableEntry> characterTableEntries(const pgf::PgfFile& font,
                                              const std::vector<char32_t>& wanted);

inline constexpr int kTableColumns = 16;
// The most entries one picture of the table holds; a font with more is shown a page at a time.
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
// At most as many rows as tableGeometry allows: hand it one page (table_pages.h) of a big table.
RgbaImage renderCharacterTable(const pgf::PgfFile& font, std::span<const TableEntry> entries,
                               const Palette& palette);

}  // namespace tessavine::psp_screen
