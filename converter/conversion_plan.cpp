#include "conversion_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <variant>

#include FT_TRUETYPE_TABLES_H
#include FT_OUTLINE_H

#include "conversion_error.h"
#include "core/file_platform.h"
#include "core/input_limits.h"
#include "pgf/character_list.h"
#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/font_name.h"
#include "pgf/slot_characters.h"
#include "pgf/text_characters.h"

namespace tessavine::converter {
namespace {

// A character list larger than this is no translation's text; reading it would only cost memory.
constexpr std::uintmax_t kLargestCharacterFile = 64u << 20;
// A fallback drawn at less than half or more than twice the main em is no match but a font
// whose cap height is stated wrongly; such a ratio is kept within these bounds.
constexpr double kSmallestEmRatio = 0.5;
constexpr double kLargestEmRatio = 2.0;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string codeText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

FaceStyle styleOf(const FontFace& face) {
    return {(face.get()->style_flags & FT_STYLE_FLAG_BOLD) != 0,
            (face.get()->style_flags & FT_STYLE_FLAG_ITALIC) != 0};
}

std::string styleName(FaceStyle face, const ConversionParameters& parameters) {
    const bool bold = parameters.embolden || face.bold;
    const bool italic = parameters.italicize || face.italic;
    if (bold && italic) {
        return "Bold Italic";
    }
    return bold ? "Bold" : italic ? "Italic" : "Regular";
}

// For a slot, the synthetic styles that make the face into the slot's style.
ConversionParameters withSlotStyle(ConversionParameters parameters, FaceStyle face) {
    if (parameters.slot) {
        const pgf::FirmwareSlot& slot = pgf::firmwareSlot(*parameters.slot);
        parameters.embolden = parameters.embolden || (slot.bold && !face.bold);
        parameters.italicize = parameters.italicize || (slot.italic && !face.italic);
    }
    return parameters;
}

std::vector<std::uint8_t> readCharacterFile(const std::string& name) {
    const std::filesystem::path path = platform::pathFromUtf8(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw ConversionError("the character list " + quoted(name) +
                              " is not a file; name a UTF-8 text file with --chars-from");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestCharacterFile) {
        throw ConversionError("the character list " + quoted(name) +
                              " is larger than 64 MB; give the text of the translation only");
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) {
        throw ConversionError("cannot read the character list " + quoted(name) +
                              "; check that you may read it");
    }
    return bytes;
}

double emRatioOf(const FontFace& main, long mainCap, const FontFace& fallback) {
    const long fallbackCap = capHeightUnits(fallback);
    if (mainCap <= 0 || fallbackCap <= 0) {
        return 1.0;
    }
    const double ratio = (static_cast<double>(mainCap) / main.get()->units_per_EM) /
                         (static_cast<double>(fallbackCap) / fallback.get()->units_per_EM);
    return std::clamp(ratio, kSmallestEmRatio, kLargestEmRatio);
}

}  // namespace

long capHeightUnits(const FontFace& face) {
    FT_Face ft = face.get();
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->version >= 2 && os2->sCapHeight > 0) {
        return os2->sCapHeight;
    }
    const FT_UInt h = FT_Get_Char_Index(ft, U'H');
    if (h == 0 || FT_Load_Glyph(ft, h, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
        ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return 0;
    }
    FT_BBox box;
    FT_Outline_Get_CBox(&ft->glyph->outline, &box);
    return std::max<long>(0, box.yMax);
}

std::vector<char32_t> chosenCharacters(const ConversionParameters& parameters,
                                       std::vector<std::string>& warnings) {
    std::vector<char32_t> characters;
    if (parameters.characterSets.empty()) {
        // Without a slot the font is a latin one, as slot 0.
        characters = pgf::slotCharacters(parameters.slot.value_or(0)).codes;
    } else {
        auto parsed = pgf::parseCharacterList(parameters.characterSets);
        if (const auto* error = std::get_if<pgf::CharacterSetError>(&parsed)) {
            throw ConversionError(error->message);
        }
        characters = std::get<std::vector<char32_t>>(std::move(parsed));
    }
    if (!parameters.charactersFromFile.empty()) {
        const std::string& name = parameters.charactersFromFile;
        const auto read = pgf::readTextCharacters(readCharacterFile(name));
        if (const auto* error = std::get_if<pgf::TextError>(&read)) {
            throw ConversionError("the character list " + quoted(name) + " " + error->message +
                                  "; save it as UTF-8");
        }
        const auto& text = std::get<pgf::TextCharacters>(read);
        if (text.beyondSixteenBits > 0) {
            const bool one = text.beyondSixteenBits == 1;
            warnings.push_back("warning: " + std::to_string(text.beyondSixteenBits) +
                               (one ? " character of " : " characters of ") + quoted(name) +
                               (one ? " lies beyond U+FFFF (" : " lie beyond U+FFFF (the first, ") +
                               codeText(text.firstBeyond) + ", on line " +
                               std::to_string(text.firstBeyondLine) +
                               (one ? "), which a PGF font cannot hold; it was left out"
                                    : "), which a PGF font cannot hold; they were left out"));
        }
        characters.insert(characters.end(), text.characters.begin(), text.characters.end());
    }
    // The PSP draws "_" for every character a font lacks, so every font needs it.
    characters.push_back(pgf::kSubstituteCharacter);
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

std::vector<FaceSize> ConversionPlan::sizesAt(int fontScale) const {
    ConversionParameters scaled = parameters;
    scaled.fontScale = fontScale;
    const double em = emPixels(scaled);
    std::vector<FaceSize> result;
    for (const PlannedFace& face : faces) {
        FaceSize size;
        size.emHeight = std::llround(em * face.emRatio * 64);
        size.emWidth = std::llround(em * face.emRatio * parameters.horizontalWidth * 64);
        // The main face is synthesised as asked; a fallback as far as it lacks the wanted style.
        const bool main = &face == &faces.front();
        size.embolden = main ? parameters.embolden : wanted.bold && !face.style.bold;
        size.italicize = main ? parameters.italicize : wanted.italic && !face.style.italic;
        size.hinting = parameters.hinting;
        size.bitmaps = parameters.bitmaps;
        size.fontScale = fontScale;
        if (!main) {
            // A fallback's strokes grow as much as the main font's, so they look as heavy.
            size.emboldenStrength = std::llround(em * 64) / 24;
        }
        result.push_back(size);
    }
    return result;
}

std::vector<char32_t> ConversionPlan::missingCharacters() const {
    std::vector<char32_t> missing;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (!faceOf[i]) {
            missing.push_back(characters[i]);
        }
    }
    return missing;
}

ConversionPlan makeConversionPlan(const std::filesystem::path& fontPath,
                                  const ConversionParameters& asked,
                                  std::optional<FaceStyle> faceStyle) {
    ConversionPlan plan;
    plan.faces.push_back(
        {fontPath, FontFace::open(fontPath, asked.face, kLargestFontBytesTogether), 1.0, {}});
    std::size_t bytesOpen = plan.faces.front().face.bytes();
    // The main face is looked up afresh each time: the fallbacks joining may move it.
    const auto main = [&plan]() -> const FontFace& { return plan.faces.front().face; };
    const FaceStyle style = faceStyle.value_or(styleOf(main()));
    plan.faces.front().style = style;
    plan.parameters = withSlotStyle(asked, style);
    plan.wanted = {plan.parameters.embolden || style.bold,
                   plan.parameters.italicize || style.italic};
    const long mainCap = asked.fallbackFonts.empty() ? 0 : capHeightUnits(main());
    for (const std::string& name : asked.fallbackFonts) {
        const std::filesystem::path path = platform::pathFromUtf8(name);
        FontFace fallback = FontFace::open(path, {}, kLargestFontBytesTogether - bytesOpen);
        bytesOpen += fallback.bytes();
        const double ratio = emRatioOf(main(), mainCap, fallback);
        const FaceStyle fallbackStyle = styleOf(fallback);
        plan.faces.push_back({path, std::move(fallback), ratio, fallbackStyle});
    }
    plan.sizes = plan.sizesAt(plan.parameters.fontScale);
    plan.characters = chosenCharacters(plan.parameters, plan.warnings);
    for (const char32_t code : plan.characters) {
        std::optional<std::size_t> serving;
        for (std::size_t f = 0; f < plan.faces.size() && !serving; ++f) {
            if (FT_Get_Char_Index(plan.faces[f].face.get(), code) != 0) {
                serving = f;
            }
        }
        plan.faceOf.push_back(serving);
    }

    FT_Face ft = main().get();
    plan.fontName = pgf::makeStorableFontName(ft->family_name ? ft->family_name : "");
    plan.styleName = plan.parameters.slot ? pgf::firmwareSlot(*plan.parameters.slot).style
                                          : styleName(style, plan.parameters);
    plan.nominalSize = nominalSize(plan.parameters);
    // The font's own ascent and descent at the size drawn. A size FreeType refuses is reported
    // by the conversion, after a scale too large for the format, as before plans existed.
    std::int32_t ascender = 0;
    std::int32_t descender = 0;
    try {
        const GlyphRenderer renderer(main(), plan.sizes.front());
        ascender = renderer.ascender();
        descender = renderer.descender();
    } catch (const ConversionError&) {
    }
    plan.lines = chooseLineMetrics(plan.parameters, ascender, descender);
    return plan;
}

}  // namespace tessavine::converter
