#include "app/widget_controls.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ui/main_window.h"

namespace tessavine {

namespace {

int stateOf(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Checked:
            return kTicked;
        case Qt::PartiallyChecked:
            return kGreyed;
        case Qt::Unchecked:
            break;
    }
    return kUnticked;
}

// Any state the logic does not know shows as unticked, which is also how it counts.
void setStateOf(QCheckBox& box, int state) {
    switch (state) {
        case kTicked:
            box.setCheckState(Qt::Checked);
            break;
        case kGreyed:
            box.setCheckState(Qt::PartiallyChecked);
            break;
        default:
            box.setCheckState(Qt::Unchecked);
            break;
    }
}

}  // namespace

std::string WidgetControls::text(TextField field) const {
    return window_.field(field).text().toStdString();
}

void WidgetControls::setText(TextField field, const std::string& text) {
    window_.field(field).setText(QString::fromStdString(text));
}

int WidgetControls::boldState() const {
    return stateOf(window_.boldBox());
}

void WidgetControls::setBoldState(int state) {
    setStateOf(window_.boldBox(), state);
}

int WidgetControls::italicizeState() const {
    return stateOf(window_.italicizeBox());
}

void WidgetControls::setItalicizeState(int state) {
    setStateOf(window_.italicizeBox(), state);
}

int WidgetControls::slotBoxState(int index) const {
    return stateOf(window_.slotBox(index));
}

void WidgetControls::setSlotBoxState(int index, int state) {
    setStateOf(window_.slotBox(index), state);
}

}  // namespace tessavine
