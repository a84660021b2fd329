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

// The largest client area companionGeometry gives in `available`.
QSize companionRoom(const QRect& available);

// A window's frame changed to `size`, as it is when the zoom changes: it grows away from the
// middle of the screen, where the main window stands, and moves no further than it must to
// stay within `available`.
QRect resizedInPlace(const QRect& frame, const QSize& size, const QRect& available);

}  // namespace tessavine::pgfview
