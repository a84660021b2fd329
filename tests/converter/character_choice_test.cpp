// Characters beyond the built-in set: chosen sets, fallback fonts, hinting and the format's and
// the PSP's limits, each file read back and compared with FreeType called directly.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "converter/conversion_error.h"
#include "converter/conversion_plan.h"
#include "converter/font_converter.h"
#include "converter/font_face.h"
#include "free_type_reference.h"

#include FT_OUTLINE_H
#include "converter/firmware_budget.h"
#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/named_character_sets.h"
#include "pgf/pgf_reader.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

using test::charactersInFont;
using test::freeTypeGlyph;

const std::filesystem::path kFonts = TESSAVINE_FONTS_DIR;
const std::filesystem::path kMain = kFonts / "Example.ttf";  // DejaVu Sans: has Greek
// TeX Gyre Heros: the 55 basic Greek letters math uses, no accented Greek, no Cyrillic.
const std::filesystem::path kNoGreek = kFonts / "Example2.otf";

std::vector<char32_t> range(char32_t first, char32_t last) {
    std::vector<char32_t> codes;
    for (char32_t c = first; c <= last; ++c) {
        codes.push_back(c);
    }
    return codes;
}

// The Greek and Coptic block's assigned code points, written out as the Unicode chart has them.
std::vector<char32_t> greekBlock() {
    std::vector<char32_t> codes;
    for (char32_t c = 0x370; c <= 0x3FF; ++c) {
        const bool unassigned = c == 0x378 || c == 0x379 || (c >= 0x380 && c <= 0x383) ||
                                c == 0x38B || c == 0x38D || c == 0x3A2;
        if (!unassigned) {
            codes.push_back(c);
        }
    }
    return codes;
}

std::string listOf(const std::vector<char32_t>& codes) {
    std::string list;
    for (const char32_t code : codes) {
        char item[16];
        std::snprintf(item, sizeof item, "%sU+%04X", list.empty() ? "" : ",",
                      static_cast<unsigned>(code));
        list += item;
    }
    return list;
}

ConversionParameters at18(const std::string& sets) {
    ConversionParameters parameters;
    parameters.fontScale = 18;
    parameters.shadowBlur = 2.5;
    parameters.shadowIntensity = 1.2;
    parameters.characterSets = sets;
    return parameters;
}

pgf::PgfFile readBack(const ConversionResult& result) {
    pgf::PgfFile file = pgf::readPgf(result.pgf);
    pgf::expectWellFormed(file, result.pgf.size());
    return file;
}

TEST(GreekConversion, EveryGreekGlyphIsWhatFreeTypeDraws) {
    const ConversionResult result = convertFont(kMain, at18("psp,greek"));
    const pgf::PgfFile file = readBack(result);
    const std::vector<char32_t> greek = charactersInFont(kMain, greekBlock());
    ASSERT_GT(greek.size(), 100u);  // the font has most of Greek
    EXPECT_EQ(file.glyphs.size(), 447 + greek.size());
    for (const char32_t code : greekBlock()) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(code));
        const auto index = file.glyphIndexOf(code);
        const bool inFont = std::binary_search(greek.begin(), greek.end(), code);
        ASSERT_EQ(index.has_value(), inFont);
        if (inFont) {
            EXPECT_EQ(file.glyphs[*index].image, freeTypeGlyph(kMain, 18 * 64, code));
        }
    }
    // Nothing beyond what was asked: the highest code is still the psp set's last.
    EXPECT_EQ(file.header.lastGlyph, 0x2265);
}

