#pragma once

#include <Qt>

namespace tessavine {

// A window the user cannot resize, with a close button and neither minimise nor maximise.
inline constexpr Qt::WindowFlags kFixedWindowWithCloseButton =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;

}  // namespace tessavine
