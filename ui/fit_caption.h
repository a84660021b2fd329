#pragma once

class QWidget;

namespace tessavine {

// The window's places were drawn for a compact dialog font. Where the platform's default font
// is wider and a label's, hint's or check box's caption would be cut off, that control's font
// is made smaller, step by step, until the caption fits (or a readable minimum is reached).
// Controls whose captions fit keep the default font untouched.
void fitCaption(QWidget& control);

}  // namespace tessavine
