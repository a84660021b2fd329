#include "pgf_writer.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

#include "bit_writer.h"
#include "format_limits.h"
#include "glyph_record.h"
#include "metric_table.h"
#include "pgf_header.h"
#include "shadow_sharing.h"

namespace tessavine::pgf {
namespace {

constexpr char16_t kFirstCode = 0x0020;
constexpr std::size_t kTrailingZeroBytes = 128;  // some readers skip glyphs near the file's end

struct MetricTables {
    MetricTable dimension;
    MetricTable xAdjust;
    MetricTable yAdjust;
    MetricTable advance;
};

std::string describeGlyph(const PgfGlyph& glyph) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(glyph.code));
    return text;
}

void checkFont(const PgfFont& font) {
    if (font.glyphs.empty()) {
        throw std::invalid_argument("a PGF font needs at least one glyph");
    }
    if (font.glyphs.size() > static_cast<std::size_t>(kMostGlyphs)) {
        throw std::invalid_argument("a PGF font holds at most 65535 glyphs");
    }
    char16_t previous = 0;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        const PgfGlyph& glyph = font.glyphs[i];
        if (glyph.code < kFirstCode || (i > 0 && glyph.code <= previous)) {
            throw std::invalid_argument("glyph codes must rise from U+0020 on, each code once");
        }
        previous = glyph.code;
        for (const GlyphImage* image : {&glyph.image, &glyph.shadow}) {
            if (const auto problem = findImageLimitBreak(*image)) {
                throw std::invalid_argument("the bitmap of " + describeGlyph(glyph) + " " +
                                            *problem);
            }
            if (image->pixels.size() != static_cast<std::size_t>(image->width * image->height)) {
                throw std::invalid_argument("the bitmap of " + describeGlyph(glyph) +
                                            " has the wrong number of pixels");
            }
        }
    }
}

MetricTables buildTables(const PgfFont& font) {
    std::vector<MetricPair> dimension, xAdjust, yAdjust, advance;
    for (const PgfGlyph& glyph : font.glyphs) {
        dimension.push_back(glyph.metrics.dimension);
        xAdjust.push_back(glyph.metrics.xAdjust);
        yAdjust.push_back(glyph.metrics.yAdjust);
        advance.push_back(glyph.metrics.advance);
    }
    MetricTables tables{buildMetricTable(dimension), buildMetricTable(xAdjust),
                        buildMetricTable(yAdjust), buildMetricTable(advance)};
    // Some readers always read the advance as an index, so it can never be stored inline.
    if (!tables.advance.indexesEveryGlyph()) {
        throw std::invalid_argument("a PGF font can have at most 255 different advances");
    }
    return tables;
}

void appendBytes(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

MetricIndexes indexesOf(const MetricTables& tables, std::size_t glyphIndex) {
    return {tables.dimension.indexOfGlyph[glyphIndex], tables.xAdjust.indexOfGlyph[glyphIndex],
            tables.yAdjust.indexOfGlyph[glyphIndex], tables.advance.indexOfGlyph[glyphIndex]};
}

std::vector<std::uint8_t> packArray(const std::vector<std::uint32_t>& values, int bitsPerEntry) {
    BitWriter out;
    for (std::uint32_t value : values) {
        out.write(value, bitsPerEntry);
    }
    out.padTo(32);
    return out.takeBytes();
}

std::vector<std::uint8_t> encodeTable(const MetricTable& table) {
    BitWriter out;
    for (const MetricPair& pair : table.entries) {
        out.write(static_cast<std::uint32_t>(pair.horizontal), 32);
        out.write(static_cast<std::uint32_t>(pair.vertical), 32);
    }
    return out.takeBytes();
}

template <typename Field>
std::int32_t largest(const PgfFont& font, Field field) {
    std::int32_t best = std::numeric_limits<std::int32_t>::min();
    for (const PgfGlyph& glyph : font.glyphs) {
        best = std::max(best, field(glyph));
    }
    return best;
}

PgfHeader makeHeader(const PgfFont& font, const MetricTables& tables, std::uint32_t largestPointer,
                     std::size_t shadowCount) {
    const auto glyphCount = static_cast<std::uint32_t>(font.glyphs.size());
    PgfHeader header;
    header.firstGlyph = kFirstCode;
    header.lastGlyph = font.glyphs.back().code;
    header.charMapLength = header.lastGlyph - header.firstGlyph + 1;
    header.charPointerLength = static_cast<std::int32_t>(glyphCount);
    header.charMapBpe = bitLength(glyphCount);
    header.charPointerBpe = bitLength(largestPointer);
    header.hSize = font.nominalSize;
    header.vSize = font.nominalSize;
    header.hResolution = font.resolution;
    header.vResolution = font.resolution;
    header.fontName = font.name;
    header.fontType = font.style;
    header.maxAscender = font.ascender;
    header.maxDescender = font.descender;
    header.maxLeftXAdjust =
        largest(font, [](const PgfGlyph& g) { return g.metrics.xAdjust.horizontal; });
    header.maxBaseYAdjust =
        largest(font, [](const PgfGlyph& g) { return g.metrics.yAdjust.horizontal; });
    header.minCenterXAdjust =
        -largest(font, [](const PgfGlyph& g) { return -g.metrics.xAdjust.vertical; });
    header.maxTopYAdjust =
        largest(font, [](const PgfGlyph& g) { return g.metrics.yAdjust.vertical; });
    header.maxAdvanceH =
        largest(font, [](const PgfGlyph& g) { return g.metrics.advance.horizontal; });
    header.maxAdvanceV =
        largest(font, [](const PgfGlyph& g) { return g.metrics.advance.vertical; });
    header.maxSizeW =
        largest(font, [](const PgfGlyph& g) { return g.metrics.dimension.horizontal; });
    header.maxSizeH = largest(font, [](const PgfGlyph& g) { return g.metrics.dimension.vertical; });
    // Games size their glyph buffers from these, so they cover the shadow bitmaps as well.
    header.maxGlyphWidth = static_cast<std::uint16_t>(
        largest(font, [](const PgfGlyph& g) { return std::max(g.image.width, g.shadow.width); }));
    header.maxGlyphHeight = static_cast<std::uint16_t>(
        largest(font, [](const PgfGlyph& g) { return std::max(g.image.height, g.shadow.height); }));
    header.dimTableLength = static_cast<std::uint8_t>(tables.dimension.entries.size());
    header.xAdjustTableLength = static_cast<std::uint8_t>(tables.xAdjust.entries.size());
    header.yAdjustTableLength = static_cast<std::uint8_t>(tables.yAdjust.entries.size());
    header.advanceTableLength = static_cast<std::uint8_t>(tables.advance.entries.size());
    header.shadowMapLength = static_cast<std::int32_t>(shadowCount);
    header.shadowMapBpe = kShadowMapBits;
    return header;
}

}  // namespace

