#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessavine::pgf {

// A set of characters chosen by a list such as "psp,greek,-cyrillic,U+2190-21FF,U+25CB": named
// sets (namedCharacterSets), single code points U+XXXX and ranges U+XXXX-YYYY (or
// U+XXXX-U+YYYY), taken from left to right; an item with a leading "-" removes what it names.
// A list that begins with a removal starts from the psp set. Names and hex digits may be in any
// case, blanks around items are ignored. Codes a PGF font cannot or need not hold are left out of
// ranges: below U+0020, U+007F-009F (controls), U+D800-DFFF (surrogates), U+FFFE-FFFF; named alone
// they are refused, as is anything above U+FFFF (the charmap's codes are 16 bits).
struct CharacterSetError {
    std::string message;  // one line naming the item and what is allowed
};

// The chosen code points, ascending, or the error for the first item that cannot be read.
std::variant<std::vector<char32_t>, CharacterSetError> parseCharacterList(std::string_view list);

// The codes as the list above writes them, runs joined: "U+0020-007E,U+00A0-00FF,U+2192". At
// most `mostRuns` runs are written, then ",..." follows.
std::string describeCharacterRuns(const std::vector<char32_t>& ascending, std::size_t mostRuns);

// Whether a PGF font can hold a glyph for the code: a 16-bit, printable, non-surrogate code.
bool isStorableCharacter(char32_t code);

}  // namespace tessavine::pgf
