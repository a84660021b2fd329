#pragma once

#include <QBoxLayout>
#include <QImage>
#include <QMainWindow>

#include <functional>
#include <vector>

#include "psp_screen/character_table.h"
#include "psp_screen/table_pages.h"
#include "watched_font.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace tessavine::pgfview {

class PictureArea;

// The viewer: the watched font drawn on a PSP screen, its character table and a summary beside
// them. It only arranges widgets; the pictures come from the renderer.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit ViewerWindow(QWidget* parent = nullptr);

    void openFile(const QString& path);
    // Opens beside the Tessavine window, which stands centred on the screen, in the room on the
    // side with more of it, at the largest opening zoom whose picture fits there whole; that
    // room then bounds the window whenever the zoom changes. Called before the window is shown.
    void placeBesideMainWindow();
    // Saves the screen as it is shown now, zoom and outline included. Returns an empty string on
    // success, else what went wrong in words for the user.
    QString exportPng(const QString& path) const;

    // For tests: what File > Open… asks instead of the file dialog, given the folder it would
    // start in; an empty answer is a cancel.
    void setFontChooser(std::function<QString(const QString& folder)> chooser) {
        askForFont_ = std::move(chooser);
    }

    const WatchedFont& font() const { return font_; }
    QImage currentView() const { return view_; }

  signals:
    // The screen was drawn again, from a new font or new settings.
    void redrawn();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    // The client area the window may take: beside the main window when placed there, else the
    // screen's.
    QSize room() const;
    // The window's wish for its content with the side panel beside or below the picture.
    QSize contentWish(QBoxLayout::Direction direction);
    // Before the window is shown: the largest opening zoom whose picture fits the room whole.
    void openAtTheZoomThatFits();
    // As large as the picture at its zoom and the controls ask, within the room it has.
    void fitToContent();
    void redraw();
    void drawTableIfShown();
    void drawTablePage();
    void chooseFile();
    void chooseExport();

    std::function<QString(const QString& folder)> askForFont_;
    WatchedFont font_;
    QImage view_;
    std::vector<psp_screen::TableEntry> tableEntries_;
    std::vector<psp_screen::TablePage> tablePages_;
    psp_screen::TablePage shownPage_;
    psp_screen::TableGeometry tableGeometry_;
    int tableZoom_ = 1;
    QLineEdit* sample_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QComboBox* background_ = nullptr;
    QCheckBox* outline_ = nullptr;
    QCheckBox* onTop_ = nullptr;
    QPushButton* export_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* screen_ = nullptr;
    PictureArea* screenArea_ = nullptr;
    QWidget* central_ = nullptr;
    QBoxLayout* body_ = nullptr;
    QWidget* sidePanel_ = nullptr;
    QSize companionRoom_;  // the client area's room beside the main window; empty elsewhere
    QLabel* table_ = nullptr;
    QComboBox* tablePage_ = nullptr;
    QLabel* details_ = nullptr;
    QLabel* missingLabel_ = nullptr;  // names the set the list below is of
    QPlainTextEdit* missing_ = nullptr;
    QTabWidget* tabs_ = nullptr;
};

}  // namespace tessavine::pgfview
