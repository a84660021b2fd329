#include "app/notice_balloon.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>

namespace tessavine {
namespace {

constexpr int kGapPixels = 6;  // between the window's frame and the balloon
constexpr int kShortestShowMilliseconds = 5000;
constexpr int kLongestShowMilliseconds = 12000;
constexpr int kMillisecondsPerCharacter = 40;  // a slow reader's pace

}  // namespace

NoticeBalloon::NoticeBalloon(QWidget& anchor)
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::WindowStaysOnTopHint),
      anchor_(&anchor) {
    setObjectName("resultNotice");
    // The keyboard stays where the user left it: in a field or on Execute.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // File names and folder paths are shown as they are, never read as markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(8);
    setStyleSheet(
        "QLabel#resultNotice { background: #ffffe1; color: black; border: 1px solid #767676; }");
    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

int NoticeBalloon::showMilliseconds(const QString& text) {
    return std::clamp(static_cast<int>(text.size()) * kMillisecondsPerCharacter,
                      kShortestShowMilliseconds, kLongestShowMilliseconds);
}

void NoticeBalloon::showNotice(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    setText(shown);
    placeBesideAnchor();
    show();
    hideTimer_.start(showMilliseconds(shown));
    emit noticeShown(shown);
}

void NoticeBalloon::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hideTimer_.stop();
    hide();
}

void NoticeBalloon::placeBesideAnchor() {
    if (!anchor_) {
        return;
    }
    const QRect frame = anchor_->frameGeometry();
    QScreen* screen = anchor_->screen() ? anchor_->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : frame.adjusted(0, 0, 0, 400);
    const auto sized = [this](int width) {
        return QSize(width, std::max(minimumSizeHint().height(), heightForWidth(width)));
    };
    // Below the window, under its Execute button; else above it; else beside it, right or left.
    // All lie outside the window's frame, so the notice hides none of its fields. The window is
    // centred on a screen far larger than itself, so one of them fits.
    const int fullWidth = std::min(frame.width(), room.width());
    const QSize wide = sized(fullWidth);
    const int besideRight = room.right() - frame.right() - kGapPixels;
    const int besideLeft = frame.left() - room.left() - kGapPixels;
    const QSize right = sized(std::clamp(besideRight, 1, fullWidth));
    const QSize left = sized(std::clamp(besideLeft, 1, fullWidth));
    const QRect candidates[] = {
        {QPoint(frame.left(), frame.bottom() + 1 + kGapPixels), wide},
        {QPoint(frame.left(), frame.top() - kGapPixels - wide.height()), wide},
        {QPoint(frame.right() + 1 + kGapPixels, frame.top()), right},
        {QPoint(frame.left() - kGapPixels - left.width(), frame.top()), left},
    };
    QRect chosen = candidates[0];
    for (const QRect& candidate : candidates) {
        QRect shifted = candidate;
        // Kept on the screen sideways, as long as that does not bring it over the window.
        shifted.moveLeft(
            std::clamp(shifted.left(), room.left(), room.right() + 1 - shifted.width()));
        if (room.contains(shifted) && !shifted.intersects(frame)) {
            chosen = shifted;
            break;
        }
    }
    setFixedSize(chosen.size());
    move(chosen.topLeft());
}

}  // namespace tessavine
