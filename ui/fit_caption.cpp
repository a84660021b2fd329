#include "ui/fit_caption.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <cmath>

namespace tessavine {

namespace {

constexpr double kSmallestPointSize = 6.0;
constexpr double kPointSizeStep = 0.25;

// QLineEdit keeps this much room between its contents rectangle and its text on each side.
constexpr int kLineEditHorizontalMargin = 2;
constexpr int kLineEditVerticalMargin = 1;

QStyleOptionButton buttonOption(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.rect = button.rect();
    return option;
}

// Where the control draws its caption, in its own coordinates; empty for no caption.
QRect captionRect(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty()) {
            return {};
        }
        const int margin = label->margin();
        return label->contentsRect().adjusted(margin, margin, -margin, -margin);
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        const QStyleOptionButton option = buttonOption(*box);
        return box->text().isEmpty()
                   ? QRect()
                   : box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        const QStyleOptionButton option = buttonOption(*button);
        return button->text().isEmpty() ? QRect()
                                        : button->style()->subElementRect(
                                              QStyle::SE_PushButtonContents, &option, button);
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        if (edit->text().isEmpty()) {
            return {};
        }
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(
                                                  QStyle::PM_DefaultFrameWidth, &option, edit)
                                            : 0;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        const QRect contents =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        return contents.marginsRemoved(edit->textMargins())
            .adjusted(kLineEditHorizontalMargin, kLineEditVerticalMargin,
                      -kLineEditHorizontalMargin, -kLineEditVerticalMargin);
    }
    return {};
}

QString captionText(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        return edit->text();
    }
    return {};
}

// The rows of the control that no later sibling (drawn over it) hides across its whole width,
// in the control's own coordinates.
QRect visiblePart(const QWidget& control) {
    QRect visible = control.rect();
    const QWidget* parent = control.parentWidget();
    if (parent == nullptr) {
        return visible;
    }
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(&control) + 1; i < siblings.size(); ++i) {
        const auto* sibling = qobject_cast<const QWidget*>(siblings[i]);
        if (sibling == nullptr || sibling->isHidden()) {
            continue;
        }
        const QRect over = sibling->geometry().translated(-control.pos()).intersected(visible);
        if (over.isEmpty() || over.width() < visible.width()) {
            continue;
        }
        if (over.bottom() >= visible.bottom()) {
            visible.setBottom(over.top() - 1);
        } else if (over.top() <= visible.top()) {
            visible.setTop(over.bottom() + 1);
        }
    }
    return visible;
}

}  // namespace

bool captionFits(const QWidget& control, const QFont& font) {
    const QRect room = captionRect(control);
    const QString text = captionText(control);
    if (room.isNull() || text.isEmpty()) {
        return true;
    }
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const double height = metrics.ascent() + metrics.descent();
    // Captions are centred vertically in their room.
    const double top = room.top() + (room.height() - height) / 2.0;
    const QRect visible = visiblePart(control);
    return std::ceil(width) <= room.width() && top >= visible.top() &&
           top + height <= visible.bottom() + 1.0;
}

void fitCaptions(const std::vector<QWidget*>& controls) {
    // A label partly hidden by a control over it centres its caption in the part that shows.
    for (QWidget* control : controls) {
        if (auto* label = qobject_cast<QLabel*>(control)) {
            const QRect visible = visiblePart(*label);
            label->setContentsMargins(0, visible.top(), 0, label->height() - 1 - visible.bottom());
        }
    }
    const auto allFit = [&controls](const QFont& font) {
        for (const QWidget* control : controls) {
            if (!captionFits(*control, font)) {
                return false;
            }
        }
        return true;
    };
    QFont font = controls.empty() ? QFont() : controls.front()->font();
    if (font.pointSizeF() <= 0 || allFit(font)) {
        return;  // the default fits (or is sized in pixels): no control sets a font
    }
    while (font.pointSizeF() - kPointSizeStep >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - kPointSizeStep);
        if (allFit(font)) {
            break;
        }
    }
    for (QWidget* control : controls) {
        control->setFont(font);
    }
}

void fitCaption(QWidget& control) {
    fitCaptions({&control});
}

}  // namespace tessavine
