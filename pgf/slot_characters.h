#pragma once

#include <string_view>
#include <vector>

namespace tessavine::pgf {

// The characters a font made for a slot is held against, wherever a program asks what it lacks:
// the converter's set when --chars is not given, the viewers' "missing" list and character table,
// pgfinfo's coverage and the missing-letters warning before a copy. A latin slot needs the PSP's
// latin set; jpn0.pgf needs the Japanese set the firmware's own big font holds, so that a
// Japanese font is not held to Latin-1 letters it never draws, and a missing kanji counts.
struct SlotCharacters {
    std::string_view setName;     // as --chars names it: "psp" or "japanese"
    std::vector<char32_t> codes;  // ascending
};

// For slot 0 to 15 or kBigFontSlot. Throws std::out_of_range for any other number, as
// firmwareSlot does.
SlotCharacters slotCharacters(int slot);

}  // namespace tessavine::pgf
