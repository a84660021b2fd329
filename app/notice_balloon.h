#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "core/result_notices.h"

namespace tessavine {

// The run's results as a small frameless balloon just below the main window, outside its frame
// and controls: it never covers a field, never takes the keyboard, and goes away by itself
// after a few seconds or at a click. A new notice replaces the one shown.
class NoticeBalloon final : public QLabel, public ResultNotices {
    Q_OBJECT

  public:
    // `anchor` is the main window; the balloon is no child of it, so that the window's own
    // controls stay exactly those it describes.
    explicit NoticeBalloon(QWidget& anchor);

    void showNotice(const std::string& text) override;

  signals:
    void noticeShown(const QString& text);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void placeBesideAnchor();
    // The least width at which the notice's text shows whole: its widest word on one line.
    int narrowestReadableWidth() const;

    QPointer<QWidget> anchor_;
    QTimer hideTimer_;
};

}  // namespace tessavine
