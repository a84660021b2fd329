#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "conversion_error.h"
#include "core/number_reading.h"
#include "pgf/character_list.h"
#include "pgf/firmware_slots.h"
#include "pgf/font_sources.h"
#include "pgf/named_character_sets.h"

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

constexpr double kLargestLineMetric = 1000;  // pixels; far beyond any font the format can hold

// A number that must be the whole word: a value typed after an option, not a window's field.
std::optional<double> readExactNumber(const std::string& word) {
    double value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Takes the options out of the words and returns the words that are left.
std::vector<std::string> takeOptions(std::span<const std::string> words, CommandLine& line) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto value = [&](const char* what) -> const std::string& {
            if (i + 1 >= words.size()) {
                refuse(word + " needs " + what + " after it");
            }
            return words[++i];
        };
        ConversionParameters& parameters = line.parameters;
        if (word == "--slot") {
            const std::string& slotWord = value("a slot number");
            if (slotWord == "jpn0") {
                parameters.slot = pgf::kBigFontSlot;
                continue;
            }
            const auto slot = readExactNumber(slotWord);
            if (!slot || *slot != std::floor(*slot) || *slot < 0 || *slot > 15) {
                refuse("--slot takes a slot number from 0 to 15, as in --slot 8, or jpn0");
            }
            parameters.slot = static_cast<int>(*slot);
        } else if (word == "--face") {
            parameters.face = value("a face's index or name");
            if (parameters.face.empty()) {
                refuse("--face needs the index or the name of a face, as in --face 1");
            }
        } else if (word == "--set") {
            line.wholeSet = true;
        } else if (word == "--bold") {
            line.boldFontPath = value("a font file");
        } else if (word == "--italic") {
            line.italicFontPath = value("a font file");
        } else if (word == "--bold-italic") {
            line.boldItalicFontPath = value("a font file");
        } else if (word == "--chars") {
            parameters.characterSets = value("a list of character sets");
            // Read now, so a mistyped set is refused before any font is opened.
            const auto parsed = pgf::parseCharacterList(parameters.characterSets);
            if (const auto* error = std::get_if<pgf::CharacterSetError>(&parsed)) {
                refuse(error->message);
            }
        } else if (word == "--chars-from") {
            parameters.charactersFromFile = value("a UTF-8 text file");
            if (parameters.charactersFromFile.empty()) {
                refuse("--chars-from needs the name of a UTF-8 text file");
            }
        } else if (word == "--fallback") {
            parameters.fallbackFonts.push_back(value("a font file"));
            if (parameters.fallbackFonts.back().empty()) {
                refuse("--fallback needs the name of a font file");
            }
            // The made file names every font it was drawn from, and readers take at most this
            // many names.
            if (parameters.fallbackFonts.size() + 1 > pgf::kMostFontSources) {
                refuse("at most " + std::to_string(pgf::kMostFontSources - 1) +
                       " --fallback fonts can be given; name fewer");
            }
        } else if (word == "--hinting") {
            const std::string& hinting = value("none, light or normal");
            if (hinting == "none") {
                parameters.hinting = Hinting::None;
            } else if (hinting == "light") {
                parameters.hinting = Hinting::Light;
            } else if (hinting == "normal") {
                parameters.hinting = Hinting::Normal;
            } else {
                refuse("--hinting takes none, light (the default) or normal, not \"" + hinting +
                       "\"");
            }
        } else if (word == "--bitmaps") {
            const std::string& bitmaps = value("auto or never");
            if (bitmaps == "auto") {
                parameters.bitmaps = EmbeddedBitmaps::Auto;
            } else if (bitmaps == "never") {
                parameters.bitmaps = EmbeddedBitmaps::Never;
            } else {
                refuse("--bitmaps takes auto or never (the default), not \"" + bitmaps + "\"");
            }
        } else if (word == "--within-firmware-size") {
            parameters.withinFirmwareSize = true;
        } else if (word == "--font-line-metrics") {
            parameters.lineMetrics = LineMetricsSource::Font;
        } else if (word == "--ascender") {
            parameters.ascender = readExactNumber(value("a number of pixels"));
            if (!parameters.ascender || *parameters.ascender <= 0 ||
                *parameters.ascender > kLargestLineMetric) {
                refuse(
                    "--ascender takes the pixels above the baseline, a number above 0, as in "
                    "--ascender 13.5");
            }
        } else if (word == "--descender") {
            parameters.descender = readExactNumber(value("a number of pixels"));
            if (!parameters.descender || *parameters.descender > 0 ||
                *parameters.descender < -kLargestLineMetric) {
                refuse(
                    "--descender takes the pixels below the baseline as a negative number, as "
                    "in --descender -3");
            }
        } else {
            rest.push_back(word);
        }
    }
    return rest;
}

