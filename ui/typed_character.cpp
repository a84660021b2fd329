#include "ui/typed_character.h"

#include <QKeyEvent>

namespace tessavine {

std::optional<int> typedCharacterCode(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    // Ctrl+letter types a control character. Platforms disagree on the event's text for it (the
    // control character, the plain letter or nothing), so it is derived from the key. Ctrl with
    // Alt is AltGr on Windows, which types ordinary characters.
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    if (control && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    // Keys outside the Latin-1 range are function and navigation keys. X11 gives Delete the text
    // "\x7f", but Delete edits rather than types.
    if (key >= Qt::Key_Escape && key != Qt::Key_unknown) {
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<int>(text.at(0).unicode());
}

}  // namespace tessavine
