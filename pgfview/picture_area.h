#pragma once

#include <QScrollArea>
#include <QSize>

namespace tessavine::pgfview {

// A scroll area that asks for the room to show its picture whole. QScrollArea's own wish is
// capped at a few dozen lines of text, less than the PSP screen at 2× takes, so a window sized
// from it cut the picture and scrolled it; this one scrolls only when the window cannot give it
// the room.
class PictureArea : public QScrollArea {
  public:
    // The picture's size in the widget's own (logical) pixels.
    void setPictureSize(QSize size) {
        if (size != picture_) {
            picture_ = size;
            updateGeometry();
        }
    }
    QSize pictureSize() const { return picture_; }
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return picture_ + QSize(frame, frame);
    }

  private:
    QSize picture_;
};

}  // namespace tessavine::pgfview
