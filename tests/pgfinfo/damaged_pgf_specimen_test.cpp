// PGF files a fuzzer damaged so that their advances or heights ask pgfinfo's specimen for a
// picture of gigabytes, or for sums of advances no 32-bit number holds: the specimen is refused
// in one line, or drawn within bounds, never with a blown-up canvas or an overflow.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "pgf/pgf_reader.h"
#include "psp_screen/specimen.h"
#include "tests/pgf/file_bytes.h"

namespace tessavine::psp_screen {
namespace {

const std::filesystem::path kFound =
    std::filesystem::path(TESSAVINE_FUZZ_REGRESSIONS_DIR) / "pgf_file";

TEST(DamagedPgfSpecimen, IsRefusedInOneLineOrDrawnWithinBounds) {
    // file, and whether the specimen must be refused
    const std::pair<const char*, bool> cases[] = {
        {"specimen-advance-sum-overflow.pgf", true},
        {"specimen-canvas-of-gigabytes.pgf", true},
        {"specimen-wide-canvas-slow.pgf", true},
        // negative advances carry the pen far to the left: the glyphs there are not drawn
        {"specimen-negative-advance-sum-overflow.pgf", false},
    };
    for (const auto& [name, refused] : cases) {
        SCOPED_TRACE(name);
        const auto bytes = pgf::readWholeFile(kFound / name);
        const pgf::PgfFile font = pgf::readPgf(bytes);
        for (const bool shadows : {false, true}) {
            try {
                const RgbaImage picture = renderSpecimen(font, defaultSpecimenText(), shadows);
                EXPECT_FALSE(refused) << picture.width() << " x " << picture.height();
                EXPECT_LE(picture.width(), 16384);
                EXPECT_LE(picture.height(), 16384);
            } catch (const std::runtime_error& error) {
                const std::string message = error.what();
                EXPECT_TRUE(refused) << message;
                EXPECT_NE(message.find("specimen would be"), std::string::npos) << message;
                EXPECT_EQ(message.find('\n'), std::string::npos) << message;
            }
        }
    }
}

}  // namespace
}  // namespace tessavine::psp_screen
