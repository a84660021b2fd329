#include "pgf_reader.h"

#include <iterator>
#include <map>
#include <string>

#include "bit_reader.h"
#include "bitmap_encoding.h"
#include "format_limits.h"
#include "little_endian.h"
#include "pgf_read_error.h"

namespace tessavine::pgf {
namespace {

constexpr std::int32_t kMostEntries = 0x10000;

// Walks the file section by section, refusing any section that runs past its end.
class SectionCursor {
  public:
    explicit SectionCursor(std::span<const std::uint8_t> file) : file_(file) {}

    std::span<const std::uint8_t> take(std::uint64_t bytes, const char* what) {
        if (bytes > file_.size() - at_) {
            throw PgfReadError(std::string("the file is cut short inside its ") + what);
        }
        const auto section = file_.subspan(at_, static_cast<std::size_t>(bytes));
        at_ += static_cast<std::size_t>(bytes);
        return section;
    }
    std::span<const std::uint8_t> rest() { return take(file_.size() - at_, "glyph data"); }

  private:
    std::span<const std::uint8_t> file_;
    std::size_t at_ = 0;
};

void checkCount(std::int32_t count, std::int32_t most, const char* what) {
    if (count < 0 || count > most) {
        throw PgfReadError(std::string("the header gives an impossible ") + what + " (" +
                           std::to_string(count) + ")");
    }
}

void checkBitsPerEntry(std::int32_t bits, const char* what) {
    if (bits < 1 || bits > 32) {
        throw PgfReadError(std::string("the header gives ") + what + " entries of " +
                           std::to_string(bits) + " bits (1 to 32 are possible)");
    }
}

std::uint64_t packedBytes(std::int32_t count, std::int32_t bits) {
    const auto totalBits = static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(bits);
    return (totalBits + 31) / 32 * 4;
}

std::vector<MetricPair> readTable(SectionCursor& cursor, std::uint8_t length, const char* what) {
    const auto bytes = cursor.take(std::uint64_t{length} * 8, what);
    std::vector<MetricPair> table;
    for (std::size_t i = 0; i < length; ++i) {
        table.push_back({getS32(bytes, i * 8), getS32(bytes, i * 8 + 4)});
    }
    return table;
}

std::vector<std::uint32_t> readPacked(SectionCursor& cursor, std::int32_t count, std::int32_t bits,
                                      const char* what) {
    BitReader reader(cursor.take(packedBytes(count, bits), what));
    std::vector<std::uint32_t> values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        values.push_back(reader.read(bits));
    }
    return values;
}

MetricPair readMetric(BitReader& reader, std::uint32_t flags, std::uint32_t indexedFlag,
                      const std::vector<MetricPair>& table, const char* what) {
    if (flags & indexedFlag) {
        const std::uint32_t index = reader.read(8);
        if (index >= table.size()) {
            throw PgfReadError(std::string("a glyph refers to ") + what + " entry " +
                               std::to_string(index) + " of a table of " +
                               std::to_string(table.size()));
        }
        return table[index];
    }
    const std::int32_t first = reader.readSigned(32);
    const std::int32_t second = reader.readSigned(32);
    return {first, second};
}

BitmapOrder orderOf(std::uint32_t flags, const GlyphImage& image) {
    const std::uint32_t order = flags & 3u;
    if (order == 1 || order == 2) {
        return static_cast<BitmapOrder>(order);
    }
    if (order == 0 && image.width * image.height == 0) {
        return BitmapOrder::Rows;
    }
    throw PgfReadError("a glyph uses a bitmap kind this reader does not know (" +
                       std::to_string(order) + ")");
}

GlyphImage readImageFields(BitReader& reader, std::size_t& recordBytes, std::uint32_t& flags) {
    recordBytes = reader.read(14);
    GlyphImage image;
    image.width = static_cast<int>(reader.read(7));
    image.height = static_cast<int>(reader.read(7));
    image.left = reader.readSigned(7);
    image.top = reader.readSigned(7);
    flags = reader.read(6);
    return image;
}

// Records may be shared by several glyphs, overlap, or code a full 127 × 127 bitmap in a few
// bytes, so a small file could otherwise ask for gigabytes of pixels. A file whose records all
// stand apart decodes to at most eight pixels per byte of glyph data (a run of eight in one
// byte); twice that is allowed, and anything beyond is refused before the pixels are made.
class PixelBudget {
  public:
    explicit PixelBudget(std::size_t glyphDataBytes)
        : left_(std::uint64_t{glyphDataBytes} * 16 + kAlwaysAllowed) {}

