// Fonts damaged in ways a fuzzer found: the conversion ends with a message the user can act on,
// never with an internal error.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "converter/conversion_error.h"
#include "converter/font_converter.h"

namespace tessavine::converter {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t big32(const Bytes& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
std::uint16_t big16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

// Where a table of the font starts, from the table directory of a TrueType file.
std::size_t tableOffset(const Bytes& font, const std::string& tag) {
    const std::uint16_t tables = big16(font, 4);
    for (std::size_t record = 12; record < 12 + 16u * tables; record += 16) {
        if (std::string(font.begin() + static_cast<std::ptrdiff_t>(record),
                        font.begin() + static_cast<std::ptrdiff_t>(record + 4)) == tag) {
            return big32(font, record + 8);
        }
    }
    ADD_FAILURE() << "no " << tag << " table";
    return 0;
}

struct TempFile {
    explicit TempFile(const Bytes& bytes) {
        std::random_device random;
        path =
            fs::temp_directory_path() / ("tessavine-damaged-" + std::to_string(random()) + ".ttf");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    fs::path path;
};

TEST(DamagedFont, MoreDifferentAdvancesThanTheFormatHoldsIsTheUsersErrorNotAnInternalOne) {
    // The bundled OpenType font with its advance widths spread out: glyph n advances 60 n font
    // units (1,000 to the em), so at scale 18 (about 56 units to the pixel) each of its 345 PSP
    // latin characters gets an advance of its own, more than the 255 a PGF font can hold.
    Bytes font = readBytes(fs::path(TESSAVINE_FONTS_DIR) / "Example2.otf");
    ASSERT_EQ(big16(font, tableOffset(font, "head") + 18), 1000);
    const std::uint16_t metrics = big16(font, tableOffset(font, "hhea") + 34);
    ASSERT_LT(60 * metrics, 65536);
    const std::size_t hmtx = tableOffset(font, "hmtx");
    for (std::size_t glyph = 0; glyph < metrics; ++glyph) {
        font[hmtx + 4 * glyph] = static_cast<std::uint8_t>((60 * glyph) >> 8);
        font[hmtx + 4 * glyph + 1] = static_cast<std::uint8_t>((60 * glyph) & 0xFF);
    }
    const TempFile damaged(font);
    ConversionParameters parameters;
    parameters.fontScale = 18;
    try {
        convertFont(damaged.path, parameters);
        FAIL() << "converted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("255 different advance widths"), std::string::npos) << message;
        EXPECT_NE(message.find("font scale"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    // Undamaged, the same font converts.
    EXPECT_EQ(convertFont(fs::path(TESSAVINE_FONTS_DIR) / "Example2.otf", parameters).glyphCount,
              345u);
}

}  // namespace
}  // namespace tessavine::converter
