#include "ui/entry_field.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
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
    // The editing commands are commands, not the control characters a classic text field would
    // be handed for them: Ctrl+A, C, X and Z do what they do in any field.
    if (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste) && filter_ != KeyFilter::none) {
        event->accept();
        pasteThroughFilter();
        return;
    }
    const std::optional<int> code = typedCharacterCode(*event);
    if (code && !passesKeyFilter(filter_, *code)) {
        event->accept();  // dropped without a sound
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryField::pasteThroughFilter() {
    // "1,5" or " 2.5 " copied from elsewhere becomes "15" or "2.5" rather than a text the key
    // filter would never have let in.
    QString kept;
    for (const QChar c : QGuiApplication::clipboard()->text()) {
        if (keepsPastedCharacter(filter_, c.unicode())) {
            kept += c;
        }
    }
    if (!kept.isEmpty()) {
        insert(kept);  // replaces the selection; the greatest length still holds
    }
}

}  // namespace tessavine
