#pragma once

#include <optional>

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

// Pasting is typing many characters at once: a pasted character stays when the key filter lets
// it in as typed. Backspace and Enter pass the filter as keys, but in pasted text they are no
// characters of a number.
constexpr bool keepsPastedCharacter(KeyFilter filter, int code) {
    return code != kBackspaceCode && code != kEnterCode && passesKeyFilter(filter, code);
}

// The editing commands of a one-line field, reached with Ctrl and a letter. A classic text field
// is handed them as the letter's control character; they are commands, never typed characters,
// so the key filter does not drop them.
enum class EditingCommand { selectAll, copy, cut, paste, undo };

constexpr std::optional<EditingCommand> editingCommandOf(int controlCode) {
    switch (controlCode) {
        case 'A' - '@':
            return EditingCommand::selectAll;
        case 'C' - '@':
            return EditingCommand::copy;
        case 'X' - '@':
            return EditingCommand::cut;
        case 'V' - '@':
            return EditingCommand::paste;
        case 'Z' - '@':
            return EditingCommand::undo;
        default:
            return std::nullopt;
    }
}

}  // namespace tessavine
