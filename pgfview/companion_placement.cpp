#include "companion_placement.h"

#include <algorithm>

#include "pgfview_shared/companion_place.h"

namespace tessavine::pgfview {
namespace {

// What a window frame adds around a client area, reckoned generously for the usual desktops:
// the title bar above, the borders, and for the main window its menu bar.
constexpr int kTitleBar = 32;
constexpr int kBorder = 8;
constexpr int kMainMenuBar = 28;
constexpr int kGap = 8;

}  // namespace

QRect companionGeometry(const QRect& available, const QSize& preferred) {
    using namespace pgfview_shared;
    const DesktopRect work{available.left(), available.top(), available.right() + 1,
                           available.bottom() + 1};
    const DesktopRect mainFrame =
        centredIn(work, kMainWindowClient.width() + 2 * kBorder,
                  kMainWindowClient.height() + kMainMenuBar + kTitleBar + kBorder);
    const Side side = sideWithMoreRoom(work, mainFrame, kGap);
    const int width = std::clamp(preferred.width(), 1, std::max(side.room - 2 * kBorder, 1));
    const int height =
        std::clamp(preferred.height(), 1, std::max(available.height() - kTitleBar - kBorder, 1));
    const DesktopRect frame =
        frameBeside(work, mainFrame, side, width + 2 * kBorder, height + kTitleBar + kBorder, kGap);
    return {frame.left + kBorder, frame.top + kTitleBar, width, height};
}

QSize companionRoom(const QRect& available) {
    return companionGeometry(available, available.size()).size();
}

QRect resizedInPlace(const QRect& frame, const QSize& size, const QRect& available) {
    const bool leftOfMiddle = frame.center().x() < available.center().x();
    int left = leftOfMiddle ? frame.right() + 1 - size.width() : frame.left();
    int top = frame.top();
    left = std::clamp(left, available.left(),
                      std::max(available.left(), available.right() + 1 - size.width()));
    top = std::clamp(top, available.top(),
                     std::max(available.top(), available.bottom() + 1 - size.height()));
    return {QPoint(left, top), size};
}

}  // namespace tessavine::pgfview
