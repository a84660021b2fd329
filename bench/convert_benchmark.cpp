// Times one conversion of the bundled Example.ttf at the window's example parameters
// (24h0.8 b2.5i1.2) against a bare FreeType loop that renders the same characters at the same
// size, so the converter's own overhead shows as a ratio.
//
//   convert_benchmark [ITERATIONS] [FONT]

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

#include "converter/font_converter.h"
#include "converter/output_file.h"
#include "pgf/character_set.h"

namespace {

using Clock = std::chrono::steady_clock;

tessavine::converter::ConversionParameters exampleParameters() {
    tessavine::converter::ConversionParameters parameters;
    parameters.fontScale = 24;
    parameters.horizontalWidth = 0.8;
    parameters.shadowBlur = 2.5;
    parameters.shadowIntensity = 1.2;
    return parameters;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The middle of the samples: steadier than the mean when other programs share the machine.
double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// What any FreeType program must do for the same glyphs: open the face, size it, load and
// render each character with the same hinting.
std::size_t renderBare(const std::filesystem::path& font,
                       const tessavine::converter::ConversionParameters& parameters,
                       const std::vector<char32_t>& characters) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::size_t inked = 0;
    if (FT_Init_FreeType(&library) != 0) {
        return 0;
    }
    if (FT_New_Face(library, font.string().c_str(), 0, &face) == 0) {
        FT_Set_Char_Size(face, std::lround(parameters.fontScale * parameters.horizontalWidth * 64),
                         parameters.fontScale * 64, 72, 72);
        for (const char32_t code : characters) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            if (index != 0 &&
                FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) == 0 &&
                FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) == 0) {
                inked += face->glyph->bitmap.rows;
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return inked;
}

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const std::filesystem::path font =
        argc > 2 ? std::filesystem::path(argv[2])
                 : std::filesystem::path(TESSAVINE_FONTS_DIR) / "Example.ttf";
    const auto output = std::filesystem::temp_directory_path() / "tessavine-benchmark-ltn0.pgf";
    const auto parameters = exampleParameters();
    const auto characters = tessavine::pgf::pspLatinCharacters();

    try {
        // One untimed round of each warms the file cache and the allocator.
        tessavine::converter::convertFont(font, parameters);
        std::size_t checksum = renderBare(font, parameters, characters);

        // The two are timed in turns, so a busy moment of the machine hits both alike.
        std::vector<double> conversionTimes;
        std::vector<double> bareTimes;
        std::size_t bytes = 0;
        for (int i = 0; i < iterations; ++i) {
            auto start = Clock::now();
            const auto result = tessavine::converter::convertFont(font, parameters);
            tessavine::converter::writeFileWhole(output, result.pgf);
            conversionTimes.push_back(millisecondsSince(start));
            bytes = result.pgf.size();

            start = Clock::now();
            checksum += renderBare(font, parameters, characters);
            bareTimes.push_back(millisecondsSince(start));
        }
        const double conversion = median(conversionTimes);
        const double bare = median(bareTimes);
        std::filesystem::remove(output);

        std::printf("font                 %s\n", font.string().c_str());
        std::printf("parameters           24h0.8 b2.5i1.2, %zu characters, %d iterations\n",
                    characters.size(), iterations);
        std::printf("conversion           %.2f ms, median (file of %zu bytes written each time)\n",
                    conversion, bytes);
        std::printf(
            "bare FreeType loop   %.2f ms, median (open, size, load and render each glyph)\n",
            bare);
        std::printf("ratio                %.2f\n", conversion / bare);
        std::printf("goal                 under 100 ms and under 3 x the bare loop: %s\n",
                    conversion < 100 && conversion < 3 * bare ? "met" : "NOT met");
        return checksum == 0 ? 1 : 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "convert_benchmark: %s\n", error.what());
        return 1;
    }
}
