#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/font_size_check.h"

namespace tessavine {

// What a made font holds of the characters its slot's font should have (pgf::slotCharacters).
struct FontCoverage {
    std::size_t expected = 0;       // the slot's set: 447 for a latin slot, 7,490 for jpn0
    std::vector<char32_t> missing;  // ascending
    // The printable ASCII characters (U+0020 to U+007E) among the missing ones.
    std::vector<char32_t> missingAscii() const;
};

// Reads a made PGF file with the project's own reader and holds it against the set of `slot`
// (0 to 15, or pgf::kBigFontSlot for jpn0.pgf). A file it cannot read gives the reason instead,
// in the reader's words.
std::variant<FontCoverage, std::string> fontCoverage(const std::string& pgfBytes, int slot);

// The notice after a conversion: what ltn0.pgf holds, how long the converter took, how many
// slot files were copied from it at the tick, and, when it is larger than the PSP's own font of
// its slot, both sizes and the Font Scale that keeps it within.
std::string conversionNotice(const std::string& fontName,
                             const std::variant<FontCoverage, std::string>& coverage,
                             std::chrono::milliseconds took, int slotCopies,
                             const std::optional<FontSizeComparison>& size = std::nullopt);

// That last line; empty when the font is no larger than the PSP's own.
std::string fontSizeLine(const FontSizeComparison& size);

// The warning before the device question for a font that lacks basic letters.
std::string missingAsciiWarning(const std::vector<char32_t>& missingAscii);

// That warning for a slot file read whole (the name gives its slot: "jpn0.pgf" is held to jpn0's
// set); empty when it lacks no basic letter, or when it cannot be read as a font, which the
// copy's own check refuses in its words.
std::string missingLettersWarning(const std::string& fileName, const std::string& pgfBytes);

// The notice after a copy onto the PSP: how many fonts went into which folder, and the backup
// folder of the fonts they replaced (empty: nothing was replaced).
std::string copyNotice(std::size_t fontCount, const std::string& fontFolder,
                       const std::string& backupFolder);

// The notice after the answer No.
std::string nothingCopiedNotice();

// A number of bytes as people read it: "1023 bytes", "48.8 KB", "1.5 MB". A size never shows
// as "1024.0 KB": where a tenth of a KB rounds up to a whole MB, it is told in MB.
std::string readableSize(std::uintmax_t bytes);

}  // namespace tessavine
