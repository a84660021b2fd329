#pragma once

#include "core/main_controls.h"

namespace tessavine {

class MainWindow;

// The main window's control values as the logic reads and writes them. Texts travel as UTF-8.
class WidgetControls final : public MainControls {
  public:
    explicit WidgetControls(MainWindow& window) : window_(window) {}

    std::string text(TextField field) const override;
    void setText(TextField field, const std::string& text) override;
    int boldState() const override;
    void setBoldState(int state) override;
    int italicizeState() const override;
    void setItalicizeState(int state) override;
    int slotBoxState(int index) const override;
    void setSlotBoxState(int index, int state) override;

  private:
    MainWindow& window_;
};

}  // namespace tessavine
