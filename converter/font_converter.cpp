#include "font_converter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "conversion_error.h"
#include "glyph_renderer.h"
#include "line_metrics.h"
#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/font_name.h"
#include "pgf/format_limits.h"
#include "pgf/pgf_writer.h"
#include "pgf/shadow_flags.h"
#include "shadow_maker.h"

namespace tessavine::converter {
namespace {

// Beyond this em size no real font's glyphs stay within 63 pixels above the baseline.
constexpr int kLargestTriedScale = 255;

struct LimitBreak {
    char32_t code;
    std::string problem;
};

std::string describeCharacter(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

// The first character whose glyph the format cannot hold at the renderer's size, if any.
std::optional<LimitBreak> findLimitBreak(const GlyphRenderer& renderer,
                                         const std::vector<char32_t>& characters) {
    for (const char32_t code : characters) {
        try {
            if (const auto glyph = renderer.render(code)) {
                if (auto problem = pgf::findImageLimitBreak(glyph->image)) {
                    return LimitBreak{code, std::move(*problem)};
                }
            }
        } catch (const GlyphTooLarge& tooLarge) {
            return LimitBreak{code, tooLarge.what()};
        }
    }
    return std::nullopt;
}

bool fitsAtScale(const FontFace& face, ConversionParameters parameters, int scale,
                 const std::vector<char32_t>& characters) {
    parameters.fontScale = scale;
    try {
        return !findLimitBreak(GlyphRenderer(face, parameters), characters);
    } catch (const ConversionError&) {
        return false;
    }
}

[[noreturn]] void refuseScale(const FontFace& face, const ConversionParameters& parameters,
                              const std::vector<char32_t>& characters, const std::string& why) {
    // Larger glyphs only grow, so the scales that fit form a range from 1 up.
    int fits = 0;
    int tooLarge = std::min(parameters.fontScale, kLargestTriedScale + 1);
    while (tooLarge - fits > 1) {
        const int middle = fits + (tooLarge - fits) / 2;
        if (fitsAtScale(face, parameters, middle, characters)) {
            fits = middle;
        } else {
            tooLarge = middle;
        }
    }
    const std::string prefix =
        "font scale " + std::to_string(parameters.fontScale) + " is too large for this font" + why;
    if (fits == 0) {
        throw ConversionError(prefix +
                              "; not even font scale 1 fits with this horizontal width, so "
                              "lower the width or choose another font");
    }
    throw ConversionError(prefix + "; the largest font scale that fits is " + std::to_string(fits));
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

pgf::PgfGlyph makeGlyph(char32_t code, RenderedGlyph rendered, const LineMetrics& lines,
                        const ConversionParameters& parameters) {
    pgf::PgfGlyph glyph;
    glyph.code = static_cast<char16_t>(code);
    glyph.image = std::move(rendered.image);
    // The metrics describe the bitmap as stored, so layouts from either agree. In vertical
    // layout the glyph is centred across the pen's line and either hangs from the pen position,
    // as in the firmware's fonts, or is centred in the vertical advance, as FreeType does for
    // fonts without vertical metrics.
    const std::int32_t width = glyph.image.width * 64;
    const std::int32_t height = glyph.image.height * 64;
    const std::int32_t top =
        lines.hangFromPenLine ? lines.topBearing : (lines.verticalAdvance - height) / 2;
    glyph.metrics.dimension = {width, height};
    glyph.metrics.xAdjust = {glyph.image.left * 64, -width / 2};
    glyph.metrics.yAdjust = {glyph.image.top * 64, top};
    glyph.metrics.advance = {rendered.advance, lines.verticalAdvance};
    glyph.shadowFlags = pgf::shadowFlagsFor(code);
    glyph.shadow = makeShadow(glyph.image, parameters.shadowBlur, parameters.shadowIntensity);
    return glyph;
}

// The advance table of a PGF font has at most 255 entries, and every glyph's advance must be in
// it. Real fonts stay far below; a damaged one can give every glyph an advance of its own.
void checkAdvanceCount(const pgf::PgfFont& font, const ConversionParameters& parameters) {
    std::set<pgf::MetricPair> advances;
    for (const pgf::PgfGlyph& glyph : font.glyphs) {
        advances.insert(glyph.metrics.advance);
    }
    if (advances.size() > static_cast<std::size_t>(pgf::kMostTableEntries)) {
        throw ConversionError("at font scale " + std::to_string(parameters.fontScale) +
                              " the font's glyphs have " + std::to_string(advances.size()) +
                              " different advance widths, more than the 255 different advance "
                              "widths a PGF font can hold; the font may be damaged, or try a "
                              "smaller font scale");
    }
}

}  // namespace

ConversionResult convertFont(const std::filesystem::path& fontPath,
                             const ConversionParameters& asked,
                             std::optional<FaceStyle> faceStyle) {
    const FontFace face = FontFace::open(fontPath);
    const FaceStyle style = faceStyle.value_or(styleOf(face));
    const ConversionParameters parameters = withSlotStyle(asked, style);
    const std::vector<char32_t> characters = pgf::pspLatinCharacters();
    if (parameters.fontScale > kLargestTriedScale) {
        refuseScale(face, parameters, characters, "");
    }
    const GlyphRenderer renderer(face, parameters);

    pgf::PgfFont font;
    font.name = pgf::makeStorableFontName(face.get()->family_name ? face.get()->family_name : "");
    font.style =
        parameters.slot ? pgf::firmwareSlot(*parameters.slot).style : styleName(style, parameters);
    font.nominalSize = nominalSize(parameters);
    font.resolution = pgf::kFirmwareResolution;
    const LineMetrics lines =
        chooseLineMetrics(parameters, renderer.ascender(), renderer.descender());
    font.ascender = lines.ascender;
    font.descender = lines.descender;

    ConversionResult result;
    for (const char32_t code : characters) {
        std::optional<RenderedGlyph> rendered;
        try {
            rendered = renderer.render(code);
        } catch (const GlyphTooLarge& tooLarge) {
            refuseScale(face, parameters, characters,
                        ": " + describeCharacter(code) + " " + tooLarge.what());
        }
        if (!rendered) {
            result.missingCharacters.push_back(code);
            continue;
        }
        if (const auto problem = pgf::findImageLimitBreak(rendered->image)) {
            refuseScale(face, parameters, characters,
                        ": " + describeCharacter(code) + " " + *problem);
        }
        font.glyphs.push_back(makeGlyph(code, std::move(*rendered), lines, parameters));
    }
    if (std::find(result.missingCharacters.begin(), result.missingCharacters.end(),
                  pgf::kSubstituteCharacter) != result.missingCharacters.end()) {
        throw ConversionError(
            "the font has no underscore \"_\", which the PSP shows for every missing character; "
            "choose a font that has one");
    }
    result.glyphCount = font.glyphs.size();
    checkAdvanceCount(font, parameters);
    result.pgf = pgf::writePgf(font);
    return result;
}

}  // namespace tessavine::converter
