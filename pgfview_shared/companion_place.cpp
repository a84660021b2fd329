#include "companion_place.h"

#include <algorithm>

namespace tessavine::pgfview_shared {

DesktopRect centredIn(const DesktopRect& work, int width, int height) {
    const int left = work.left + (work.width() - width) / 2;
    const int top = work.top + (work.height() - height) / 2;
    return {left, top, left + width, top + height};
}

Side sideWithMoreRoom(const DesktopRect& work, const DesktopRect& mainFrame, int gap) {
    const int roomRight = work.right - mainFrame.right - gap;
    const int roomLeft = mainFrame.left - work.left - gap;
    const bool right = roomRight >= roomLeft;
    return {right, std::max(right ? roomRight : roomLeft, 1)};
}

DesktopRect frameBeside(const DesktopRect& work, const DesktopRect& mainFrame, Side side, int width,
                        int height, int gap) {
    const int left = side.right ? mainFrame.right + gap : mainFrame.left - gap - width;
    const int top = std::clamp(mainFrame.top, work.top, std::max(work.top, work.bottom - height));
    return {left, top, left + width, top + height};
}

}  // namespace tessavine::pgfview_shared