// Example2.otf states its cap height in OS/2 (729 of 1000 units); Example.ttf's OS/2 table is
// too old to have one, so the height of its "H" counts (1493 of 2048 units). The fallback's em
// at 18 is 18 x (729 / 1000) / (1493 / 2048) = 17.99990 px, 1152 in 26.6, as the main font's.
TEST(FallbackFont, FillsTheGapsAtTheMainFontsCapHeight) {
    EXPECT_EQ(capHeightUnits(FontFace::open(kNoGreek)), 729);
    EXPECT_EQ(capHeightUnits(FontFace::open(kMain)), 1493);

    ConversionParameters parameters = at18("psp,greek");
    parameters.fallbackFonts = {kMain.string()};
    const ConversionResult result = convertFont(kNoGreek, parameters);
    const pgf::PgfFile file = readBack(result);
    const std::vector<char32_t> fillers = {U'ά', U'έ', U'Ϊ', U'Ж', U'я', U'Н'};
    ASSERT_TRUE(charactersInFont(kNoGreek, fillers).empty());
    for (const char32_t code : fillers) {
        const auto index = file.glyphIndexOf(code);
        ASSERT_TRUE(index.has_value());
        EXPECT_EQ(file.glyphs[*index].image, freeTypeGlyph(kMain, 1152, code));
    }
    // The main font keeps what it has.
    for (const char32_t code : {U'A', U'g', U'é'}) {
        EXPECT_EQ(file.glyphs[*file.glyphIndexOf(code)].image, freeTypeGlyph(kNoGreek, 1152, code));
    }
    // A mixed line looks even: Latin H and Cyrillic En stand equally tall on the baseline.
    const auto& latinH = file.glyphs[*file.glyphIndexOf(U'H')].image;
    const auto& cyrillicEn = file.glyphs[*file.glyphIndexOf(U'Н')].image;
    EXPECT_EQ(latinH.top, cyrillicEn.top);
    EXPECT_EQ(latinH.height, cyrillicEn.height);

    // Which font drew what: what the main font lacks came from the fallback, and nothing else.
    ASSERT_EQ(result.provenance.size(), 2u);
    const auto& fromFallback = result.provenance[1].characters;
    const std::vector<char32_t> greek = greekBlock();
    const std::vector<char32_t> inMain = charactersInFont(kNoGreek, greek);
    for (const char32_t code : charactersInFont(kMain, greek)) {
        EXPECT_EQ(std::binary_search(fromFallback.begin(), fromFallback.end(), code),
                  !std::binary_search(inMain.begin(), inMain.end(), code));
    }
    EXPECT_FALSE(std::binary_search(fromFallback.begin(), fromFallback.end(), U'A'));
    EXPECT_FALSE(std::binary_search(fromFallback.begin(), fromFallback.end(), U'Ω'));
    EXPECT_EQ(result.provenance[0].characters.size() + fromFallback.size(), file.glyphs.size());
}

