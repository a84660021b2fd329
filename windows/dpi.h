#pragma once

#include "windows/win32.h"

namespace tessavine {

// What depends on the screen's scale. The calls made for per-monitor scaling exist from
// Windows 10 1607 on and are looked up at run time; older systems get the system-wide scale.
int dpiOfWindow(HWND window);
// The window's outer rectangle for a client area of that size at that scale.
RECT outerRectFor(int clientWidth, int clientHeight, DWORD style, DWORD extendedStyle, bool menu,
                  int dpi);
// The system's message font at that scale: the platform's default dialog text.
LOGFONTW messageFont(int dpi);
// A length in pixels at 96 dots per inch, at `dpi`.
inline int scaled(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi, 96);
}
// Places the window in the middle of the work area of its screen.
void centreOnScreen(HWND window);

}  // namespace tessavine
