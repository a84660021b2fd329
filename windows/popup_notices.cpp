#include "windows/popup_notices.h"

#include <algorithm>

#include "core/notice_duration.h"
#include "windows/dpi.h"
#include "windows/wide_text.h"

namespace tessavine {

namespace {

constexpr const wchar_t* kClassName = L"TessavineNotice";
constexpr UINT_PTR kHideTimer = 1;
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExtendedStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX;
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
    window_ = CreateWindowExW(kExtendedStyle, kClassName, L"Tessavine notice", kStyle, 0, 0, 10, 10,
                              owner_, nullptr, instance, nullptr);
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
    // As wide as the window's client area, as tall as the text wrapped into it; wider where a
    // word or path is longer than that line, so that nothing is cut off.
    RECT client{};
    GetClientRect(owner_, &client);
    const int margin = scaled(6, dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT textRect{0, 0, client.right - 2 * margin, 0};
    HDC dc = GetDC(window_);
    HGDIOBJ previous = SelectObject(dc, font_.get());
    DrawTextW(dc, text_.c_str(), -1, &textRect, DT_CALCRECT | kTextFormat);
    SelectObject(dc, previous);
    ReleaseDC(window_, dc);
    // The border lies outside the painted text: the window is the text's room plus the margins
    // plus the border, else the last line loses its lowest pixels (an underscore vanishes).
    const LONG textWidth = std::max<LONG>(textRect.right, client.right - 2 * margin);
    RECT outer{0, 0, textWidth + 2 * margin, textRect.bottom + 2 * margin};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExtendedStyle);
    const int width = static_cast<int>(std::min(outer.right - outer.left, work.right - work.left));
    const int height = static_cast<int>(outer.bottom - outer.top);
    // Outside the window's frame, below it, or above it when the screen ends first: over the
    // window it would hide the Execute button and the fields the user may be typing in. Where
    // neither has room it stands over the window's lower edge, whole on the screen.
    const int gap = scaled(4, dpi);
    RECT frame{};
    GetWindowRect(owner_, &frame);
    int x = frame.left + ((frame.right - frame.left) - width) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    int y = frame.bottom + gap;
    if (y + height > work.bottom) {
        y = frame.top - gap - height;
        if (y < work.top) {
            y = static_cast<int>(work.bottom) - height;
        }
    }
    SetWindowPos(window_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_, nullptr, TRUE);
    SetTimer(window_, kHideTimer, static_cast<UINT>(noticeShowTime(text).count()), nullptr);
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
                DrawTextW(dc, self->text_.c_str(), -1, &rect, kTextFormat);
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