// Example2.otf with its OS/2 cap height changed to 600 units: now the fallback must shrink to
// match. By hand: 18 px x (600 / 1000) / (1493 / 2048) = 14.8148 px, 948 in 26.6.
TEST(FallbackFont, ShrinksToAShorterMainFontsCapHeight) {
    std::string font;
    {
        std::ifstream in(kNoGreek, std::ios::binary);
        font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto big = [&](std::size_t at) {
        return (static_cast<std::size_t>(static_cast<unsigned char>(font[at])) << 24) |
               (static_cast<std::size_t>(static_cast<unsigned char>(font[at + 1])) << 16) |
               (static_cast<std::size_t>(static_cast<unsigned char>(font[at + 2])) << 8) |
               static_cast<std::size_t>(static_cast<unsigned char>(font[at + 3]));
    };
    const std::size_t tables = (std::size_t{static_cast<unsigned char>(font[4])} << 8) |
                               static_cast<unsigned char>(font[5]);
    std::size_t os2 = 0;
    for (std::size_t t = 0; t < tables; ++t) {
        if (font.compare(12 + 16 * t, 4, "OS/2") == 0) {
            os2 = big(12 + 16 * t + 8);
        }
    }
    ASSERT_NE(os2, 0u);
    font[os2 + 88] = static_cast<char>(600 >> 8);  // sCapHeight, big-endian
    font[os2 + 89] = static_cast<char>(600 & 0xFF);
    const auto shorter = std::filesystem::temp_directory_path() / "tessavine-short-caps.otf";
    std::ofstream(shorter, std::ios::binary) << font;
    EXPECT_EQ(capHeightUnits(FontFace::open(shorter)), 600);

    ConversionParameters parameters = at18("ascii,U+0416,U+044F");
    parameters.fallbackFonts = {kMain.string()};
    const pgf::PgfFile file = readBack(convertFont(shorter, parameters));
    std::filesystem::remove(shorter);
    for (const char32_t code : {U'Ж', U'я'}) {
        EXPECT_EQ(file.glyphs[*file.glyphIndexOf(code)].image, freeTypeGlyph(kMain, 948, code));
        EXPECT_NE(file.glyphs[*file.glyphIndexOf(code)].image, freeTypeGlyph(kMain, 1152, code));
    }
    // Emboldened, the fallback's strokes grow by the main em's 1/24 (1152 / 24 = 48 in 26.6),
    // not its own smaller em's, so both fonts' letters are equally heavy.
    parameters.embolden = true;
    std::ofstream(shorter, std::ios::binary) << font;
    const pgf::PgfFile bold = readBack(convertFont(shorter, parameters));
    std::filesystem::remove(shorter);
    EXPECT_EQ(bold.glyphs[*bold.glyphIndexOf(U'Ж')].image,
              freeTypeGlyph(kMain, 948, U'Ж', FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP,
                            FT_RENDER_MODE_LIGHT, 48));
    // The main font itself is drawn at the font scale, whatever it says its capitals are.
    EXPECT_EQ(file.glyphs[*file.glyphIndexOf(U'H')].image, freeTypeGlyph(kNoGreek, 1152, U'H'));
}

// What --chars and --chars-from choose: always "_" (the PSP draws it for any character a font
// lacks), sorted, each once; and one warning line for characters a 16-bit code cannot hold,
// naming how many, the first and its line.
TEST(ChosenCharacters, AlwaysHoldTheSubstituteAndWarnOfCodesBeyondSixteenBits) {
    struct Case {
        const char* sets;
        const char* text;  // --chars-from's content; nullptr: no file
        std::vector<char32_t> expected;
        const char* warned;   // the warning's words before the file's name; nullptr: none
        const char* warning;  // and after it
    };
    const Case cases[] = {
        {"U+0041", nullptr, {U'A', U'_'}, nullptr, nullptr},
        {"U+005F", nullptr, {U'_'}, nullptr, nullptr},
        {"greek,-greek,U+2192", nullptr, {U'_', U'→'}, nullptr, nullptr},
        {"U+0041", "B_A", {U'A', U'B', U'_'}, nullptr, nullptr},
        {"U+0041",
         "B\n\xF0\x9F\x98\x80",
         {U'A', U'B', U'_'},
         "1 character of ",
         " lies beyond U+FFFF (U+1F600, on line 2), which a PGF font cannot hold; it was left "
         "out"},
        {"U+0041",
         "\xF0\x9F\x8E\xAE\n\xF0\x9F\x98\x80",
         {U'A', U'_'},
         "2 characters of ",
         " lie beyond U+FFFF (the first, U+1F3AE, on line 1), which a PGF font cannot hold; they "
         "were left out"},
    };
    const auto text = std::filesystem::temp_directory_path() / "tessavine-chosen-characters.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sets + std::string(" + ") + (c.text ? c.text : "no file"));
        ConversionParameters parameters = at18(c.sets);
        if (c.text) {
            std::ofstream(text, std::ios::binary) << c.text;
            parameters.charactersFromFile = text.string();
        }
        std::vector<std::string> warnings;
        EXPECT_EQ(chosenCharacters(parameters, warnings), c.expected);
        ASSERT_EQ(warnings.size(), c.warning ? 1u : 0u);
        if (c.warning) {
            EXPECT_EQ(warnings[0], std::string("warning: ") + c.warned + "\"" + text.string() +
                                       "\"" + c.warning);
        }
    }
    std::filesystem::remove(text);
}

