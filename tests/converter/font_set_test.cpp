// Whole sets: sixteen files in their firmware slots' roles, written all together or not at all.

#include <gtest/gtest.h>

#include <numeric>

#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "converter/font_set_writer.h"
#include "pgf/firmware_slots.h"
#include "pgf/pgf_reader.h"
#include "scratch_folder.h"
#include "tests/pgf/file_bytes.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

using namespace test;
const fs::path kFonts = TESSAVINE_FONTS_DIR;

// The slots as the firmware's fonts are: style, nominal size, line metrics, and the memory a PSP
// allocated to open each one.
struct SlotRow {
    const char* style;
    int size, ascender, descender, verticalAdvance, topBearing;
    std::size_t budget;
};
const SlotRow kSlotTable[16] = {
    {"Regular", 648, 863, -196, 1094, 18, 16680},
    {"Regular", 648, 863, -196, 1094, 18, 16920},
    {"Italic", 648, 863, -196, 1094, 18, 16872},
    {"Italic", 648, 863, -196, 1094, 18, 17112},
    {"Bold", 648, 863, -196, 1094, 18, 16648},
    {"Bold", 648, 863, -196, 1094, 18, 16928},
    {"Bold Italic", 648, 863, -196, 1094, 18, 16792},
    {"Bold Italic", 648, 863, -196, 1094, 18, 17160},
    {"Regular", 448, 576, -131, 730, 12, 16192},
    {"Regular", 448, 576, -131, 730, 12, 16476},
    {"Italic", 448, 576, -131, 730, 12, 16300},
    {"Italic", 448, 576, -131, 730, 12, 16656},
    {"Bold", 448, 576, -131, 730, 12, 16176},
    {"Bold", 448, 576, -131, 730, 12, 16436},
    {"Bold Italic", 448, 576, -131, 730, 12, 16272},
    {"Bold Italic", 448, 576, -131, 730, 12, 16704},
};

// What the PSP reads to open a font: the four metric tables and the three packed arrays, each
// array padded to whole 32-bit words, worked out from the header's counts.
std::size_t openingBytes(const pgf::PgfHeader& h) {
    const auto packed = [](std::int32_t count, std::int32_t bits) {
        return static_cast<std::size_t>((count * bits + 31) / 32 * 4);
    };
    const int entries =
        h.dimTableLength + h.xAdjustTableLength + h.yAdjustTableLength + h.advanceTableLength;
    return static_cast<std::size_t>(8 * entries) + packed(h.shadowMapLength, 16) +
           packed(h.charMapLength, h.charMapBpe) + packed(h.charPointerLength, h.charPointerBpe);
}

TEST(FontSet, SixteenFilesStandInForTheirSlots) {
    ScratchFolder folder;
    const fs::path set = folder.path() / "psp";  // made by the writer
    // The CFF font serves as the family's bold: it takes the bold slots, and bold italic too,
    // slanted, since no italic face is given.
    const FontFamily family{kFonts / "Example.ttf", kFonts / "Example2.otf", {}, {}};
    const FontSetResult result = writeFontSet(set, family, {18, 1.0, false, false, 2.5, 1.2});
    EXPECT_EQ(result.mostMissingCharacters, 102u);
    ASSERT_EQ(snapshot(set).size(), 16u) << "exactly ltn0.pgf to ltn15.pgf, no temporary file";

    std::vector<pgf::PgfGlyph> letterH;
    for (int n = 0; n < 16; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        const SlotRow& row = kSlotTable[n];
        const auto bytes = pgf::readWholeFile(set / ("ltn" + std::to_string(n) + ".pgf"));
        const pgf::PgfFile file = pgf::readPgf(bytes);
        pgf::expectWellFormed(file, bytes.size());
        const pgf::PgfHeader& h = file.header;
        EXPECT_EQ(h.fontType, row.style);
        EXPECT_EQ(h.hSize, row.size);
        EXPECT_EQ(h.maxAscender, row.ascender);
        EXPECT_EQ(h.maxDescender, row.descender);
        EXPECT_EQ(h.maxAdvanceV, row.verticalAdvance);
        EXPECT_EQ(h.maxTopYAdjust, row.topBearing);
        const bool bold = (n / 4) % 2 == 1;
        EXPECT_EQ(h.fontName, bold ? "TeX Gyre Heros" : "DejaVu Sans");
        EXPECT_EQ(pgf::stingyOpenBytes(file.sections), openingBytes(h));
        EXPECT_LE(openingBytes(h), row.budget);
        EXPECT_EQ(pgf::firmwareSlot(n).stingyOpenBytes, row.budget);
        letterH.push_back(file.glyphs.at(file.glyphIndexOf(U'H').value()));
    }
    // What the face lacks is synthesised, nothing more: the bold face is drawn as it is for the
    // bold slots; the regular face is slanted for the italic slots and the bold face for bold
    // italic, but not emboldened again.
    const auto plain = pgf::readPgf(convertFont(kFonts / "Example2.otf", {18}).pgf);
    EXPECT_EQ(letterH[4].image, plain.glyphs.at(plain.glyphIndexOf(U'H').value()).image);
    const auto ink = [](const pgf::PgfGlyph& glyph) {
        return std::accumulate(glyph.image.pixels.begin(), glyph.image.pixels.end(), 0);
    };
    for (const auto& [upright, slanted] :
         {std::pair<std::size_t, std::size_t>{0, 2}, {8, 10}, {4, 6}, {12, 14}}) {
        SCOPED_TRACE(std::to_string(upright) + " and " + std::to_string(slanted));
        EXPECT_GT(letterH[slanted].image.width, letterH[upright].image.width);
        EXPECT_NEAR(ink(letterH[slanted]), ink(letterH[upright]), ink(letterH[upright]) / 10);
    }
}

