#include "windows/about_window.h"

#include <string>

#include "ui/window_description.h"
#include "windows/dpi.h"
#include "windows/wide_text.h"

namespace tessavine {

namespace {

constexpr const wchar_t* kClassName = L"TessavineCredits";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExtendedStyle = WS_EX_DLGMODALFRAME;

// The edit control shows line breaks only as CR LF.
std::wstring withCarriageReturns(const std::string& text) {
    std::wstring result;
    for (const wchar_t c : wideFromUtf8(text)) {
        if (c == L'\n') {
            result.push_back(L'\r');
        }
        result.push_back(c);
    }
    return result;
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &AboutWindow::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    const std::wstring caption = wideFromUtf8(kAboutWindowFrame.caption);
    window_ = CreateWindowExW(kExtendedStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 100, 100, owner, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", withCarriageReturns(kAboutText).c_str(),
                            WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0, window_,
                            nullptr, instance, nullptr);
    layOut(dpiOfWindow(window_));
}

AboutWindow::~AboutWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void AboutWindow::layOut(int dpi) {
    const RECT outer = outerRectFor(twipsToPixels(kAboutWindowFrame.clientWidthTwips, dpi),
                                    twipsToPixels(kAboutWindowFrame.clientHeightTwips, dpi), kStyle,
                                    kExtendedStyle, false, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Larger than the window on purpose: its right and bottom edges are cut off.
    const PixelRect place = toPixels(kAboutTextPlace, dpi);
    SetWindowPos(text_, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LOGFONTW font = messageFont(dpi);
    font_.reset(CreateFontIndirectW(&font));
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void AboutWindow::show() {
    if (!centred_) {
        centred_ = true;
        centreOnScreen(window_);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

LRESULT CALLBACK AboutWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DPICHANGED:
            if (self != nullptr) {
                self->layOut(HIWORD(w));
                const auto* suggested = reinterpret_cast<const RECT*>(l);
                SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace tessavine
