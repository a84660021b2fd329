#include "core/result_texts.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <span>

#include "core/shown_text.h"
#include "core/utf8.h"
#include "pgf/firmware_slots.h"
#include "pgf/pgf_reader.h"
#include "pgf/slot_characters.h"

namespace tessavine {
namespace {

constexpr char32_t kFirstPrintableAscii = U' ';
constexpr char32_t kLastPrintableAscii = U'~';
constexpr std::size_t kPrintableAsciiCount = kLastPrintableAscii - kFirstPrintableAscii + 1;
// A warning names this many characters at most; a font lacking more is plainly the wrong font.
constexpr std::size_t kCharactersNamed = 12;

std::string seconds(std::chrono::milliseconds took) {
    if (took < std::chrono::milliseconds(50)) {
        return "less than 0.1 s";  // "0.0 s" would read as if nothing had run
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(took.count()) / 1000.0);
    return text;
}

std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A character as the warning names it; the space alone would be invisible.
std::string shownCharacter(char32_t c) {
    if (c == U' ') {
        return "space";
    }
    std::string text;
    appendUtf8(text, c);
    return text;
}

}  // namespace

std::vector<char32_t> FontCoverage::missingAscii() const {
    std::vector<char32_t> ascii;
    for (const char32_t c : missing) {
        if (c >= kFirstPrintableAscii && c <= kLastPrintableAscii) {
            ascii.push_back(c);
        }
    }
    return ascii;
}

std::variant<FontCoverage, std::string> fontCoverage(const std::string& pgfBytes, int slot) {
    try {
        const pgf::PgfFile file = pgf::readPgf(
            std::span(reinterpret_cast<const std::uint8_t*>(pgfBytes.data()), pgfBytes.size()));
        FontCoverage coverage;
        const std::vector<char32_t> expected = pgf::slotCharacters(slot).codes;
        coverage.expected = expected.size();
        for (const char32_t c : expected) {
            if (!file.glyphIndexOf(c)) {
                coverage.missing.push_back(c);
            }
        }
        return coverage;
    } catch (
        const std::exception& error) {  // the reader names the problem; nothing else may escape
        return std::string(error.what());
    }
}

std::string conversionNotice(const std::string& fontName,
                             const std::variant<FontCoverage, std::string>& coverage,
                             std::chrono::milliseconds took, int slotCopies,
                             const std::optional<FontSizeComparison>& size) {
    std::string text = "ltn0.pgf made from " + shownText(fontName) + " in " + seconds(took);
    if (const auto* held = std::get_if<FontCoverage>(&coverage)) {
        if (held->missing.empty()) {
            text += ": " + std::to_string(held->expected) + " characters, none missing.";
        } else {
            text += ": " + std::to_string(held->missing.size()) + " of the PSP's " +
                    std::to_string(held->expected) + " characters are missing and will show as _.";
        }
    } else {
        text += ", but it cannot be read back (" + std::get<std::string>(coverage) +
                "), so what it holds is unknown.";
    }
    if (slotCopies == 0) {
        text += "\nNo other slot was ticked, so no slot file was copied from it.";
    } else {
        text += "\n" + countOf(static_cast<std::size_t>(slotCopies), "slot file", "slot files") +
                " copied from it.";
    }
    if (size && size->larger()) {
        text += "\n" + fontSizeLine(*size);
    }
    return text;
}

std::string fontSizeLine(const FontSizeComparison& size) {
    std::string compared;
    if (size.fileLarger()) {
        compared = "it is " + std::to_string(size.fileBytes) + " bytes against " +
                   std::to_string(size.firmwareFileBytes);
    }
    if (size.openLarger()) {
        compared += std::string(compared.empty() ? "it" : " and") + " takes " +
                    std::to_string(size.openBytes) + " bytes to open against " +
                    std::to_string(size.firmwareOpenBytes);
    }
    if (compared.empty()) {
        return {};
    }
    std::string text = "ltn0.pgf is larger than the PSP's own: " + compared + ". ";
    if (size.largestFittingScale) {
        text +=
            "Font Scale " + std::to_string(*size.largestFittingScale) + " or less keeps it within.";
    } else {
        text += "No Font Scale from " + std::to_string(kLowestFontScale) + " up keeps it within.";
    }
    return text;
}

std::string missingAsciiWarning(const std::vector<char32_t>& missingAscii) {
    std::string named;
    for (std::size_t i = 0; i < missingAscii.size() && i < kCharactersNamed; ++i) {
        named += (i == 0 ? "" : " ") + shownCharacter(missingAscii[i]);
    }
    if (missingAscii.size() > kCharactersNamed) {
        named += " and " + std::to_string(missingAscii.size() - kCharactersNamed) + " more";
    }
    return "The font made lacks " + std::to_string(missingAscii.size()) + " of the " +
           std::to_string(kPrintableAsciiCount) +
           " basic characters (letters, digits, punctuation and the space): " + named +
           ".\n\nThe PSP will show \"_\" in their place wherever they appear, in games and in its "
           "own menus. Answer No to the next question to keep the fonts the PSP has now.";
}

std::string missingLettersWarning(const std::string& fileName, const std::string& pgfBytes) {
    const std::optional<int> slot = pgf::slotOfFileName(fileName);
    const std::variant<FontCoverage, std::string> coverage =
        fontCoverage(pgfBytes, slot.value_or(0));
    const auto* held = std::get_if<FontCoverage>(&coverage);
    const std::vector<char32_t> missing = held ? held->missingAscii() : std::vector<char32_t>{};
    return missing.empty() ? std::string() : missingAsciiWarning(missing);
}

std::string copyNotice(std::size_t fontCount, const std::string& fontFolder,
                       const std::string& backupFolder) {
    std::string text =
        countOf(fontCount, "font", "fonts") + " copied to " + shownText(fontFolder) + ".";
    if (backupFolder.empty()) {
        text += "\nNothing there was replaced, so no backup was needed.";
    } else {
        text += "\nThe fonts they replaced are backed up in " + shownText(backupFolder) + ".";
    }
    return text;
}

std::string nothingCopiedNotice() {
    return "Nothing was copied to the PSP.";
}

std::string readableSize(std::uintmax_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + " bytes";
    }
    char text[32];
    const double kilobytes = static_cast<double>(bytes) / 1024.0;
    if (kilobytes < 1023.95) {
        std::snprintf(text, sizeof text, "%.1f KB", kilobytes);
    } else {
        std::snprintf(text, sizeof text, "%.1f MB", kilobytes / 1024.0);
    }
    return text;
}

}  // namespace tessavine