// The fallback's em and synthetic style, worked out once for all its glyphs. A face without a
// cap height (no OS/2 sCapHeight, no "H") keeps the main em, whichever side it is on; a bold or
// italic main face as given (the family's own bold, say) makes a plain fallback synthesise the
// style, at the main em's 1/24, while the main face itself is drawn as it is.
TEST(FallbackFont, SizeAndStyleInTheCornerCases) {
    const std::filesystem::path noCaps =
        std::filesystem::path(TESSAVINE_REPRO_DIR) / "giant_A_fits_underscore.ttf";
    ASSERT_EQ(capHeightUnits(FontFace::open(noCaps)), 0);
    struct Case {
        const char* name;
        std::filesystem::path main;
        std::filesystem::path fallback;
        FaceStyle mainStyle;
        bool embolden;
        long fallbackEm;  // 26.6
        bool fallbackBold, fallbackItalic, mainBold, mainItalic;
    };
    const Case cases[] = {
        {"plain", kNoGreek, kMain, {}, false, 1152, false, false, false, false},
        {"main without cap height", noCaps, kMain, {}, false, 1152, false, false, false, false},
        {"fallback without cap height",
         kNoGreek,
         noCaps,
         {},
         false,
         1152,
         false,
         false,
         false,
         false},
        {"bold main face", kNoGreek, kMain, {true, false}, false, 1152, true, false, false, false},
        {"italic main face",
         kNoGreek,
         kMain,
         {false, true},
         false,
         1152,
         false,
         true,
         false,
         false},
        {"emboldened", kNoGreek, kMain, {}, true, 1152, true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConversionParameters parameters = at18("ascii");
        parameters.embolden = c.embolden;
        parameters.fallbackFonts = {c.fallback.string()};
        const ConversionPlan plan = makeConversionPlan(c.main, parameters, c.mainStyle);
        ASSERT_EQ(plan.sizes.size(), 2u);
        EXPECT_EQ(plan.sizes[0].emHeight, 1152);
        EXPECT_EQ(plan.sizes[1].emHeight, c.fallbackEm);
        EXPECT_EQ(plan.sizes[0].embolden, c.mainBold);
        EXPECT_EQ(plan.sizes[0].italicize, c.mainItalic);
        EXPECT_EQ(plan.sizes[1].embolden, c.fallbackBold);
        EXPECT_EQ(plan.sizes[1].italicize, c.fallbackItalic);
        EXPECT_EQ(plan.sizes[1].emboldenStrength, 48);        // 1152 / 24, the main em's
        EXPECT_EQ(plan.sizesAt(24)[1].emboldenStrength, 64);  // 1536 / 24
    }
}

// A fallback keeps the main font's synthetic style: the bold strength is the main em's 1/24.
TEST(FallbackFont, TakesTheSameSyntheticBoldAndSlant) {
    for (const bool bold : {false, true}) {
        ConversionParameters parameters = at18("ascii,U+0416");
        parameters.embolden = bold;
        parameters.italicize = true;
        parameters.fallbackFonts = {kMain.string()};
        const pgf::PgfFile mixed = readBack(convertFont(kNoGreek, parameters));
        parameters.fallbackFonts.clear();
        const pgf::PgfFile alone = readBack(convertFont(kMain, parameters));
        // The same em, so the fallback's Zhe is the one Example.ttf gets when converted alone.
        EXPECT_EQ(mixed.glyphs[*mixed.glyphIndexOf(U'Ж')].image,
                  alone.glyphs[*alone.glyphIndexOf(U'Ж')].image)
            << "bold " << bold;
        EXPECT_EQ(mixed.glyphs[*mixed.glyphIndexOf(U'Ж')].shadow,
                  alone.glyphs[*alone.glyphIndexOf(U'Ж')].shadow);
    }
}

TEST(Hinting, EachModeIsFreeTypesLoadTarget) {
    struct Mode {
        Hinting hinting;
        FT_Int32 flags;
        FT_Render_Mode render;
    };
    const Mode modes[] = {
        {Hinting::None, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP, FT_RENDER_MODE_NORMAL},
        {Hinting::Light, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP, FT_RENDER_MODE_LIGHT},
        {Hinting::Normal, FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP, FT_RENDER_MODE_NORMAL},
    };
    std::vector<pgf::GlyphImage> seen;
    for (const Mode& mode : modes) {
        ConversionParameters parameters = at18("ascii,greek");
        parameters.fontScale = 12;
        parameters.hinting = mode.hinting;
        const pgf::PgfFile file = readBack(convertFont(kMain, parameters));
        for (const char32_t code : {U'a', U'e', U'Ω', U'ß'}) {
            const auto index = file.glyphIndexOf(code);
            if (code == U'ß') {
                EXPECT_FALSE(index.has_value()) << "not asked for";
                continue;
            }
            ASSERT_TRUE(index.has_value());
            EXPECT_EQ(file.glyphs[*index].image,
                      freeTypeGlyph(kMain, 12 * 64, code, mode.flags, mode.render))
                << static_cast<int>(mode.hinting);
        }
        seen.push_back(file.glyphs[*file.glyphIndexOf(U'e')].image);
    }
    EXPECT_NE(seen[0], seen[1]);  // the modes do differ at 12 px
}

// The shadow map: 511 ids at most, however many glyphs.
TEST(FormatLimits, ShadowsAreSharedFromTheFiveHundredTwelfthGlyph) {
    const std::vector<char32_t> candidates = charactersInFont(kMain, range(0x20, 0x4FF));
    ASSERT_GT(candidates.size(), 600u);
    for (const std::size_t count : {511u, 512u}) {
        const std::vector<char32_t> chosen(candidates.begin(),
                                           candidates.begin() + static_cast<long>(count));
        const ConversionResult result = convertFont(kMain, at18(listOf(chosen)));
        const pgf::PgfFile file = readBack(result);
        EXPECT_EQ(file.glyphs.size(), count);
        // Identical shadows share a record (a chosen set is measured against the firmware's
        // budget); the rest keep their own as long as ids last.
        EXPECT_LE(file.header.shadowMapLength, 511);
        EXPECT_GT(file.header.shadowMapLength, 400);
        // Every glyph has a shadow with ink, read back through the shared map.
        for (const pgf::PgfGlyph& glyph : file.glyphs) {
            if (glyph.image.width > 0) {
                EXPECT_GT(glyph.shadow.width, 0) << static_cast<unsigned>(glyph.code);
            }
        }
    }
}

// The charmap reaches to the last 16-bit code a font may hold.
TEST(FormatLimits, TheCharmapReachesUFFFD) {
    const pgf::PgfFile file = readBack(convertFont(kMain, at18("ascii,U+FFFD")));
    EXPECT_EQ(file.header.lastGlyph, 0xFFFD);
    EXPECT_EQ(file.header.charMapLength, 0xFFFD - 0x20 + 1);
    EXPECT_TRUE(file.glyphIndexOf(0xFFFD).has_value());
}

// --within-firmware-size: the refusal names how many characters are too many; that many fewer
// fit, and one more does not.
TEST(FirmwareBudget, RefusesNamingHowManyCharactersOverAndThatManyFewerFit) {
    ConversionParameters parameters = at18("");
    parameters.slot = 8;  // the small sans: 41,000 bytes, which the psp set overshoots
    parameters.withinFirmwareSize = true;
    std::string message;
    try {
        convertFont(kMain, parameters);
        FAIL() << "the psp set at 18 is larger than ltn8.pgf";
    } catch (const ConversionError& error) {
        message = error.what();
    }
    EXPECT_NE(message.find("ltn8.pgf"), std::string::npos) << message;
    EXPECT_NE(message.find("41000 bytes"), std::string::npos) << message;
    const std::size_t over = std::stoul(message.substr(message.find("is ") + 3));
    ASSERT_GT(over, 0u);
    ASSERT_LT(over, 447u);
    const std::vector<char32_t> psp = charactersInFont(kMain, pgf::pspLatinCharacters());
    const std::size_t fitting = psp.size() - over;
    parameters.characterSets = listOf({psp.begin(), psp.begin() + static_cast<long>(fitting)});
    const ConversionResult fits = convertFont(kMain, parameters);
    EXPECT_LE(fits.pgf.size(), 41000u);
    EXPECT_LE(fits.stingyOpenBytes, 16192u);
    parameters.characterSets = listOf({psp.begin(), psp.begin() + static_cast<long>(fitting) + 1});
    try {
        convertFont(kMain, parameters);
        FAIL() << "one character more than fits";
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("is 1 character over"), std::string::npos)
            << error.what();
    }
}

