#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace tessavine {

// Puts the focus on one control of the main window each time the window becomes active from
// within the program: when it is first shown and when the user comes back to it from the About
// window. Coming back from another program leaves the focus where the user had it.
class ActivationFocus final : public QObject {
    Q_OBJECT

  public:
    ActivationFocus(QWidget& mainWindow, QWidget& focusTarget);

    // A window of the program from which returning to the main window moves the focus.
    void watchReturnFrom(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& mainWindow_;
    QPointer<QWidget> focusTarget_;
    bool firstActivation_ = true;
    // The last of our windows to be active was a watched one.
    bool returningFromOwnWindow_ = false;
    // A watched window was closed; some platforms pass through "no window active" on the way
    // back to the main window, which must not count as leaving for another program.
    bool returningFromClosedWindow_ = false;
};

}  // namespace tessavine
