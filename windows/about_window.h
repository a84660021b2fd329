#pragma once

#include "windows/gdi_handles.h"
#include "windows/win32.h"

namespace tessavine {

// The About window "credits": created hidden with the main window as its owner, shown modeless
// on request; closing it only hides it again.
class AboutWindow {
  public:
    AboutWindow(HINSTANCE instance, HWND owner);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    HWND handle() const { return window_; }
    void show();

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void layOut(int dpi);

    HWND window_ = nullptr;
    HWND text_ = nullptr;
    OwnedFont font_;
    bool centred_ = false;
};

}  // namespace tessavine
