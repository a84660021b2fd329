#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "converter/pgf/bit_reader.h"
#include "converter/pgf/bit_writer.h"
#include "converter/pgf/format_limits.h"
#include "converter/pgf/pgf_read_error.h"

namespace tessavine::pgf {
namespace {

struct Field {
    std::uint32_t value;
    int bits;
};

struct PackingCase {
    const char* name;
    std::vector<Field> fields;
    std::vector<std::uint8_t> bytes;
};

class BitPacking : public testing::TestWithParam<PackingCase> {};

TEST_P(BitPacking, WritesFieldsLowBitFirstAndReadsThemBack) {
    BitWriter writer;
    for (const Field& field : GetParam().fields) {
        writer.write(field.value, field.bits);
    }
    EXPECT_EQ(writer.bytes(), GetParam().bytes);

    BitReader reader(GetParam().bytes);
    for (const Field& field : GetParam().fields) {
        EXPECT_EQ(reader.read(field.bits), field.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, BitPacking,
    testing::Values(
        PackingCase{"NibblesLowHalfFirst", {{0x8, 4}, {0xF, 4}, {0x3, 4}}, {0xF8, 0x03}},
        PackingCase{"FieldAcrossBytes", {{1, 3}, {0x1FF, 9}}, {0xF9, 0x0F}},
        PackingCase{"WholeWord", {{0xDEADBEEF, 32}}, {0xEF, 0xBE, 0xAD, 0xDE}},
        // The fixed part of a glyph record: size 18, 3×3 at (0, 3), flags 0x3D, shadow flags
        // (2, 2, 1), shadow id 5.
        PackingCase{
            "GlyphRecordFields",
            {{18, 14}, {3, 7}, {3, 7}, {0, 7}, {3, 7}, {0x3D, 6}, {2, 2}, {2, 2}, {1, 3}, {5, 9}},
            {0x12, 0xC0, 0x60, 0x00, 0x18, 0xF4, 0x9A, 0x02}},
        PackingCase{"NineBitEntries", {{511, 9}, {0, 9}, {300, 9}}, {0xFF, 0x01, 0xB0, 0x04}}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

struct SignedCase {
    std::uint32_t raw;
    std::int32_t value;
};

class SignedField : public testing::TestWithParam<SignedCase> {};

TEST_P(SignedField, SevenBitFieldsAreTwosComplement) {
    BitWriter writer;
    writer.write(GetParam().raw, 7);
    BitReader reader(writer.bytes());
    EXPECT_EQ(reader.readSigned(7), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, SignedField,
                         testing::Values(SignedCase{0x00, 0}, SignedCase{0x3F, 63},
                                         SignedCase{0x40, -64}, SignedCase{0x7F, -1},
                                         SignedCase{0x7C, -4}));

TEST(BitPackingEdges, PaddingFillsZeroBitsToTheNextWord) {
    BitWriter writer;
    writer.write(0x7, 3);
    writer.padTo(32);
    EXPECT_EQ(writer.bytes(), (std::vector<std::uint8_t>{0x07, 0, 0, 0}));
    writer.padTo(32);
    EXPECT_EQ(writer.bitCount(), 32u);
}

TEST(BitPackingEdges, ReadingPastTheEndIsAReadErrorNotAnOverrun) {
    const std::vector<std::uint8_t> bytes{0xFF, 0xFF};
    BitReader reader(bytes, 10);
    EXPECT_EQ(reader.read(6), 0x3Fu);
    EXPECT_THROW(reader.read(1), PgfReadError);
}

TEST(BitPackingEdges, BitLengthIsTheFieldWidthAValueNeeds) {
    EXPECT_EQ(bitLength(0), 1);
    EXPECT_EQ(bitLength(1), 1);
    EXPECT_EQ(bitLength(255), 8);
    EXPECT_EQ(bitLength(256), 9);
    EXPECT_EQ(bitLength(511), 9);
    EXPECT_EQ(bitLength(0xFFFFFFFFu), 32);
}

}  // namespace
}  // namespace tessavine::pgf
