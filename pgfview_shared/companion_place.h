#pragma once

namespace tessavine::pgfview_shared {

// A rectangle of the desktop in pixels: right and bottom are one past the last column and row.
struct DesktopRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The main window's client area in pixels at 100 %, which the program centres on the screen
// at its fixed size.
inline constexpr int kMainClientWidth = 447;
inline constexpr int kMainClientHeight = 392;

// A frame of that size centred in the work area, as the main window stands when it opens.
DesktopRect centredIn(const DesktopRect& work, int width, int height);

// The side of the main window's frame with more room in the work area, and that room less the
// gap between the two windows (at least 1).
struct Side {
    bool right = true;
    int room = 1;
};
Side sideWithMoreRoom(const DesktopRect& work, const DesktopRect& mainFrame, int gap);

// pgfview's frame of that size on that side of the main window's frame, a gap away from it and
// never over it; level with its top where the work area allows, else as high as it goes. Too
// wide for the room, it reaches past the screen's edge rather than over the main window.
DesktopRect frameBeside(const DesktopRect& work, const DesktopRect& mainFrame, Side side, int width,
                        int height, int gap);

}  // namespace tessavine::pgfview_shared