std::vector<std::uint8_t> writePgf(const PgfFont& font, std::span<const EncodedBitmap> imageCodes) {
    checkFont(font);
    if (!imageCodes.empty() && imageCodes.size() != font.glyphs.size()) {
        throw std::invalid_argument("one bitmap code is needed for each glyph");
    }
    const MetricTables tables = buildTables(font);

    std::vector<const GlyphImage*> shadows;
    shadows.reserve(font.glyphs.size());
    for (const PgfGlyph& glyph : font.glyphs) {
        shadows.push_back(&glyph.shadow);
    }
    // Up to 511 glyphs each own their shadow; beyond, glyphs share them (a 9-bit shadow id).
    std::vector<std::size_t> keepOwn;
    for (const char16_t code : font.ownShadowFirst) {
        const auto at = std::lower_bound(
            font.glyphs.begin(), font.glyphs.end(), code,
            [](const PgfGlyph& glyph, char16_t wanted) { return glyph.code < wanted; });
        if (at != font.glyphs.end() && at->code == code) {
            keepOwn.push_back(static_cast<std::size_t>(at - font.glyphs.begin()));
        }
    }
    const std::vector<std::size_t> shadowOwner =
        shareShadows(Shadows(shadows), static_cast<std::size_t>(kMostShadows),
                     font.shareIdenticalShadows, keepOwn);
    std::vector<std::uint32_t> shadowMap;
    std::vector<std::uint16_t> shadowIdOfOwner(font.glyphs.size(), 0);
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        if (shadowOwner[i] == i) {
            shadowIdOfOwner[i] = static_cast<std::uint16_t>(shadowMap.size());
            shadowMap.push_back(font.glyphs[i].code);
        }
    }

    std::vector<std::uint8_t> glyphData;
    std::vector<std::uint32_t> pointers;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        pointers.push_back(static_cast<std::uint32_t>(glyphData.size() / 4));
        const std::uint16_t shadowId = shadowIdOfOwner[shadowOwner[i]];
        appendBytes(
            glyphData,
            imageCodes.empty()
                ? encodeCharRecord(font.glyphs[i], indexesOf(tables, i), shadowId)
                : encodeCharRecord(font.glyphs[i], indexesOf(tables, i), shadowId, imageCodes[i]));
        if (shadowOwner[i] == i) {
            appendBytes(glyphData, encodeShadowRecord(font.glyphs[i].shadow));
        }
        glyphData.resize((glyphData.size() + 3) / 4 * 4, 0);
    }
    glyphData.resize(glyphData.size() + kTrailingZeroBytes, 0);

    const PgfHeader header = makeHeader(font, tables, pointers.back(), shadowMap.size());
    const std::uint32_t noGlyph = (std::uint32_t{1} << header.charMapBpe) - 1;
    std::vector<std::uint32_t> charMap(static_cast<std::size_t>(header.charMapLength), noGlyph);
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        charMap[font.glyphs[i].code - kFirstCode] = static_cast<std::uint32_t>(i);
    }

    std::vector<std::uint8_t> file = encodeHeader(header);
    appendBytes(file, encodeTable(tables.dimension));
    appendBytes(file, encodeTable(tables.xAdjust));
    appendBytes(file, encodeTable(tables.yAdjust));
    appendBytes(file, encodeTable(tables.advance));
    appendBytes(file, packArray(shadowMap, header.shadowMapBpe));
    appendBytes(file, packArray(charMap, header.charMapBpe));
    appendBytes(file, packArray(pointers, header.charPointerBpe));
    appendBytes(file, glyphData);
    appendBytes(file, encodeFontSources(font.sources));
    return file;
}

}  // namespace tessavine::pgf
