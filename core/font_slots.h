#pragma once

#include <array>
#include <string>

namespace tessavine {

// The file name of latin font slot `number`, 0 to 15: "ltn0.pgf" … "ltn15.pgf".
inline std::string slotFileName(int number) {
    return "ltn" + std::to_string(number) + ".pgf";
}

// The PSP's big font, which games use for Japanese text and the button signs and which Chinese
// and Korean players replace; it is copied, journalled, backed up and restored like a latin slot.
inline constexpr const char* kBigFontFileName = "jpn0.pgf";

// Every font file a copy onto the PSP may put in place, in the order backups list them: the
// sixteen latin slots, then the big font.
inline std::array<std::string, 17> fontSlotFileNames() {
    std::array<std::string, 17> names;
    for (int number = 0; number < 16; ++number) {
        names[static_cast<std::size_t>(number)] = slotFileName(number);
    }
    names[16] = kBigFontFileName;
    return names;
}

// How messages name those files.
inline constexpr const char* kFontSlotNamesInWords = "ltn0.pgf to ltn15.pgf, or jpn0.pgf";

// True for "ltn0.pgf" … "ltn15.pgf" and "jpn0.pgf" exactly.
inline bool isSlotFileName(const std::string& name) {
    for (const std::string& slot : fontSlotFileNames()) {
        if (name == slot) {
            return true;
        }
    }
    return false;
}

}  // namespace tessavine
