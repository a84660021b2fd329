// Times a conversion of about 3,000 characters (the named Latin, Greek, Cyrillic, Vietnamese,
// arrows, shapes and punctuation sets, Latin Extended Additional, Greek Extended and the signs up
// to the geometric shapes) from Example2.otf with Example.ttf as the fallback, against a bare
// FreeType loop that renders the same characters from the same two faces in the same run.
//
//   large_set_benchmark [ITERATIONS]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "converter/conversion_plan.h"
#include "converter/font_converter.h"
#include "converter/output_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSets =
    "latin1,latin-ext-a,latin-ext-b,greek,cyrillic,vietnamese,arrows,shapes,punctuation,"
    "U+1E00-1FFF,U+2070-218F,U+2200-24FF";

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// What any FreeType program must do for the same glyphs: open both faces, size them, and load
// and render each character from the first face that has it.
std::size_t renderBare(const std::vector<std::filesystem::path>& fonts,
                       const std::vector<char32_t>& characters) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return 0;
    }
    std::vector<FT_Face> faces;
    for (const auto& font : fonts) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, font.string().c_str(), 0, &face) == 0) {
            FT_Set_Char_Size(face, 18 * 64, 18 * 64, 72, 72);
            faces.push_back(face);
        }
    }
    std::size_t inked = 0;
    for (const char32_t code : characters) {
        for (FT_Face face : faces) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            if (index == 0) {
                continue;
            }
            if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) == 0 &&
                FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) == 0) {
                inked += face->glyph->bitmap.rows;
            }
            break;
        }
    }
    for (FT_Face face : faces) {
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return inked;
}

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::filesystem::path fonts(TESSAVINE_FONTS_DIR);
    const auto main = fonts / "Example2.otf";
    const auto fallback = fonts / "Example.ttf";
    const auto output = std::filesystem::temp_directory_path() / "tessavine-benchmark-large.pgf";
    tessavine::converter::ConversionParameters parameters;
    parameters.fontScale = 18;
    parameters.shadowBlur = 2.5;
    parameters.shadowIntensity = 1.2;
    parameters.characterSets = kSets;
    parameters.fallbackFonts = {fallback.string()};

    try {
        std::vector<std::string> warnings;
        const auto characters = tessavine::converter::chosenCharacters(parameters, warnings);
        tessavine::converter::ConversionResult result =
            tessavine::converter::convertFont(main, parameters);
        std::size_t checksum = renderBare({main, fallback}, characters);

        std::vector<double> conversionTimes;
        std::vector<double> bareTimes;
        for (int i = 0; i < iterations; ++i) {
            auto start = Clock::now();
            result = tessavine::converter::convertFont(main, parameters);
            tessavine::converter::writeFileWhole(output, result.pgf);
            conversionTimes.push_back(millisecondsSince(start));

            start = Clock::now();
            checksum += renderBare({main, fallback}, characters);
            bareTimes.push_back(millisecondsSince(start));
        }
        std::filesystem::remove(output);
        const double conversion = median(conversionTimes);
        const double bare = median(bareTimes);

        std::printf("fonts                Example2.otf, fallback Example.ttf, 18h1 b2.5i1.2\n");
        std::printf("characters           %zu asked (--chars %s)\n", characters.size(), kSets);
        std::printf(
            "file                 %zu glyphs (%zu from the fallback), %zu shadows, "
            "%zu bytes, %d iterations\n",
            result.glyphCount, result.provenance.at(1).characters.size(), result.shadowCount,
            result.pgf.size(), iterations);
        std::printf("conversion           %.1f ms, median (plan, render, shadows, share, write)\n",
                    conversion);
        std::printf("bare FreeType loop   %.1f ms, median (open, size, load and render each)\n",
                    bare);
        std::printf("ratio                %.2f\n", conversion / bare);
        std::printf("goal                 under 500 ms: %s\n",
                    conversion < 500 ? "met" : "NOT met");
        return checksum == 0 ? 1 : 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "large_set_benchmark: %s\n", error.what());
        return 1;
    }
}
