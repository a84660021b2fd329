#pragma once

#include "core/main_controls.h"
#include "windows/win32.h"

namespace tessavine {

class NativeMainWindow;

// The main window's controls as the logic reads and writes them.
class NativeControls final : public MainControls {
  public:
    explicit NativeControls(const NativeMainWindow& window) : window_(window) {}

    std::string text(TextField field) const override;
    void setText(TextField field, const std::string& text) override;
    int boldState() const override;
    void setBoldState(int state) override;
    int italicizeState() const override;
    void setItalicizeState(int state) override;
    int slotBoxState(int index) const override;
    void setSlotBoxState(int index, int state) override;

  private:
    const NativeMainWindow& window_;
};

// Timer1 as a window timer of the main window: its ticks arrive as WM_TIMER.
class WindowTimer final : public Timer {
  public:
    WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
    void start(int intervalMilliseconds) override;
    void stop() override;
    bool isActive() const override { return active_; }

  private:
    HWND window_;
    UINT_PTR id_;
    bool active_ = false;
};

}  // namespace tessavine
