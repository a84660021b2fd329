#include "command_line.h"

#include <cmath>
#include <string_view>

#include "conversion_error.h"
#include "core/number_reading.h"

namespace tessavine::converter {
namespace {

constexpr std::size_t kConversionWords = 4;
constexpr double kLargestFontScale = 32767;

[[noreturn]] void refuse(const std::string& problem) {
    throw ConversionError(problem + " (run ttf2pgf.exe --help for the form of the command line)");
}

// A blank typed inside one of the window's fields splits the command line into more words;
// joined again, the parameters read as they were meant.
std::string joinedParameterWords(std::span<const std::string> words) {
    std::string joined;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (i > 2) {
            joined += ' ';
        }
        joined += words[i];
    }
    return joined;
}

// "<scale>[b][i]h<width>": the last "h" ends the scale; style letters stand right before it.
void readSizeWord(std::string_view word, ConversionParameters& parameters) {
    const std::size_t h = word.rfind('h');
    if (h == std::string_view::npos) {
        refuse("the size word \"" + std::string(word) +
               "\" has no \"h\" before the horizontal width, as in 24h0.8");
    }
    std::string_view scaleText = word.substr(0, h);
    if (scaleText.ends_with("bi")) {
        parameters.embolden = parameters.italicize = true;
        scaleText.remove_suffix(2);
    } else if (scaleText.ends_with('b')) {
        parameters.embolden = true;
        scaleText.remove_suffix(1);
    } else if (scaleText.ends_with('i')) {
        parameters.italicize = true;
        scaleText.remove_suffix(1);
    }
    // The window reads the scale as a whole number, rounding halves to even; so do we.
    const double scale = std::nearbyint(readDecimal(scaleText));
    if (!(scale >= 1 && scale <= kLargestFontScale)) {
        refuse("the font scale \"" + std::string(scaleText) +
               "\" is not a whole number of pixels from 1 up, as in 24h0.8");
    }
    parameters.fontScale = static_cast<int>(scale);

    const double width = readDecimal(word.substr(h + 1));
    if (!(width > 0 && std::isfinite(width))) {
        refuse("the horizontal width \"" + std::string(word.substr(h + 1)) +
               "\" must be a number above 0, as in 24h0.8");
    }
    parameters.horizontalWidth = width;
}

// "b<blur>i<intensity>": the last "i" ends the blur.
void readShadowWord(std::string_view word, ConversionParameters& parameters) {
    const std::size_t i = word.rfind('i');
    if (!word.starts_with('b') || i == std::string_view::npos || i == 0) {
        refuse("the shadow word \"" + std::string(word) +
               "\" is not \"b\", a blur, \"i\" and an intensity, as in b2.5i1.2");
    }
    const std::string_view blurText = word.substr(1, i - 1);
    const std::string_view intensityText = word.substr(i + 1);
    parameters.shadowBlur = readDecimal(blurText);
    parameters.shadowIntensity = readDecimal(intensityText);
    if (!(parameters.shadowBlur >= 0 && std::isfinite(parameters.shadowBlur))) {
        refuse("the shadow blurring \"" + std::string(blurText) + "\" must be 0 or more");
    }
    if (!(parameters.shadowIntensity >= 0 && std::isfinite(parameters.shadowIntensity))) {
        refuse("the shadow intensity \"" + std::string(intensityText) + "\" must be 0 or more");
    }
}

}  // namespace

CommandLine readCommandLine(std::span<const std::string> words) {
    CommandLine commandLine;
    // Only a lone word asks for these: the window passes any font name typed, "-h" included.
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h" || words[0] == "/?")) {
        commandLine.action = CommandLine::Action::ShowHelp;
        return commandLine;
    }
    if (words.size() == 1 && words[0] == "--version") {
        commandLine.action = CommandLine::Action::ShowVersion;
        return commandLine;
    }
    if (words.size() < kConversionWords) {
        refuse(
            "expected 4 words: the font, the output, the size word and the shadow word, but "
            "got " +
            std::to_string(words.size()));
    }
    commandLine.fontPath = words[0];
    commandLine.outputPath = words[1];
    if (commandLine.fontPath.empty() || commandLine.outputPath.empty()) {
        refuse("the font and the output must be file names");
    }

    if (words.size() == kConversionWords) {
        readSizeWord(words[2], commandLine.parameters);
        readShadowWord(words[3], commandLine.parameters);
        return commandLine;
    }
    const std::string parameterText = joinedParameterWords(words);
    const std::size_t split = parameterText.rfind(" b");
    if (split == std::string::npos) {
        refuse("the shadow word (\"b\", a blur, \"i\" and an intensity) is missing");
    }
    readSizeWord(std::string_view(parameterText).substr(0, split), commandLine.parameters);
    readShadowWord(std::string_view(parameterText).substr(split + 1), commandLine.parameters);
    return commandLine;
}

std::string usageText() {
    return R"(Usage: ttf2pgf.exe "FONT" OUTPUT SCALE[b][i]hWIDTH bBLURiINTENSITY
       ttf2pgf.exe --help | --version

Converts a TrueType or OpenType font (for a collection, its first face) into a PSP latin
font file (PGF), for example ltn0.pgf.

  FONT       the font file, relative to the working folder
  OUTPUT     the PGF file to write; written whole or not at all
  SCALE      font scale: the em size in pixels, a whole number (18 gives the firmware's own
             10.125 pt at 128 dpi)
  b, i       embolden (synthetic bold: thicker outlines) and italicize (synthetic oblique: a
             slant); "bi" for both
  WIDTH      horizontal width: the horizontal scale of outlines and advances (1 = as designed)
  BLUR       shadow blurring: the Gaussian sigma of the shadow, in glyph pixels
  INTENSITY  shadow intensity: the factor on the shadow's opacity (0 = no shadow ink)

Numbers are read as the window reads them: text after a number is ignored and an empty number
is 0. In the size word the last "h" ends the scale; in the shadow word the last "i" ends the
blur.

Example: ttf2pgf.exe "Example.ttf" ltn0.pgf 24h0.8 b2.5i1.2

The font gets the PSP latin character set and Latin Extended-A, as far as it has them; it must
have the underscore "_", which the PSP shows for every missing character. On success the exit
status is 0 (a warning on the error stream counts missing characters); on an error it is 1, one
line on the error stream says what to do, and no output file is left behind.
)";
}

}  // namespace tessavine::converter
