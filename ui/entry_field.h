#pragma once

#include <QLineEdit>

#include "ui/key_filter.h"

namespace tessavine {

// A one-line entry field of the main window: it selects its whole text when it receives the
// focus, so that typing replaces the old value, and drops every typed character its key filter
// refuses. The editing shortcuts Ctrl+A, C, X, V and Z work; a Ctrl+V paste goes through the key
// filter character by character. Text that arrives any other way (set by the program, pasted
// from the context menu, dropped) is not filtered.
class EntryField : public QLineEdit {
    Q_OBJECT

  public:
    EntryField(KeyFilter filter, QWidget* parent);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void pasteThroughFilter();

    KeyFilter filter_;
};

}  // namespace tessavine
