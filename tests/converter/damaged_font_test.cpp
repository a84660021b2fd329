// Fonts damaged in ways a fuzzer found: the conversion ends with a message the user can act on,
// never with an internal error.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "converter/font_face.h"
#include "pgf/character_set.h"
#include "pgf/pgf_reader.h"
#include "scratch_folder.h"

namespace tessavine::converter {
namespace {

using namespace test;

std::uint32_t big(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// Where a table of the font starts, from the table directory of a TrueType file.
std::size_t tableOffset(const std::string& font, const std::string& tag) {
    for (std::size_t record = 12; record < 12 + 16 * big(font, 4, 2); record += 16) {
        if (font.substr(record, 4) == tag) {
            return big(font, record + 8, 4);
        }
    }
    ADD_FAILURE() << "no " << tag << " table";
    return 0;
}

std::string hex(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(code));
    return text;
}

TEST(DamagedFont, MoreDifferentAdvancesThanTheFormatHoldsIsTheUsersErrorNotAnInternalOne) {
    // The bundled OpenType font with its advance widths spread out: glyph n advances 60 n font
    // units (1,000 to the em), so at scale 18 (about 56 units to the pixel) each of its 345 PSP
    // latin characters gets an advance of its own, more than the 255 a PGF font can hold.
    const ScratchFolder folder;
    const fs::path damaged = folder.path() / "Damaged.otf";
    std::string font = readText(folder.path() / "Example2.otf");
    ASSERT_EQ(big(font, tableOffset(font, "head") + 18, 2), 1000u);
    const std::size_t metrics = big(font, tableOffset(font, "hhea") + 34, 2);
    ASSERT_LT(60 * metrics, 65536);
    const std::size_t hmtx = tableOffset(font, "hmtx");
    for (std::size_t glyph = 0; glyph < metrics; ++glyph) {
        font[hmtx + 4 * glyph] = static_cast<char>((60 * glyph) >> 8);
        font[hmtx + 4 * glyph + 1] = static_cast<char>((60 * glyph) & 0xFF);
    }
    std::ofstream(damaged, std::ios::binary) << font;
    ConversionParameters parameters;
    parameters.fontScale = 18;
    try {
        convertFont(damaged, parameters);
        FAIL() << "converted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("255 different advance widths"), std::string::npos) << message;
        EXPECT_NE(message.find("font scale"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        // The largest set that fits converts, with a full advance table; one more does not.
        const std::size_t at = message.find("ends before U+");
        ASSERT_NE(at, std::string::npos) << message;
        const auto firstOver = std::stoul(message.substr(at + 14, 4), nullptr, 16);
        const std::vector<char32_t> psp = pgf::pspLatinCharacters();
        std::string fits = "U+0020";
        for (const char32_t code : psp) {
            if (code > 0x20 && code < firstOver) {
                fits += ",U+" + hex(code);
            }
        }
        parameters.characterSets = fits;
        const pgf::PgfFile file = pgf::readPgf(convertFont(damaged, parameters).pgf);
        EXPECT_EQ(file.advanceTable.size(), 255u);
        parameters.characterSets = fits + ",U+" + hex(static_cast<char32_t>(firstOver));
        EXPECT_THROW(convertFont(damaged, parameters), ConversionError);
        parameters.characterSets.clear();
    }
    // Undamaged, the same font converts.
    EXPECT_EQ(convertFont(folder.path() / "Example2.otf", parameters).glyphCount, 345u);
}

// A font is refused unread only past 256 MiB (CJK collections reach 128 MB), a bound of its own:
// not the 16 MiB a PGF font may have. The padding is a sparse file's zeros, which FreeType
// ignores after the tables.
TEST(DamagedFont, TheFontSizeBoundIsTwoHundredFiftySixMebibytes) {
    ScratchFolder folder;
    const fs::path font = folder.path() / "padded.ttf";
    const std::uintmax_t mebibyte = 1024 * 1024;
    struct Case {
        std::uintmax_t bytes;
        bool opens;
    };
    // (Exactly 256 MiB would be read whole: too slow for a unit test.)
    for (const Case c : {Case{16 * mebibyte + 1, true}, Case{256 * mebibyte + 1, false}}) {
        SCOPED_TRACE(c.bytes);
        fs::copy_file(fs::path(TESSAVINE_FONTS_DIR) / "Example.ttf", font,
                      fs::copy_options::overwrite_existing);
        std::error_code error;
        fs::resize_file(font, c.bytes, error);
        if (error) {
            GTEST_SKIP() << "this file system cannot hold a sparse file: " << error.message();
        }
        try {
            FontFace::open(font);
            EXPECT_TRUE(c.opens);
        } catch (const ConversionError& refusal) {
            EXPECT_FALSE(c.opens) << refusal.what();
            EXPECT_NE(std::string(refusal.what())
                          .find("is 268435457 bytes long, more than the 268435456 bytes of the "
                                "largest font this converter reads; choose another font"),
                      std::string::npos)
                << refusal.what();
        }
    }
}

}  // namespace
}  // namespace tessavine::converter
