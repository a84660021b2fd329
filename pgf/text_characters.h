#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace tessavine::pgf {

// The characters a UTF-8 text uses, for a font made for exactly that text (a translation's
// script, a game's string table).
struct TextCharacters {
    std::vector<char32_t> characters;  // ascending, each once; all storable in a PGF font
    // Characters above U+FFFF (emoji, historic scripts) that a 16-bit charmap cannot hold: left
    // out, counted, and the first one named with its line, for a warning.
    std::size_t beyondSixteenBits = 0;
    char32_t firstBeyond = 0;
    std::size_t firstBeyondLine = 0;
};

struct TextError {
    std::string message;  // says where: the byte offset and the line, from 1
};

// Reads the text strictly as UTF-8: a byte-order mark at the start is skipped; line ends, tabs
// and other controls are left out; combining marks count as characters of their own. Overlong
// forms, surrogates (also when a text from UTF-16 was encoded half by half, as CESU-8 does),
// codes above U+10FFFF and cut sequences are refused.
std::variant<TextCharacters, TextError> readTextCharacters(std::span<const std::uint8_t> text);

}  // namespace tessavine::pgf