    void spend(const GlyphImage& image) {
        const std::uint64_t pixels = std::uint64_t(image.width) * std::uint64_t(image.height);
        if (pixels > left_) {
            throw PgfReadError(
                "the glyph records would decode to far more pixels than a file of this size "
                "can hold (records shared or overlapping too often); the file is damaged");
        }
        left_ -= pixels;
    }

  private:
    // Room for a few full-size glyphs whatever the file's size.
    static constexpr std::uint64_t kAlwaysAllowed = 4 * 127 * 127 * 2;
    std::uint64_t left_;
};

struct DecodedChar {
    PgfGlyph glyph;
    GlyphRecordInfo record;
};

DecodedChar readCharRecord(const PgfFile& file, std::span<const std::uint8_t> glyphData,
                           std::size_t offset, PixelBudget& budget) {
    BitReader reader(glyphData, offset * 8);
    DecodedChar decoded;
    std::uint32_t flags = 0;
    decoded.glyph.image = readImageFields(reader, decoded.record.recordBytes, flags);
    budget.spend(decoded.glyph.image);
    decoded.record.offset = offset;
    decoded.record.flags = static_cast<std::uint8_t>(flags);
    decoded.glyph.shadowFlags.a = static_cast<std::uint8_t>(reader.read(2));
    decoded.glyph.shadowFlags.b = static_cast<std::uint8_t>(reader.read(2));
    decoded.glyph.shadowFlags.c = static_cast<std::uint8_t>(reader.read(3));
    decoded.record.shadowId = static_cast<std::uint16_t>(reader.read(9));
    GlyphMetrics& metrics = decoded.glyph.metrics;
    metrics.dimension =
        readMetric(reader, flags, kDimensionIndexed, file.dimensionTable, "dimension");
    metrics.xAdjust = readMetric(reader, flags, kXAdjustIndexed, file.xAdjustTable, "x-adjust");
    metrics.yAdjust = readMetric(reader, flags, kYAdjustIndexed, file.yAdjustTable, "y-adjust");
    metrics.advance = readMetric(reader, flags, kAdvanceIndexed, file.advanceTable, "advance");
    decodeBitmap(reader, orderOf(flags, decoded.glyph.image), decoded.glyph.image);
    return decoded;
}

struct DecodedShadow {
    GlyphImage image;
    std::size_t recordBytes = 0;
    BitmapOrder order = BitmapOrder::Rows;
};

DecodedShadow readShadowRecord(std::span<const std::uint8_t> glyphData, std::size_t offset,
                               PixelBudget& budget) {
    BitReader reader(glyphData, offset * 8);
    std::uint32_t flags = 0;
    DecodedShadow shadow;
    shadow.image = readImageFields(reader, shadow.recordBytes, flags);
    budget.spend(shadow.image);
    shadow.order = orderOf(flags, shadow.image);
    decodeBitmap(reader, shadow.order, shadow.image);
    return shadow;
}

}  // namespace

std::optional<std::size_t> PgfFile::glyphIndexOf(char32_t code) const {
    if (code < header.firstGlyph || code - header.firstGlyph >= charMap.size()) {
        return std::nullopt;
    }
    const std::uint32_t glyph = charMap[code - header.firstGlyph];
    if (glyph >= glyphs.size()) {
        return std::nullopt;
    }
    return glyph;
}

