#include "ui/entry_field.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/typed_character.h"

namespace tessavine {

EntryField::EntryField(KeyFilter filter, QWidget* parent) : QLineEdit(parent), filter_(filter) {
    if (filter_ != KeyFilter::none) {
        // Characters composed by an input method would bypass keyPressEvent and so the filter.
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }
}

void EntryField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Coming back to the window or closing a context menu returns the focus the field already
    // had; only a real move of the focus into the field selects.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        selectAll();
    }
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    const std::optional<int> code = typedCharacterCode(*event);
    if (code && !passesKeyFilter(filter_, *code)) {
        event->accept();  // dropped without a sound
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace tessavine
