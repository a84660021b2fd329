#pragma once

#include <QWidget>

namespace tessavine {

// The About window "credits": a fixed-size window with one read-only text. It has no button of
// its own; the user closes it with the window's close button, which destroys it.
class AboutWindow : public QWidget {
    Q_OBJECT

  public:
    // A separate top-level window owned by `owner`, so it goes when the owner goes.
    explicit AboutWindow(QWidget* owner);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool centred_ = false;
};

}  // namespace tessavine
