// The big font's figures: for the set "japanese" from IPAGothic (about 7,500 characters) and for
// kana and the CJK block from WenQuanYi Zen Hei (about 21,000), the conversion's time against a
// bare FreeType loop that renders the same characters in the same run, the time shadow sharing
// takes, and how far each glyph's shared shadow is from the one made for it alone. The conversion
// uses two threads (FreeType draws on one, the glyphs are finished on the other); the bare loop
// uses one.
//
//   cjk_benchmark [ITERATIONS]
// Peak memory: /usr/bin/time -v on ttf2pgf.exe with the same words, and the 57,117-glyph command
// of README ("The big font") for a font of more than 55,000 glyphs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "converter/conversion_plan.h"
#include "converter/font_converter.h"
#include "converter/shadow_maker.h"
#include "pgf/firmware_slots.h"
#include "pgf/format_limits.h"
#include "pgf/pgf_reader.h"
#include "pgf/shadow_sharing.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace converter = tessavine::converter;
namespace pgf = tessavine::pgf;

struct Case {
    const char* label;
    std::filesystem::path font;
    const char* chars;
};

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Open, size, and load and render each character as any FreeType program must.
std::size_t renderBare(const std::filesystem::path& font, const std::vector<char32_t>& characters) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, font.string().c_str(), 0, &face)) {
        return 0;
    }
    FT_Set_Char_Size(face, 18 * 64, 18 * 64, 72, 72);
    std::size_t inked = 0;
    for (const char32_t code : characters) {
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (index != 0 &&
            FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) == 0) {
            inked += face->glyph->bitmap.rows;
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return inked;
}

int levelAt(const pgf::GlyphImage& image, int x, int y) {  // x, y in shadow pixels, y up
    const int column = x - image.left;
    const int row = image.top - y;
    if (column < 0 || row < 0 || column >= image.width || row >= image.height) {
        return 0;
    }
    return image.pixels[static_cast<std::size_t>(row * image.width + column)];
}

struct ShadowError {
    double meanPerInkedPixel = 0;  // levels of 15, over every pixel either shadow inks
    double worstGlyphMean = 0;
    int worstPixel = 0;
    std::size_t exact = 0;  // glyphs whose shadow is their own
};

ShadowError shadowError(const pgf::PgfFile& file, double blur, double intensity) {
    ShadowError error;
    double sum = 0;
    std::size_t pixels = 0;
    for (const pgf::PgfGlyph& glyph : file.glyphs) {
        const pgf::GlyphImage own = converter::makeShadow(glyph.image, blur, intensity);
        const pgf::GlyphImage& given = glyph.shadow;
        if (own == given) {
            ++error.exact;
        }
        const int left = std::min(own.left, given.left);
        const int right = std::max(own.left + own.width, given.left + given.width);
        const int top = std::max(own.top, given.top);
        const int bottom = std::min(own.top - own.height, given.top - given.height);
        double glyphSum = 0;
        std::size_t glyphPixels = 0;
        for (int y = top; y > bottom; --y) {
            for (int x = left; x < right; ++x) {
                const int a = levelAt(own, x, y);
                const int b = levelAt(given, x, y);
                if (a == 0 && b == 0) {
                    continue;
                }
                const int difference = std::abs(a - b);
                error.worstPixel = std::max(error.worstPixel, difference);
                glyphSum += difference;
                ++glyphPixels;
            }
        }
        if (glyphPixels > 0) {
            error.worstGlyphMean =
                std::max(error.worstGlyphMean, glyphSum / static_cast<double>(glyphPixels));
        }
        sum += glyphSum;
        pixels += glyphPixels;
    }
    error.meanPerInkedPixel = pixels ? sum / static_cast<double>(pixels) : 0;
    return error;
}

void runCase(const Case& c, int iterations) {
    converter::ConversionParameters parameters;
    parameters.fontScale = 18;
    parameters.shadowBlur = 1.0;
    parameters.shadowIntensity = 1.0;
    parameters.slot = pgf::kBigFontSlot;
    parameters.characterSets = c.chars;
    std::vector<std::string> warnings;
    const auto characters = converter::chosenCharacters(parameters, warnings);

    std::vector<double> conversionTimes, conversionCpuTimes, bareTimes;
    converter::ConversionResult result;
    std::size_t checksum = 0;
    for (int i = 0; i < iterations; ++i) {
        auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();  // the process's, both threads together
        result = converter::convertFont(c.font, parameters);
        conversionCpuTimes.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) /
                                     CLOCKS_PER_SEC);
        conversionTimes.push_back(millisecondsSince(start));
        start = Clock::now();
        checksum += renderBare(c.font, characters);
        bareTimes.push_back(millisecondsSince(start));
    }
    const pgf::PgfFile file = pgf::readPgf(result.pgf);
    // The sharing alone, on the glyphs' own shadows as the writer gets them.
    std::vector<pgf::GlyphImage> own;
    for (const pgf::PgfGlyph& glyph : file.glyphs) {
        own.push_back(converter::makeShadow(glyph.image, 1.0, 1.0));
    }
    const auto start = Clock::now();
    const auto owners = pgf::shareShadows(own, static_cast<std::size_t>(pgf::kMostShadows), true);
    const double sharing = millisecondsSince(start);
    const ShadowError error = shadowError(file, 1.0, 1.0);
    const double conversion = median(conversionTimes);
    const double bare = median(bareTimes);
    std::printf("%s: %s --chars %s\n", c.label, c.font.filename().string().c_str(), c.chars);
    std::printf("  glyphs               %zu of %zu asked, %zu shadows, %zu bytes (stingy %zu)\n",
                result.glyphCount, characters.size(), result.shadowCount, result.pgf.size(),
                result.stingyOpenBytes);
    std::printf("  conversion           %.0f ms (median of %d; two threads)\n", conversion,
                iterations);
    std::printf("  of processor time    %.0f ms, both threads together\n",
                median(conversionCpuTimes));
    std::printf("  bare FreeType loop   %.0f ms (one thread)\n", bare);
    std::printf("  ratio                %.2f (goal at most 1.3)\n", conversion / bare);
    std::printf("  shadow sharing       %.0f ms of it (%zu owners)\n", sharing,
                static_cast<std::size_t>(std::count_if(
                    owners.begin(), owners.end(),
                    [&, i = std::size_t{0}](std::size_t o) mutable { return o == i++; })));
    std::printf(
        "  shared shadow error  mean %.2f levels of 15 per inked pixel, worst glyph %.2f, worst "
        "pixel %d; %zu of %zu glyphs have their own\n",
        error.meanPerInkedPixel, error.worstGlyphMean, error.worstPixel, error.exact,
        file.glyphs.size());
    if (checksum == 0) {
        std::printf("  (the bare loop drew nothing)\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const Case cases[] = {
        {"japanese (~7,500)", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "japanese"},
        {"kana and CJK (~21,000)", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
         "U+3040-30FF,U+4E00-9FFF"},
    };
    try {
        for (const Case& c : cases) {
            if (!std::filesystem::exists(c.font)) {
                std::printf(
                    "%s: %s missing (apt-get install fonts-ipafont-gothic "
                    "fonts-wqy-zenhei)\n",
                    c.label, c.font.string().c_str());
                continue;
            }
            runCase(c, iterations);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cjk_benchmark: %s\n", error.what());
        return 1;
    }
}
