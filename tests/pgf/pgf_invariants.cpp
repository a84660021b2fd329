#include "pgf_invariants.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pgf/format_limits.h"

namespace tessavine::pgf {

void expectWellFormed(const PgfFile& file, std::size_t fileSize) {
    const PgfHeader& header = file.header;
    EXPECT_EQ(header.revision, 2);
    EXPECT_EQ(header.version, 6);
    EXPECT_EQ(header.headerSize, 392);
    EXPECT_EQ(header.bitsPerPixel, 4);
    EXPECT_EQ(header.firstGlyph, 0x20);
    EXPECT_EQ(header.charMapLength, header.lastGlyph - header.firstGlyph + 1);
    EXPECT_EQ(header.charMapBpe, bitLength(static_cast<std::uint32_t>(header.charPointerLength)));
    EXPECT_EQ(header.shadowMapBpe, kShadowMapBits);
    EXPECT_EQ(header.shadowScaleX, 32);
    EXPECT_EQ(header.shadowScaleY, 32);
    EXPECT_LE(header.shadowMapLength, kMostShadows);
    // Up to 511 glyphs each own a shadow; beyond, they share all 511 there may be.
    EXPECT_LE(header.shadowMapLength, header.charPointerLength);
    for (const auto* table :
         {&file.dimensionTable, &file.xAdjustTable, &file.yAdjustTable, &file.advanceTable}) {
        EXPECT_LE(table->size(), static_cast<std::size_t>(kMostTableEntries));
    }

    // The sections, laid end to end, are the file.
    EXPECT_EQ(file.sections.total(), fileSize);
    EXPECT_EQ(file.sections.glyphData % 4, 0u);
    EXPECT_EQ(fileSize % 4, 0u);

    std::size_t lastRecordEnd = 0;
    for (std::size_t i = 0; i < file.glyphs.size(); ++i) {
        const PgfGlyph& glyph = file.glyphs[i];
        const GlyphMetrics& metrics = glyph.metrics;
        const GlyphRecordInfo& record = file.records[i];
        SCOPED_TRACE(testing::Message()
                     << "glyph " << i << " U+" << std::hex << static_cast<unsigned>(glyph.code));
        // The header's maxima cover every glyph and shadow.
        EXPECT_GE(header.maxGlyphWidth, std::max(glyph.image.width, glyph.shadow.width));
        EXPECT_GE(header.maxGlyphHeight, std::max(glyph.image.height, glyph.shadow.height));
        EXPECT_GE(header.maxSizeW, metrics.dimension.horizontal);
        EXPECT_GE(header.maxSizeH, metrics.dimension.vertical);
        EXPECT_GE(header.maxLeftXAdjust, metrics.xAdjust.horizontal);
        EXPECT_LE(header.minCenterXAdjust, metrics.xAdjust.vertical);
        EXPECT_GE(header.maxBaseYAdjust, metrics.yAdjust.horizontal);
        EXPECT_GE(header.maxTopYAdjust, metrics.yAdjust.vertical);
        EXPECT_GE(header.maxAdvanceH, metrics.advance.horizontal);
        EXPECT_GE(header.maxAdvanceV, metrics.advance.vertical);
        EXPECT_FALSE(findImageLimitBreak(glyph.image).has_value());
        EXPECT_FALSE(findImageLimitBreak(glyph.shadow).has_value());

        EXPECT_TRUE(record.flags & 0x20) << "advance must be indexed";
        EXPECT_EQ(record.offset % 4, 0u);
        EXPECT_LE(record.recordBytes, static_cast<std::size_t>(kLargestRecordBytes));
        ASSERT_LT(record.shadowId, file.shadowMap.size());
        const bool ownsShadow = file.shadowMap[record.shadowId] == glyph.code;
        if (file.shadowMap.size() == file.glyphs.size()) {
            EXPECT_EQ(record.shadowId, i);  // every glyph owns its shadow
            EXPECT_TRUE(ownsShadow);
        }
        // A shared shadow follows the record of a glyph the font has.
        EXPECT_TRUE(file.glyphIndexOf(file.shadowMap[record.shadowId]).has_value());
        EXPECT_EQ(file.glyphIndexOf(glyph.code), i);
        EXPECT_GE(record.offset, lastRecordEnd) << "records overlap";
        lastRecordEnd =
            record.offset + record.recordBytes + (ownsShadow ? record.shadowRecordBytes : 0);
    }
    EXPECT_GE(file.sections.glyphData, lastRecordEnd + 128) << "trailing zero bytes missing";
}

}  // namespace tessavine::pgf
