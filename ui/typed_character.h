#pragma once

#include <optional>

class QKeyEvent;

namespace tessavine {

// The character code a key press types, as a classic desktop text field receives it: Backspace
// types 8, Enter 13, and Ctrl with a letter the control code of that letter (Ctrl+C 3, Ctrl+V 22,
// Ctrl+X 24), whatever text the platform put into the event. Nothing for keys that type no
// character: arrows, Home, End, Delete, Insert, function keys, bare modifiers and the like.
std::optional<int> typedCharacterCode(const QKeyEvent& event);

}  // namespace tessavine
