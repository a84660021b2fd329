#include "companion_placement.h"

#include <algorithm>

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
    const int mainWidth = kMainWindowClient.width() + 2 * kBorder;
    const int mainHeight = kMainWindowClient.height() + kMainMenuBar + kTitleBar + kBorder;
    const int mainLeft = available.left() + (available.width() - mainWidth) / 2;
    const int mainRight = mainLeft + mainWidth;  // one past its last column

    const int roomRight = available.right() + 1 - mainRight - kGap;
    const int roomLeft = mainLeft - available.left() - kGap;
    const bool right = roomRight >= roomLeft;
    const int room = std::max(right ? roomRight : roomLeft, 1);

    const int width = std::clamp(preferred.width(), 1, std::max(room - 2 * kBorder, 1));
    const int height =
        std::clamp(preferred.height(), 1, std::max(available.height() - kTitleBar - kBorder, 1));
    const int frameLeft = right ? mainRight + kGap : mainLeft - kGap - (width + 2 * kBorder);
    // Level with the main window's top where the screen allows, else as high as it goes.
    const int mainTop = available.top() + (available.height() - mainHeight) / 2;
    const int frameTop = std::clamp(mainTop, available.top(),
                                    available.bottom() + 1 - (height + kTitleBar + kBorder));
    return {frameLeft + kBorder, std::max(frameTop, available.top()) + kTitleBar, width, height};
}

}  // namespace tessavine::pgfview