// A small file whose charmap reaches far: within ltn8's 41,000 bytes, but its stingy open needs
// more than the 16,192 the firmware's ltn8 takes. Dropping that one far character is the cure.
TEST(FirmwareBudget, ALongCharmapIsOverTheStingyOpenAlone) {
    ASSERT_EQ(charactersInFont(kMain, {0x4DC0}).size(), 1u);  // a hexagram, far up the charmap
    ConversionParameters parameters = at18("ascii,U+4DC0");
    parameters.slot = 8;
    parameters.withinFirmwareSize = false;
    const ConversionResult written = convertFont(kMain, parameters);
    EXPECT_LT(written.pgf.size(), 41000u);
    EXPECT_GT(written.stingyOpenBytes, 16192u);
    parameters.withinFirmwareSize = true;
    try {
        convertFont(kMain, parameters);
        FAIL() << "over the stingy-open budget";
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("is 1 character over"), std::string::npos)
            << error.what();
    }
}

// The firmware's figures are the largest a file may reach, not one past it: a file exactly as
// large as the firmware's, or needing exactly its stingy open, fits; a byte less room on either
// side does not.
TEST(FirmwareBudget, AFileExactlyAtTheFirmwaresFiguresFitsAndOneByteMoreDoesNot) {
    const ConversionResult written = convertFont(kMain, at18("ascii"));
    const struct {
        long fileRoom, stingyRoom;
        bool fits;
    } rows[] = {{0, 0, true}, {-1, 0, false}, {0, -1, false}, {1, 1, true}};
    for (const auto& row : rows) {
        pgf::FirmwareSlot slot = pgf::firmwareSlot(0);
        slot.fileBytes =
            static_cast<std::size_t>(static_cast<long>(written.pgf.size()) + row.fileRoom);
        slot.stingyOpenBytes =
            static_cast<std::size_t>(static_cast<long>(written.stingyOpenBytes) + row.stingyRoom);
        const std::string line = budgetLine(written, slot);
        EXPECT_EQ(line.find("larger than the firmware's") == std::string::npos, row.fits)
            << row.fileRoom << " " << row.stingyRoom << ": " << line;
    }
}

