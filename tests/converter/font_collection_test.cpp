// Faces of a collection: a .ttc put together here from the two example fonts, each face picked
// by index and by name compared with the standalone font it was made from, and the refusals.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "converter/command_line.h"
#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "converter/font_face.h"
#include "scratch_folder.h"

namespace tessavine::converter {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

void putBigEndian32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A TrueType collection as the OpenType format lays one out: the "ttcf" header with one offset
// per font, then each font whole, its table offsets moved to count from the file's start.
Bytes collectionOf(const std::vector<Bytes>& fonts) {
    const std::size_t headerSize = 12 + 4 * fonts.size();
    Bytes file(headerSize, 0);
    file[0] = 't', file[1] = 't', file[2] = 'c', file[3] = 'f';
    putBigEndian32(file, 4, 0x00010000);
    putBigEndian32(file, 8, static_cast<std::uint32_t>(fonts.size()));
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        file.resize((file.size() + 3) / 4 * 4, 0);
        const auto base = static_cast<std::uint32_t>(file.size());
        putBigEndian32(file, 12 + 4 * f, base);
        Bytes font = fonts[f];
        const std::size_t tables = std::size_t{font[4]} << 8 | font[5];
        for (std::size_t t = 0; t < tables; ++t) {
            const std::size_t record = 12 + 16 * t + 8;
            putBigEndian32(font, record, bigEndian32(font, record) + base);
        }
        file.insert(file.end(), font.begin(), font.end());
    }
    return file;
}

class FontCollection : public testing::Test {
  protected:
    void SetUp() override {
        collection_ = scratch_.path() / "Pair.ttc";
        const Bytes ttc = collectionOf({readBytes(scratch_.path() / "Example.ttf"),
                                        readBytes(scratch_.path() / "Example2.otf")});
        std::ofstream(collection_, std::ios::binary)
            .write(reinterpret_cast<const char*>(ttc.data()), static_cast<long>(ttc.size()));
    }

    Bytes converted(const std::filesystem::path& font, const std::string& face) const {
        ConversionParameters parameters;
        parameters.characterSets = "ascii";
        parameters.face = face;
        return convertFont(font, parameters).pgf;
    }

    test::ScratchFolder scratch_;
    std::filesystem::path collection_;
};

TEST_F(FontCollection, EachFaceByIndexOrNameIsTheFontItCameFrom) {
    const Bytes sans = converted(scratch_.path() / "Example.ttf", "");
    const Bytes heros = converted(scratch_.path() / "Example2.otf", "");
    ASSERT_NE(sans, heros);
    const struct {
        const char* face;
        const Bytes* expected;
    } cases[] = {
        {"", &sans},
        {"0", &sans},
        {"1", &heros},
        {"TeX Gyre Heros", &heros},
        {"tex gyre heros regular", &heros},
        {"TeXGyreHeros-Regular", &heros},
        {"DejaVu Sans", &sans},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_TRUE(converted(collection_, c.face) == *c.expected);
    }
}

TEST_F(FontCollection, AFaceNotThereIsRefusedNamingTheFaces) {
    for (const char* face : {"2", "-1", "1x", "Heros", "Example"}) {
        SCOPED_TRACE(face);
        try {
            converted(collection_, face);
            ADD_FAILURE() << "accepted a face the collection lacks";
        } catch (const ConversionError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("has no face \"" + std::string(face) + "\""), std::string::npos)
                << message;
            EXPECT_NE(message.find("0: DejaVu Sans Book (DejaVuSans)"), std::string::npos)
                << message;
            EXPECT_NE(message.find("1: TeX Gyre Heros Regular (TeXGyreHeros-Regular)"),
                      std::string::npos)
                << message;
        }
    }
    // A single font has one face: index 0 or its name, nothing else.
    EXPECT_THROW(converted(scratch_.path() / "Example.ttf", "1"), ConversionError);
}

TEST_F(FontCollection, TheProgramListsTheFacesAndConvertsOne) {
    const test::RunOutcome listed = scratch_.run(TTF2PGF_PATH, {"--faces", "Pair.ttc"});
    ASSERT_TRUE(listed.succeeded) << listed.err;
    EXPECT_EQ(listed.out,
              "0: DejaVu Sans Book (DejaVuSans)\n1: TeX Gyre Heros Regular "
              "(TeXGyreHeros-Regular)\n");
    const test::RunOutcome made = scratch_.run(
        TTF2PGF_PATH, {"Pair.ttc", "o.pgf", "18h1", "b1i1", "--face", "TeX Gyre Heros"});
    ASSERT_TRUE(made.succeeded) << made.err;
    const test::RunOutcome plain =
        scratch_.run(TTF2PGF_PATH, {"Example2.otf", "p.pgf", "18h1", "b1i1"});
    ASSERT_TRUE(plain.succeeded) << plain.err;
    EXPECT_TRUE(readBytes(scratch_.path() / "o.pgf") == readBytes(scratch_.path() / "p.pgf"));
    EXPECT_NE(usageText().find("--faces FONT"), std::string::npos);
}

}  // namespace
}  // namespace tessavine::converter