// Options that cannot go together, refused before any work is done.
void checkOptions(const CommandLine& line) {
    const ConversionParameters& parameters = line.parameters;
    const bool styleLetters = parameters.embolden || parameters.italicize;
    if (line.wholeSet && !parameters.face.empty()) {
        refuse("--face picks a face of one font; with --set name each face's own file");
    }
    if (line.wholeSet && parameters.slot) {
        refuse("--set makes every slot; leave out --slot");
    }
    if ((line.wholeSet || parameters.slot) && styleLetters) {
        refuse("the slots give the style; leave the b and i out of the size word with " +
               std::string(line.wholeSet ? "--set" : "--slot"));
    }
    if (!line.wholeSet && (!line.boldFontPath.empty() || !line.italicFontPath.empty() ||
                           !line.boldItalicFontPath.empty())) {
        refuse("--bold, --italic and --bold-italic name the family's faces for --set");
    }
}

// FONT OUTPUT and the window's two parameter words.
void readPositionalWords(const std::vector<std::string>& words, CommandLine& commandLine) {
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
        return;
    }
    const std::string parameterText = joinedParameterWords(words);
    const std::size_t split = parameterText.rfind(" b");
    if (split == std::string::npos) {
        refuse("the shadow word (\"b\", a blur, \"i\" and an intensity) is missing");
    }
    readSizeWord(std::string_view(parameterText).substr(0, split), commandLine.parameters);
    readShadowWord(std::string_view(parameterText).substr(split + 1), commandLine.parameters);
}

}  // namespace

CommandLine readCommandLine(std::span<const std::string> allWords) {
    CommandLine commandLine;
    // Only a lone word asks for these: the window passes any font name typed, "-h" included.
    if (allWords.size() == 1 &&
        (allWords[0] == "--help" || allWords[0] == "-h" || allWords[0] == "/?")) {
        commandLine.action = CommandLine::Action::ShowHelp;
        return commandLine;
    }
    if (allWords.size() == 2 && allWords[0] == "--faces") {
        commandLine.action = CommandLine::Action::ListFaces;
        commandLine.fontPath = allWords[1];
        return commandLine;
    }
    if (allWords.size() == 1 && allWords[0] == "--version") {
        commandLine.action = CommandLine::Action::ShowVersion;
        return commandLine;
    }
    // Exactly four words are the window's: a font named like an option is still the font.
    const std::vector<std::string> words =
        allWords.size() == kConversionWords
            ? std::vector<std::string>(allWords.begin(), allWords.end())
            : takeOptions(allWords, commandLine);
    // A mistyped option lands among the positional words. Beyond the four the window passes it
    // would vanish into the lenient parameter words, and among them it spoils them: name it.
    const auto unknown = std::find_if(
        words.begin(), words.end(), [](const std::string& word) { return word.starts_with("--"); });
    if (unknown != words.end() && words.size() > kConversionWords) {
        refuse("\"" + *unknown + "\" is no option ttf2pgf knows");
    }
    try {
        readPositionalWords(words, commandLine);
    } catch (const ConversionError&) {
        if (unknown != words.end()) {
            refuse("\"" + *unknown + "\" is no option ttf2pgf knows");
        }
        throw;
    }
    checkOptions(commandLine);
    return commandLine;
}

