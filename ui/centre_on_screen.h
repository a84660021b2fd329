#pragma once

class QWidget;

namespace tessavine {

// Moves a top-level window so that it stands in the middle of the free area of its screen.
void centreOnScreen(QWidget& window);

}  // namespace tessavine
