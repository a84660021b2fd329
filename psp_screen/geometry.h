#pragma once

namespace tessavine::psp_screen {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A rectangle of whole pixels; right() and bottom() are its last column and row.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int left() const { return x; }
    int top() const { return y; }
    int right() const { return x + width - 1; }
    int bottom() const { return y + height - 1; }
    bool operator==(const Rect&) const = default;
};

}  // namespace tessavine::psp_screen
