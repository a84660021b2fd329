#include "ui/fit_caption.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tessavine {

namespace {

constexpr double kSmallestPointSize = 6.5;
constexpr double kPointSizeStep = 0.5;

// The width the control's caption needs at the control's current font; 0 for a control
// without a caption.
int widthNeeded(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text().isEmpty() ? 0 : label->sizeHint().width();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        // The frame on both sides and the field's own small margin.
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
        const int margins = 2 * frame + 4;
        return edit->text().isEmpty()
                   ? 0
                   : edit->fontMetrics().horizontalAdvance(edit->text()) + margins;
    }
    return 0;
}

}  // namespace

void fitCaption(QWidget& control) {
    QFont font = control.font();
    if (font.pointSizeF() <= 0) {
        return;  // a font sized in pixels: leave it as the platform chose it
    }
    while (widthNeeded(control) > control.width() &&
           font.pointSizeF() - kPointSizeStep >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - kPointSizeStep);
        control.setFont(font);
    }
}

}  // namespace tessavine
