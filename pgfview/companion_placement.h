#pragma once

#include <QRect>
#include <QSize>

#include "pgfview_shared/companion_place.h"

namespace tessavine::pgfview {

// The main window's client area (447 × 392 logical pixels), which the program centres on the
// screen at its fixed size.
inline constexpr QSize kMainWindowClient(pgfview_shared::kMainClientWidth,
                                         pgfview_shared::kMainClientHeight);

// Where pgfview's client area goes when it starts as the main window's companion: beside the
// centred main window on the side with more room, never over it, and inside `available` (the
// screen's work area) with its own frame, at any scale factor. `preferred` is the size it would
// like; it gets less where the screen has less.
QRect companionGeometry(const QRect& available, const QSize& preferred);

}  // namespace tessavine::pgfview
