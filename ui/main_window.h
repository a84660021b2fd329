#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>

#include "core/main_controls.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tessavine {

class EntryField;

// The main window "main": every control in its fixed place, with its colours, initial texts and
// states and the tab order. It knows nothing of what the controls do; the program connects the
// button, the timer and the About entry and hears of close requests through closeRequested().
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow();

    QLineEdit& field(TextField which) const;
    QCheckBox& boldBox() const { return *bold_; }
    QCheckBox& italicizeBox() const { return *italicize_; }
    QCheckBox& slotBox(int index) const;  // Check1(index), 0 to 16
    QPushButton& executeButton() const { return *execute_; }
    QTimer& timer1() const { return *timer1_; }
    QAction& aboutAction() const { return *about_; }

  signals:
    // Any request to close the window, whatever its source. The window always closes.
    void closeRequested();
    // Files dropped onto the window, as native paths; an empty path for an item that is no
    // local file. The window only passes them on.
    void filesDropped(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls(QWidget& client);
    void applyTabOrder(QWidget& client);

    std::array<EntryField*, 6> fields_{};
    QCheckBox* bold_ = nullptr;
    QCheckBox* italicize_ = nullptr;
    std::array<QCheckBox*, kSlotCount + 1> slotBoxes_{};
    std::array<QLineEdit*, 8> hints_{};  // Text2 to Text9
    QPushButton* execute_ = nullptr;
    QTimer* timer1_ = nullptr;
    QAction* about_ = nullptr;
    bool centred_ = false;
};

}  // namespace tessavine