// jpn0's budget is its own: a charmap reaching U+4DC0 is over ltn0's stingy open (16,680) but
// far within jpn0's 145,844, and the budget line names the file it is measured against.
TEST(FirmwareBudget, TheBigFontIsMeasuredAgainstJpn0) {
    ConversionParameters parameters = at18("ascii,U+4DC0");
    parameters.withinFirmwareSize = true;
    EXPECT_THROW(convertFont(kMain, parameters), ConversionError);
    parameters.slot = pgf::kBigFontSlot;
    const ConversionResult big = convertFont(kMain, parameters);
    EXPECT_GT(big.stingyOpenBytes, 16680u);
    EXPECT_LT(big.stingyOpenBytes, 145844u);
    const std::string line = budgetLine(big, budgetSlot(parameters));
    EXPECT_NE(line.find("the firmware's jpn0.pgf: 145844 and 1581712"), std::string::npos) << line;
    EXPECT_EQ(line.find("ltn"), std::string::npos) << line;
}

// Without --chars the big font holds the set "japanese" and "_"; a latin slot the psp set.
TEST(CharacterChoice, TheBigFontsDefaultIsTheJapaneseSet) {
    std::vector<std::string> warnings;
    ConversionParameters parameters = at18("");
    parameters.slot = pgf::kBigFontSlot;
    const std::vector<char32_t> big = chosenCharacters(parameters, warnings);
    EXPECT_EQ(big, pgf::namedCharacterSet("japanese"));
    EXPECT_EQ(big.size(), 7490u);
    parameters.slot = 0;
    EXPECT_EQ(chosenCharacters(parameters, warnings).size(), 447u);
    EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace tessavine::converter