PgfFile readPgf(std::span<const std::uint8_t> bytes) {
    PgfFile file;
    file.header = decodeHeader(bytes);
    const PgfHeader& header = file.header;
    checkCount(header.charMapLength, kMostEntries, "charmap length");
    checkCount(header.charPointerLength, kMostEntries, "glyph count");
    checkCount(header.shadowMapLength, kMostEntries, "shadow count");
    checkBitsPerEntry(header.charMapBpe, "charmap");
    checkBitsPerEntry(header.charPointerBpe, "char pointer");
    checkBitsPerEntry(header.shadowMapBpe, "shadow map");

    SectionCursor cursor(bytes);
    file.sections.header = cursor.take(kHeaderSize, "header").size();
    file.dimensionTable = readTable(cursor, header.dimTableLength, "dimension table");
    file.xAdjustTable = readTable(cursor, header.xAdjustTableLength, "x-adjust table");
    file.yAdjustTable = readTable(cursor, header.yAdjustTableLength, "y-adjust table");
    file.advanceTable = readTable(cursor, header.advanceTableLength, "advance table");
    file.shadowMap = readPacked(cursor, header.shadowMapLength, header.shadowMapBpe, "shadow map");
    file.charMap = readPacked(cursor, header.charMapLength, header.charMapBpe, "charmap");
    file.charPointers =
        readPacked(cursor, header.charPointerLength, header.charPointerBpe, "char pointer table");
    const auto glyphData = cursor.rest();

    file.sections.dimensionTable = file.dimensionTable.size() * 8;
    file.sections.xAdjustTable = file.xAdjustTable.size() * 8;
    file.sections.yAdjustTable = file.yAdjustTable.size() * 8;
    file.sections.advanceTable = file.advanceTable.size() * 8;
    file.sections.shadowMap = packedBytes(header.shadowMapLength, header.shadowMapBpe);
    file.sections.charMap = packedBytes(header.charMapLength, header.charMapBpe);
    file.sections.charPointers = packedBytes(header.charPointerLength, header.charPointerBpe);
    file.sections.glyphData = glyphData.size();

    // Each record is decoded once however many pointers share it; every copy still counts
    // against the budget, as it takes memory all the same.
    PixelBudget budget(glyphData.size());
    std::map<std::size_t, DecodedChar> charsByOffset;
    file.glyphs.reserve(file.charPointers.size());
    file.records.reserve(file.charPointers.size());
    for (const std::uint32_t pointer : file.charPointers) {
        const std::size_t offset = std::size_t{pointer} * 4;
        auto known = charsByOffset.find(offset);
        if (known == charsByOffset.end()) {
            known = charsByOffset.emplace(offset, readCharRecord(file, glyphData, offset, budget))
                        .first;
        } else {
            budget.spend(known->second.glyph.image);
        }
        file.glyphs.push_back(known->second.glyph);
        file.records.push_back(known->second.record);
    }
    charsByOffset.clear();
    for (std::size_t i = file.charMap.size(); i-- > 0;) {
        if (file.charMap[i] < file.glyphs.size()) {
            file.glyphs[file.charMap[i]].code = static_cast<char16_t>(header.firstGlyph + i);
        }
    }
    // A glyph's shadow id names a character; the shadow follows that character's glyph record.
    std::map<std::size_t, DecodedShadow> shadowsByOffset;
    for (std::size_t i = 0; i < file.glyphs.size(); ++i) {
        GlyphRecordInfo& record = file.records[i];
        if (record.shadowId >= file.shadowMap.size()) {
            continue;  // no shadow; the glyph is still usable
        }
        const auto owner = file.glyphIndexOf(file.shadowMap[record.shadowId]);
        if (!owner) {
            throw PgfReadError("a shadow belongs to a character the font does not have");
        }
        const GlyphRecordInfo& ownerRecord = file.records[*owner];
        const std::size_t offset = ownerRecord.offset + ownerRecord.recordBytes;
        auto known = shadowsByOffset.find(offset);
        if (known == shadowsByOffset.end()) {
            known =
                shadowsByOffset.emplace(offset, readShadowRecord(glyphData, offset, budget)).first;
        } else {
            budget.spend(known->second.image);
        }
        file.glyphs[i].shadow = known->second.image;
        record.shadowRecordBytes = known->second.recordBytes;
        record.shadowOrder = known->second.order;
    }
    FontSourcesRead sources = readFontSourcesBlock(bytes);
    file.sources = std::move(sources.sources);
    file.sourcesProblem = std::move(sources.problem);
    return file;
}

}  // namespace tessavine::pgf
