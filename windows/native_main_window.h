#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/main_controls.h"
#include "ui/key_filter.h"
#include "windows/gdi_handles.h"
#include "windows/win32.h"

namespace tessavine {

class WindowImages;

// Window messages of our own, posted to the main window.
inline constexpr UINT kConverterFinishedMessage = WM_APP + 1;

// What the main window hands on; it knows nothing of what the controls do.
struct MainWindowEvents {
    std::function<void()> execute;                               // Command1 pressed
    std::function<void()> tick;                                  // Timer1 fired
    std::function<void()> about;                                 // the menu entry About
    std::function<void()> close;                                 // any request to close
    std::function<void(const std::vector<std::wstring>&)> drop;  // files dropped, full paths
    std::function<void()> converterFinished;                     // kConverterFinishedMessage
};

// The main window "main" with the platform's own controls, built from the window's description:
// every control in its place at the window's dots per inch (15 twips a pixel at 96), moved and
// resized evenly when the window moves to a screen of another scale; the colours; the fields'
// key filters, length limits and select-all on focus; one caption font for all captions, the
// largest at which each caption fits; the pictures drawn by GDI+.
class NativeMainWindow {
  public:
    static constexpr UINT_PTR kTimer1Id = 1;

    NativeMainWindow(HINSTANCE instance, MainWindowEvents events, const WindowImages& images);
    ~NativeMainWindow();
    NativeMainWindow(const NativeMainWindow&) = delete;
    NativeMainWindow& operator=(const NativeMainWindow&) = delete;

    HWND handle() const { return window_; }
    // The control of that name in the description; null for a name that is none.
    HWND control(const std::string& name) const;
    HWND field(TextField which) const;
    // Centred on its screen, then shown.
    void show();
    int dpi() const { return dpi_; }

  private:
    struct Control;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK fieldProcedure(HWND field, UINT message, WPARAM w, LPARAM l,
                                           UINT_PTR id, DWORD_PTR data);
    static void pasteThroughFilter(HWND field, KeyFilter filter);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    // WM_ACTIVATE: `other` is the window that loses or takes the activation.
    void activated(bool active, HWND other);
    void createControls();
    void applyTabOrder();
    void layOut(int dpi);
    void chooseCaptionFont();
    void paint();
    LRESULT colour(HDC dc, HWND control);
    void drawButton(const DRAWITEMSTRUCT& item);
    void takeDrop(HANDLE drop);

    HINSTANCE instance_;
    MainWindowEvents events_;
    const WindowImages& images_;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    int dpi_ = 96;
    bool firstActivation_ = true;
    bool returningFromOwnWindow_ = false;
    HWND savedFocus_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    OwnedFont captionFont_;
    OwnedFont fieldFont_;
    OwnedBrush white_, lightCyan_, lightYellow_, lightGreen_;
};

}  // namespace tessavine