std::string usageText() {
    const auto setList = [] {
        std::string list;
        for (const pgf::NamedCharacterSet& set : pgf::namedCharacterSets()) {
            std::string name(set.name);
            name.resize(std::max<std::size_t>(12, name.size() + 1), ' ');
            list += "      " + name + std::string(set.description) + "\n";
        }
        return list;
    };
    return R"(Usage: ttf2pgf.exe "FONT" OUTPUT SCALE[b][i]hWIDTH bBLURiINTENSITY [OPTIONS]
       ttf2pgf.exe --set "FONT" FOLDER SCALEhWIDTH bBLURiINTENSITY [FACES] [OPTIONS]
       ttf2pgf.exe --faces FONT
       ttf2pgf.exe --help | --version

Converts a TrueType or OpenType font into a PSP font file (PGF): a latin font such as
ltn0.pgf, a whole set ltn0.pgf to ltn15.pgf, or the big font jpn0.pgf.

  FONT       the font file, relative to the working folder
  --face N, --face "NAME"
             for a collection (.ttc, .otc), the face to convert, by its index (from 0) or its
             name; without it, the first. ttf2pgf.exe --faces FONT lists the faces
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

Line metrics are the numbers games space lines with: the ascender and descender (how far
lines reach above and below the baseline) and the vertical advance (the line height some
homebrew uses). By default they are the firmware fonts' own proportions: at scale 18 exactly
the firmware's 13.48 px, -3.06 px and 17.09 px, at other scales the same scaled, so a
converted font spaces its lines like the font it replaces. A font's own ascent and descent
often span more (DejaVu Sans: about 31 % more), which spreads lines in games' text boxes.
  --font-line-metrics  keep the font's own ascent and descent instead
  --ascender PX        the ascender in pixels, e.g. 13.5 (the vertical advance becomes the
  --descender PX       distance from ascender to descender), the descender negative, e.g. -3

Slots: the firmware has sixteen latin fonts; games pick them by role.
  --slot N   make the file stand in for ltnN.pgf: its size class, style and header
  slot  0 sans   regular      1 serif regular      8 small sans regular   9 small serif regular
        2 sans   italic       3 serif italic      10 small sans italic   11 small serif italic
        4 sans   bold         5 serif bold        12 small sans bold     13 small serif bold
        6 sans   bold italic  7 serif bold italic 14 small sans b. it.   15 small serif b. it.
  Large slots are drawn at the font scale (18: the firmware's 10.125 pt), small ones at
  7/10.125 of it (18: its 7 pt, 12.44 px). A style the font lacks is synthesised, so leave
  b and i out of the size word.
  Without --slot the file is a large font in the style asked for, as for slot 0.
  --slot jpn0  make the file stand in for jpn0.pgf, the PSP's big font: games draw Japanese
             text and the button signs with it, and Chinese and Korean players replace it.
             Its line metrics (15.83 px above, 2.17 px below at scale 18) and budget are jpn0's
             (1,581,700 bytes, 145,844 to open); without --chars it holds the set "japanese".
  Examples, each about 1.1 MB and 130 KB to open (jpn0: 1.6 MB and 146 KB), 2 s, 40 MB:
    Japanese:            ttf2pgf.exe "ipag.ttf" jpn0.pgf 18h1.0 b1i1 --slot jpn0
    simplified Chinese:  ttf2pgf.exe "wqy-zenhei.ttc" jpn0.pgf 18h1.0 b1i1 --slot jpn0
                           --face "WenQuanYi Zen Hei" --chars ascii,gb2312,kana
    Korean:              ttf2pgf.exe "NanumGothic.ttf" jpn0.pgf 18h1.0 b1i1 --slot jpn0
                           --chars ascii,ksx1001
  On the PSP every game and menu that draws with the system's Japanese font shows these
  glyphs; a character the file lacks shows as "_". The button signs are in every CJK set.

Whole sets:
  --set      write ltn0.pgf to ltn15.pgf into the folder OUTPUT (made if missing), each in
             its slot's role, all sixteen or none: on an error the folder stays as it was
  --bold FONT, --italic FONT, --bold-italic FONT
             further faces of the family; a missing one is made from the nearest face given
  Example: ttf2pgf.exe --set "Example.ttf" psp-fonts 18h1.0 b2.5i1.2 --bold "Example-Bold.ttf"

Characters: by default the PSP latin set and Latin Extended-A (447, the set "psp").
  --chars SET[,SET...]  the characters to hold: named sets, U+XXXX and ranges U+XXXX-YYYY,
                        taken in order; a leading "-" removes ("psp,-cyrillic"); a list that
                        begins with a removal starts from psp. Codes above U+FFFF cannot be held.
)" + setList() +
           R"(  --chars-from FILE     add every character of a UTF-8 text (a translation, a string table);
                        line ends and controls are ignored, a byte-order mark is skipped,
                        characters above U+FFFF are left out with a warning
  --fallback FONT       a character the font lacks comes from this font, drawn so its capitals
                        are as tall as the font's (OS/2 cap height, else the height of "H"), in
                        the same style and shadow; repeat it, the first font that has it serves
  --hinting MODE        none, light (the default: vertical only) or normal (both directions)
  --bitmaps MODE        auto: where the font carries a bitmap strike made for the em drawn
                        (CJK fonts often have them at 12 to 16 px), its hand-tuned pixels are
                        taken, mapped to the PSP's 16 levels, for the plain style (not with b or
                        i or a width other than 1); never (the default): always the outlines
  --within-firmware-size
                        refuse a file larger than the firmware's font of its slot (ltn0 without
                        --slot), or one that needs more memory to open, naming how many
                        characters too many it holds
  "_" is always held. After every conversion a line on the output stream gives what the PSP
  needs to open the file (stingy: the tables; full: the whole file) against the firmware font.
  Above 511 glyphs, glyphs share shadows (the format has 9-bit shadow ids).
  Example, Greek:        ttf2pgf.exe "Example.ttf" ltn0.pgf 18h1.0 b2.5i1.2 --chars psp,greek
  Example, translation:  ttf2pgf.exe "Example2.otf" ltn0.pgf 18h1.0 b2.5i1.2 --chars ascii
                           --chars-from strings.txt --fallback "Example.ttf"

The font must have the underscore "_", which the PSP shows for every missing character. On
success the exit status is 0 (a warning on the error stream counts missing characters); on an
error it is 1, one line on the error stream says what to do, and no output file is left behind.
)";
}

}  // namespace tessavine::converter
