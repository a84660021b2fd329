#include "font_converter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "background_stage.h"
#include "conversion_error.h"
#include "firmware_budget.h"
#include "glyph_renderer.h"
#include "line_metrics.h"
#include "pgf/bitmap_encoding.h"
#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/format_limits.h"
#include "pgf/named_character_sets.h"
#include "pgf/pgf_header.h"
#include "pgf/pgf_writer.h"
#include "pgf/shadow_flags.h"
#include "shadow_maker.h"

namespace tessavine::converter {
namespace {

// Beyond this em size no real font's glyphs stay within 63 pixels above the baseline.
constexpr int kLargestTriedScale = 255;

// From this many characters on, the glyphs are finished on a second thread while FreeType draws
// the next ones; below, starting the thread would cost more than it saves.
constexpr std::size_t kThreadedFrom = 256;

struct LimitBreak {
    char32_t code;
    std::string problem;
};

std::string describeCharacter(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::vector<GlyphRenderer> renderersFor(const ConversionPlan& plan,
                                        const std::vector<FaceSize>& sizes) {
    std::vector<GlyphRenderer> renderers;
    for (std::size_t f = 0; f < plan.faces.size(); ++f) {
        renderers.emplace_back(plan.faces[f].face, sizes[f]);
    }
    return renderers;
}

// The first character whose glyph the format cannot hold at the renderers' size, if any.
std::optional<LimitBreak> findLimitBreak(const ConversionPlan& plan,
                                         const std::vector<GlyphRenderer>& renderers) {
    for (std::size_t i = 0; i < plan.characters.size(); ++i) {
        if (!plan.faceOf[i]) {
            continue;
        }
        const char32_t code = plan.characters[i];
        try {
            if (const auto glyph = renderers[*plan.faceOf[i]].render(code)) {
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

bool fitsAtScale(const ConversionPlan& plan, int scale) {
    try {
        return !findLimitBreak(plan, renderersFor(plan, plan.sizesAt(scale)));
    } catch (const ConversionError&) {
        return false;
    }
}

[[noreturn]] void refuseScale(const ConversionPlan& plan, const std::string& why) {
    // Larger glyphs only grow, so the scales that fit form a range from 1 up.
    const int asked = plan.parameters.fontScale;
    int fits = 0;
    int tooLarge = std::min(asked, kLargestTriedScale + 1);
    while (tooLarge - fits > 1) {
        const int middle = fits + (tooLarge - fits) / 2;
        if (fitsAtScale(plan, middle)) {
            fits = middle;
        } else {
            tooLarge = middle;
        }
    }
    const std::string prefix =
        "font scale " + std::to_string(asked) + " is too large for this font" + why;
    if (fits == 0) {
        throw ConversionError(prefix +
                              "; not even font scale 1 fits with this horizontal width, so "
                              "lower the width or choose another font");
    }
    throw ConversionError(prefix + "; the largest font scale that fits is " + std::to_string(fits));
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

// A glyph too large for the format at the asked scale, found while finishing it; the caller
// names the largest scale that fits, which takes FreeType. The message is what refuseScale adds.
class TooLargeAtThisScale : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A glyph made from what FreeType drew, and its bitmap's code: the part of the work that needs
// no FreeType, done for each glyph on its own.
struct FinishedGlyph {
    pgf::PgfGlyph glyph;
    pgf::EncodedBitmap imageCode;
};

FinishedGlyph finishGlyph(char32_t code, const DrawnGlyph& drawn, const LineMetrics& lines,
                          const ConversionParameters& parameters) {
    RenderedGlyph rendered = cropToInk(drawn);
    if (const auto problem = pgf::findImageLimitBreak(rendered.image)) {
        throw TooLargeAtThisScale(": " + describeCharacter(code) + " " + *problem);
    }
    FinishedGlyph finished{makeGlyph(code, std::move(rendered), lines, parameters), {}};
    finished.imageCode = pgf::encodeBitmap(finished.glyph.image);
    // The code is made in room for the worst case, several times its usual size; tens of
    // thousands of them wait for the writer.
    finished.imageCode.bytes.shrink_to_fit();
    return finished;
}

// The advance table of a PGF font has at most 255 entries, and every glyph's advance must be in
// it (some readers always read the advance as an index). Real fonts stay far below for a few
// hundred characters; thousands of characters from several fonts, or a damaged font, may not.
void checkAdvanceCount(const pgf::PgfFont& font, const ConversionParameters& parameters) {
    std::set<pgf::MetricPair> advances;
    std::optional<std::size_t> firstOver;
    for (std::size_t i = 0; i < font.glyphs.size() && !firstOver; ++i) {
        advances.insert(font.glyphs[i].metrics.advance);
        if (advances.size() > static_cast<std::size_t>(pgf::kMostTableEntries)) {
            firstOver = i;
        }
    }
    if (!firstOver) {
        return;
    }
    for (std::size_t i = *firstOver; i < font.glyphs.size(); ++i) {
        advances.insert(font.glyphs[i].metrics.advance);
    }
    // The first 255 glyphs always fit, so there is always a largest set that does.
    const std::string fits = "; the largest set that fits ends before " +
                             describeCharacter(font.glyphs[*firstOver].code) + " (" +
                             std::to_string(*firstOver) + " glyphs)";
    throw ConversionError(
        "at font scale " + std::to_string(parameters.fontScale) + " the glyphs have " +
        std::to_string(advances.size()) +
        " different advance widths, more than the 255 different advance widths a PGF font "
        "can hold" +
        fits + "; choose fewer characters, or the font may be damaged");
}

}  // namespace

ConversionResult convertPlan(const ConversionPlan& plan) {
    const ConversionParameters& parameters = plan.parameters;
    if (parameters.fontScale > kLargestTriedScale) {
        refuseScale(plan, "");
    }
    const std::vector<GlyphRenderer> renderers = renderersFor(plan, plan.sizes);

    pgf::PgfFont font;
    font.name = plan.fontName;
    font.style = plan.styleName;
    font.nominalSize = plan.nominalSize;
    font.resolution = pgf::kFirmwareResolution;
    font.ascender = plan.lines.ascender;
    font.descender = plan.lines.descender;
    // A chosen set is sized against the firmware's budget, so identical shadows share one record;
    // without character options the file stays byte for byte what it always was.
    font.shareIdenticalShadows =
        parameters.slot == pgf::kBigFontSlot || !parameters.characterSets.empty() ||
        !parameters.charactersFromFile.empty() || !parameters.fallbackFonts.empty();

    if (parameters.slot == pgf::kBigFontSlot) {
        // Thousands of glyphs share 511 shadows; the button signs keep theirs, so a square's
        // halo never shows another character's strokes.
        for (const char32_t code : pgf::namedCharacterSet("buttons")) {
            font.ownShadowFirst.push_back(static_cast<char16_t>(code));
        }
    }

    ConversionResult result;
    result.askedCharacters = plan.characters.size();
    result.warnings = plan.warnings;
    for (const PlannedFace& face : plan.faces) {
        const auto name = face.path.filename().u8string();
        result.provenance.push_back({face.path, std::string(name.begin(), name.end()), {}});
    }
    // FreeType draws on this thread, in code order; cropping, the shadow and the bitmap code go
    // on meanwhile on another, and each glyph's result is kept at its place in the plan, so the
    // file is the same whatever the timing. A refusal is the one for the first glyph in code
    // order that breaks a limit, whichever thread finds it.
    BackgroundStage<DrawnGlyph, FinishedGlyph> finishing(
        plan.characters.size(),
        [&](std::size_t i, DrawnGlyph& drawn) {
            return finishGlyph(plan.characters[i], drawn, plan.lines, parameters);
        },
        plan.characters.size() >= kThreadedFrom);
    std::vector<std::optional<FinishedGlyph>> finished;
    try {
        for (std::size_t i = 0; i < plan.characters.size(); ++i) {
            const char32_t code = plan.characters[i];
            std::optional<DrawnGlyph> drawn;
            if (plan.faceOf[i]) {
                try {
                    drawn = renderers[*plan.faceOf[i]].draw(code);
                } catch (const GlyphTooLarge& tooLarge) {
                    finishing.finish();  // an earlier glyph's refusal comes first
                    throw TooLargeAtThisScale(": " + describeCharacter(code) + " " +
                                              tooLarge.what());
                } catch (...) {
                    finishing.finish();
                    throw;
                }
            }
            if (!drawn) {
                result.missingCharacters.push_back(code);
                continue;
            }
            result.provenance[*plan.faceOf[i]].characters.push_back(code);
            if (!finishing.submit(i, std::move(*drawn))) {
                break;
            }
        }
        finished = finishing.finish();
    } catch (const TooLargeAtThisScale& tooLarge) {
        refuseScale(plan, tooLarge.what());
    }
    const auto glyphCount = static_cast<std::size_t>(std::count_if(
        finished.begin(), finished.end(), [](const auto& glyph) { return glyph.has_value(); }));
    font.glyphs.reserve(glyphCount);
    std::vector<pgf::EncodedBitmap> imageCodes;
    imageCodes.reserve(glyphCount);
    for (std::optional<FinishedGlyph>& glyph : finished) {
        if (glyph) {
            font.glyphs.push_back(std::move(glyph->glyph));
            imageCodes.push_back(std::move(glyph->imageCode));
        }
    }
    finished = {};
    if (std::find(result.missingCharacters.begin(), result.missingCharacters.end(),
                  pgf::kSubstituteCharacter) != result.missingCharacters.end()) {
        throw ConversionError(
            "the font has no underscore \"_\", which the PSP shows for every missing character; "
            "choose a font that has one");
    }
    result.glyphCount = font.glyphs.size();
    if (!pgf::fitsFirmwareCharMap(font.glyphs.size())) {
        result.warnings.push_back(
            "warning: " + std::to_string(font.glyphs.size()) +
            " glyphs need character map entries wider than the " +
            std::to_string(pgf::kFirmwareCharMapBits) +
            " bits of the firmware's jpn0.pgf, which hold at most " +
            std::to_string(pgf::kMostGlyphsInFirmwareCharMap) +
            " glyphs; emulators read the file, but a PSP may not. To be sure of a PSP, choose "
            "fewer characters, e.g. --chars japanese or --chars gb2312");
    }
    checkAdvanceCount(font, parameters);
    if (plan.faces.size() > 1) {
        for (const FaceProvenance& face : result.provenance) {
            font.sources.push_back({face.fileName, pgf::runsOf(face.characters)});
        }
    }
    result.pgf = pgf::writePgf(font, imageCodes);
    const pgf::PgfHeader header = pgf::decodeHeader(result.pgf);
    result.shadowCount = static_cast<std::size_t>(header.shadowMapLength);
    result.stingyOpenBytes = pgf::stingyOpenBytes(header);
    if (parameters.withinFirmwareSize) {
        checkWithinFirmwareSize(font, result, budgetSlot(parameters));
    }
    return result;
}

ConversionResult convertFont(const std::filesystem::path& fontPath,
                             const ConversionParameters& parameters,
                             std::optional<FaceStyle> faceStyle) {
    return convertPlan(makeConversionPlan(fontPath, parameters, faceStyle));
}

}  // namespace tessavine::converter
