#pragma once

namespace tessavine {

// The rule an entry field applies to each typed character.
enum class KeyFilter {
    none,         // every character passes
    decimal,      // digits, ".", Backspace and Enter
    wholeNumber,  // digits, Backspace and Enter
};

inline constexpr int kBackspaceCode = 8;
inline constexpr int kEnterCode = 13;

// True when a character with this code may reach the field. Codes are the platform's character
// codes; a negative code stands for a character the platform could not express and never passes.
constexpr bool passesKeyFilter(KeyFilter filter, int code) {
    switch (filter) {
        case KeyFilter::none:
            return true;
        case KeyFilter::decimal:
            return (code > 47 || code == '.' || code == kBackspaceCode || code == kEnterCode) &&
                   code < 58;
        case KeyFilter::wholeNumber:
            return (code > 47 || code == kBackspaceCode || code == kEnterCode) && code < 58;
    }
    return false;
}

}  // namespace tessavine
