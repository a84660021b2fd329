#pragma once

#include <string>

#include "core/result_notices.h"
#include "windows/gdi_handles.h"
#include "windows/win32.h"

namespace tessavine {

// The result notices as a small pale-yellow popup just below the main window's frame (above it
// when the screen ends first): it never takes the focus (WS_EX_NOACTIVATE, shown without
// activation), never covers the window's controls, and hides itself after a few seconds or at a
// click; a new notice replaces the one showing.
class PopupNotices final : public ResultNotices {
  public:
    PopupNotices(HINSTANCE instance, HWND owner);
    ~PopupNotices() override;
    PopupNotices(const PopupNotices&) = delete;
    PopupNotices& operator=(const PopupNotices&) = delete;

    void showNotice(const std::string& text) override;
    HWND handle() const { return window_; }

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);

    HWND owner_;
    HWND window_ = nullptr;
    std::wstring text_;
    OwnedFont font_;
};

}  // namespace tessavine