TEST(FontSet, ASlotsStyleIsSynthesisedFromARegularFace) {
    const auto letterH = [](int slot) {
        ConversionParameters parameters{18};
        parameters.slot = slot;
        const auto result = convertFont(kFonts / "Example.ttf", parameters);
        const pgf::PgfFile file = pgf::readPgf(result.pgf);
        const auto& image = file.glyphs.at(file.glyphIndexOf(U'H').value()).image;
        return std::pair{image.width, std::accumulate(image.pixels.begin(), image.pixels.end(), 0)};
    };
    const auto regular = letterH(0), bold = letterH(4), italic = letterH(2);
    EXPECT_GT(bold.second, regular.second * 6 / 5);
    EXPECT_GT(italic.first, regular.first);
}

// With a bold and an italic face but no bold italic one, the bold italic slots take the italic
// face emboldened (its letterforms kept) rather than the bold face slanted.
TEST(FontSet, BoldItalicSlotsPreferTheItalicFaceToASlantedBold) {
    ScratchFolder folder;
    const fs::path set = folder.path() / "psp";
    const FontFamily family{
        kFonts / "Example.ttf", kFonts / "Example.ttf", kFonts / "Example2.otf", {}};
    writeFontSet(set, family, {18, 1.0, false, false, 2.5, 1.2});
    for (int n = 0; n < 16; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        const auto bytes = pgf::readWholeFile(set / ("ltn" + std::to_string(n) + ".pgf"));
        const bool italic = (n / 2) % 2 == 1;
        EXPECT_EQ(pgf::readPgf(bytes).header.fontName, italic ? "TeX Gyre Heros" : "DejaVu Sans");
    }
}

struct FailingSet {
    const char* name;
    FontFamily family;
    const char* folderInTheWay;  // inside the set's folder; empty: none
    const char* mentions;
};

class FontSetFailure : public testing::TestWithParam<FailingSet> {};

// The old set stays as it was, byte for byte, and nothing is added.
TEST_P(FontSetFailure, LeavesTheFolderAsItWasAndNamesTheSlot) {
    ScratchFolder folder;
    for (int n = 0; n < 16; ++n) {
        std::ofstream(folder.path() / ("ltn" + std::to_string(n) + ".pgf")) << "old " << n;
    }
    std::ofstream(folder.path() / "notes.ttf") << "This is not a font.\n";
    if (*GetParam().folderInTheWay) {
        fs::remove(folder.path() / GetParam().folderInTheWay);
        fs::create_directories(folder.path() / GetParam().folderInTheWay / "inside");
    }
    const auto before = snapshot(folder.path());
    FontFamily family = GetParam().family;
    for (fs::path* face : {&family.regular, &family.bold, &family.italic, &family.boldItalic}) {
        if (!face->empty() && face->is_relative()) {
            *face = folder.path() / *face;
        }
    }
    try {
        writeFontSet(folder.path(), family, {18});
        ADD_FAILURE() << "the set was written";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(GetParam().mentions), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    EXPECT_EQ(snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Sets, FontSetFailure,
                         testing::Values(
                             // A folder where the fifteenth file goes: found before any
                             // file is written.
                             FailingSet{"FolderWhereTheFifteenthGoes",
                                        {kFonts / "Example.ttf", {}, {}, {}},
                                        "ltn14.pgf",
                                        "A folder named ltn14.pgf stands where that font must go"},
                             FailingSet{"BoldFaceIsNoFont",
                                        {kFonts / "Example.ttf", "notes.ttf", {}, {}},
                                        "",
                                        "slot 4 (ltn4.pgf, Bold): "}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

}  // namespace
}  // namespace tessavine::converter
