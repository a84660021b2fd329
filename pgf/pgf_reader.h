#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bitmap_order.h"
#include "font_sources.h"
#include "pgf_font.h"
#include "pgf_header.h"

namespace tessavine::pgf {

// Where a glyph's records lie and how they are stored.
struct GlyphRecordInfo {
    std::size_t offset = 0;  // bytes from the start of the glyph data
    std::size_t recordBytes = 0;
    std::size_t shadowRecordBytes = 0;
    std::uint8_t flags = 0;  // order bits and the four "metric is indexed" bits
    BitmapOrder shadowOrder = BitmapOrder::Rows;
    std::uint16_t shadowId = 0;
};

// Byte sizes of the file's sections, in file order.
struct PgfSections {
    std::size_t header = 0;
    std::size_t dimensionTable = 0;
    std::size_t xAdjustTable = 0;
    std::size_t yAdjustTable = 0;
    std::size_t advanceTable = 0;
    std::size_t shadowMap = 0;
    std::size_t charMap = 0;
    std::size_t charPointers = 0;
    std::size_t glyphData = 0;

    std::size_t total() const {
        return header + dimensionTable + xAdjustTable + yAdjustTable + advanceTable + shadowMap +
               charMap + charPointers + glyphData;
    }
};

struct PgfFile {
    PgfHeader header;
    PgfSections sections;
    std::vector<MetricPair> dimensionTable;
    std::vector<MetricPair> xAdjustTable;
    std::vector<MetricPair> yAdjustTable;
    std::vector<MetricPair> advanceTable;
    std::vector<std::uint32_t> shadowMap;
    std::vector<std::uint32_t> charMap;
    std::vector<std::uint32_t> charPointers;
    // In pointer-table order; a glyph's code is the lowest code the charmap gives it (0: none).
    std::vector<PgfGlyph> glyphs;
    std::vector<GlyphRecordInfo> records;
    // Which font drew which characters, for a file made from several (font_sources.h).
    std::optional<std::vector<FontSource>> sources;
    // Why a block that is there was not read (damaged, or beyond its bounds); empty otherwise.
    std::string sourcesProblem;

    // The glyph the charmap gives this code, if any.
    std::optional<std::size_t> glyphIndexOf(char32_t code) const;
};

// Decodes every table and glyph. Throws PgfReadError, naming the problem, for a file that is no
// revision 2 PGF font or whose counts, indexes or records point outside the file.
PgfFile readPgf(std::span<const std::uint8_t> file);

}  // namespace tessavine::pgf
