#include "app/notice_balloon.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "core/notice_duration.h"

namespace tessavine {
namespace {

constexpr int kGapPixels = 6;  // between the window's frame and the balloon

}  // namespace

NoticeBalloon::NoticeBalloon(QWidget& anchor)
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::WindowStaysOnTopHint),
      anchor_(&anchor) {
    setObjectName("resultNotice");
    // Named for the screen and for tools that find windows by title, as the Windows notice is.
    setWindowTitle(QStringLiteral("Tessavine notice"));
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

void NoticeBalloon::showNotice(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    setText(shown);
    placeBesideAnchor();
    show();
    hideTimer_.start(noticeShowTime(text));
    emit noticeShown(shown);
}

void NoticeBalloon::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hideTimer_.stop();
    hide();
}

int NoticeBalloon::narrowestReadableWidth() const {
    // The widest word (a folder path is one) must fit on a line of its own: a wrapped label
    // never breaks inside a word, and cuts off what does not fit.
    const QFontMetrics metrics(font());
    int widestWord = 0;
    for (const QString& line : text().split('\n')) {
        for (const QString& word : line.split(' ', Qt::SkipEmptyParts)) {
            widestWord = std::max(widestWord, metrics.horizontalAdvance(word));
        }
    }
    const QMargins chrome = contentsMargins();
    return widestWord + chrome.left() + chrome.right() + 2 * margin() + metrics.averageCharWidth();
}

void NoticeBalloon::placeBesideAnchor() {
    if (!anchor_) {
        return;
    }
    // The style sheet's border and the font take part in every size below; before the first
    // show they may not be applied yet.
    ensurePolished();
    const QRect frame = anchor_->frameGeometry();
    QScreen* screen = anchor_->screen() ? anchor_->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : frame.adjusted(0, 0, 0, 400);
    // The height the text takes wrapped at that width, counted from the font itself: a wrapping
    // label's own size hints are for a width of its choosing and can be far taller.
    const auto sized = [this](int width) {
        const QMargins chrome = contentsMargins();
        const int textWidth = width - chrome.left() - chrome.right() - 2 * margin();
        const int textHeight = QFontMetrics(font())
                                   .boundingRect(QRect(0, 0, std::max(textWidth, 1), 1 << 20),
                                                 Qt::TextWordWrap, text())
                                   .height();
        return QSize(width, textHeight + chrome.top() + chrome.bottom() + 2 * margin());
    };
    // As wide as the window, never narrower than its widest word, never wider than the screen.
    const int narrowest = std::min(narrowestReadableWidth(), room.width());
    const int fullWidth = std::clamp(frame.width(), narrowest, room.width());
    const QSize wide = sized(fullWidth);
    // Below the window, under its Execute button; else above it; else beside it, right or left,
    // where a side has room for a readable notice. All lie outside the window's frame, so the
    // notice hides none of its fields.
    const int besideRight = std::min(room.right() - frame.right() - kGapPixels, fullWidth);
    const int besideLeft = std::min(frame.left() - room.left() - kGapPixels, fullWidth);
    std::vector<QRect> candidates = {
        {QPoint(frame.left(), frame.bottom() + 1 + kGapPixels), wide},
        {QPoint(frame.left(), frame.top() - kGapPixels - wide.height()), wide},
    };
    if (besideRight >= narrowest) {
        candidates.emplace_back(QPoint(frame.right() + 1 + kGapPixels, frame.top()),
                                sized(besideRight));
    }
    if (besideLeft >= narrowest) {
        candidates.emplace_back(QPoint(frame.left() - kGapPixels - besideLeft, frame.top()),
                                sized(besideLeft));
    }
    const auto keptOnScreenSideways = [&room](QRect place) {
        place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - place.width()));
        return place;
    };
    for (const QRect& candidate : candidates) {
        // Kept on the screen sideways, as long as that does not bring it over the window.
        const QRect shifted = keptOnScreenSideways(candidate);
        if (room.contains(shifted) && !shifted.intersects(frame)) {
            setFixedSize(shifted.size());
            move(shifted.topLeft());
            return;
        }
    }
    // No side has room: the notice stands over the window's lower edge, whole on the screen,
    // where it hides the least of the fields.
    QRect overLowerEdge = keptOnScreenSideways(candidates.front());
    overLowerEdge.moveBottom(std::min(overLowerEdge.bottom(), room.bottom()));
    overLowerEdge.moveTop(std::max(overLowerEdge.top(), room.top()));
    setFixedSize(overLowerEdge.size());
    move(overLowerEdge.topLeft());
}

}  // namespace tessavine
