#include "windows/popup_notices.h"

#include <algorithm>

#include "windows/dpi.h"
#include "windows/wide_text.h"

namespace tessavine {

namespace {

constexpr const wchar_t* kClassName = L"TessavineNotice";
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShowMilliseconds = 6000;
constexpr COLORREF kNoticeBackground = RGB(255, 255, 225);

}  // namespace

PopupNotices::PopupNotices(HINSTANCE instance, HWND owner) : owner_(owner) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &PopupNotices::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    window_ =
        CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"",
                        WS_POPUP | WS_BORDER, 0, 0, 10, 10, owner_, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PopupNotices::~PopupNotices() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void PopupNotices::showNotice(const std::string& text) {
    text_ = wideFromUtf8(text);
    const int dpi = dpiOfWindow(owner_);
    LOGFONTW font = messageFont(dpi);
    font_.reset(CreateFontIndirectW(&font));
    // As wide as the window's client area, as tall as the text wrapped into it.
    RECT client{};
    GetClientRect(owner_, &client);
    const int margin = scaled(6, dpi);
    RECT textRect{0, 0, client.right - 2 * margin, 0};
    HDC dc = GetDC(window_);
    HGDIOBJ previous = SelectObject(dc, font_.get());
    DrawTextW(dc, text_.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(window_, dc);
    // Outside the window's frame, below it, or above it when the screen ends first: over the
    // window it would hide the Execute button and the fields the user may be typing in.
    const int width = client.right;
    const int height = textRect.bottom + 2 * margin;
    const int gap = scaled(4, dpi);
    RECT frame{};
    GetWindowRect(owner_, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int x = frame.left + ((frame.right - frame.left) - width) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    int y = frame.bottom + gap;
    if (y + height > work.bottom) {
        y = std::max(static_cast<int>(work.top), static_cast<int>(frame.top) - gap - height);
    }
    SetWindowPos(window_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_, nullptr, TRUE);
    SetTimer(window_, kHideTimer, kShowMilliseconds, nullptr);
}

LRESULT CALLBACK PopupNotices::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<PopupNotices*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_TIMER:
        case WM_LBUTTONUP:
            KillTimer(window, kHideTimer);
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_PAINT:
            if (self != nullptr) {
                PAINTSTRUCT paint{};
                HDC dc = BeginPaint(window, &paint);
                RECT rect{};
                GetClientRect(window, &rect);
                const HBRUSH background = CreateSolidBrush(kNoticeBackground);
                FillRect(dc, &rect, background);
                DeleteObject(background);
                const int margin = scaled(6, dpiOfWindow(window));
                InflateRect(&rect, -margin, -margin);
                HGDIOBJ previous = SelectObject(dc, self->font_.get());
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
                DrawTextW(dc, self->text_.c_str(), -1, &rect, DT_WORDBREAK | DT_NOPREFIX);
                SelectObject(dc, previous);
                EndPaint(window, &paint);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace tessavine
