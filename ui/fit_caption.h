#pragma once

#include <vector>

class QFont;
class QWidget;

namespace tessavine {

// The window's places were drawn for a compact dialog font. All captions (labels, hint boxes,
// check boxes, the button) share one font: the platform's default where every caption fits its
// box, otherwise the largest size of it at which every caption fits, in width and in height with
// its descenders. A box's room is what the control's style leaves for text, less any part of the
// box that a control stacked above it hides.
void fitCaptions(const std::vector<QWidget*>& controls);

// One control on its own, for windows whose captions need not match each other's size.
void fitCaption(QWidget& control);

// True when the control's caption, drawn in `font`, lies wholly inside the visible part of its
// box; true for a control without a caption.
bool captionFits(const QWidget& control, const QFont& font);

}  // namespace tessavine
