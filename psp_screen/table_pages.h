#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "character_table.h"
#include "pgf/pgf_reader.h"

namespace tessavine::psp_screen {

// The Unicode block a code belongs to ("CJK Unified Ideographs"), or an empty name for a code in
// none of the blocks named here.
std::string unicodeBlockName(char32_t code);

// One picture's worth of the character table: entries [first, first + count) of the table.
struct TablePage {
    std::string title;  // "Hiragana (93)", "CJK Unified Ideographs, part 2 of 9 (2,240)"
    std::size_t first = 0;
    std::size_t count = 0;
};

// The table cut into pages that each draw within the table's memory bound. When the whole table
// fits one picture it stays one page, as a latin font's table always does; a big font's table is
// cut at its Unicode blocks and a block too big for one picture into parts, so that a font of
// 20,000 characters shows every one of them, a page at a time. The pages cover every entry once,
// in order.
std::vector<TablePage> characterTablePages(const pgf::PgfFile& font,
                                           std::span<const TableEntry> entries);

}  // namespace tessavine::psp_screen
