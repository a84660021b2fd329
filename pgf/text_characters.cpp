#include "text_characters.h"

#include <cstdio>
#include <set>

#include "character_list.h"

namespace tessavine::pgf {
namespace {

TextError errorAt(std::size_t offset, std::size_t line, const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "is not UTF-8 at byte %zu (line %zu): %s", offset, line, what);
    return TextError{text};
}

}  // namespace

std::variant<TextCharacters, TextError> readTextCharacters(std::span<const std::uint8_t> text) {
    std::size_t at = 0;
    if (text.size() >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF) {
        at = 3;
    }
    std::set<char32_t> seen;
    TextCharacters result;
    std::size_t line = 1;
    while (at < text.size()) {
        const std::size_t start = at;
        const std::uint8_t lead = text[at++];
        char32_t code = 0;
        int continuation = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            code = lead & 0x1F, continuation = 1, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            code = lead & 0x0F, continuation = 2, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            code = lead & 0x07, continuation = 3, smallest = 0x10000;
        } else {
            return errorAt(start, line, "a byte that cannot start a character");
        }
        for (int i = 0; i < continuation; ++i) {
            if (at >= text.size()) {
                return errorAt(start, line, "the text ends inside a character");
            }
            if ((text[at] & 0xC0) != 0x80) {
                return errorAt(start, line, "a character is cut short");
            }
            code = (code << 6) | (text[at++] & 0x3F);
        }
        if (code < smallest) {
            return errorAt(start, line, "a character written with more bytes than it needs");
        }
        if (code >= 0xD800 && code <= 0xDFFF) {
            return errorAt(start, line, "half of a UTF-16 surrogate pair (CESU-8)");
        }
        if (code > 0x10FFFF) {
            return errorAt(start, line, "a code beyond Unicode's last, U+10FFFF");
        }
        if (code == U'\n') {
            ++line;
        }
        if (code > 0xFFFF) {
            if (result.beyondSixteenBits++ == 0) {
                result.firstBeyond = code;
                result.firstBeyondLine = line;
            }
        } else if (isStorableCharacter(code)) {
            seen.insert(code);
        }
    }
    result.characters.assign(seen.begin(), seen.end());
    return result;
}

}  // namespace tessavine::pgf
