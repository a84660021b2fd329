#include "windows/native_main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/key_filter.h"
#include "ui/window_description.h"
#include "windows/dpi.h"
#include "windows/wide_text.h"
#include "windows/window_images.h"

namespace tessavine {

namespace {

constexpr const wchar_t* kClassName = L"TessavineMain";
// Command ids clear of the dialog manager's own: Enter in a field becomes the command IDOK (1)
// and Escape IDCANCEL (2), which must never run a menu entry or press a control.
constexpr UINT kAboutCommand = 0x1000;
constexpr int kFirstControlId = 100;
static_assert(kAboutCommand > IDCANCEL && kFirstControlId > IDCANCEL);
constexpr const char* kActivationFocusControl = "Command1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
constexpr UINT_PTR kFieldSubclassId = 1;

COLORREF colourRef(const Rgb& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

OwnedBrush solidBrush(const Rgb& colour) {
    return OwnedBrush(CreateSolidBrush(colourRef(colour)));
}

// The room a control leaves for its caption at 96 dots per inch: the frame of a text box, the
// box of a check box, the border of a button.
SIZE captionRoom(const ControlDescription& control, const PixelRect& place, int dpi) {
    switch (control.kind) {
        case ControlKind::hint:  // the 2-pixel edge each side, the margins set in layOut()
            return {place.width - 4 - 2 * scaled(2, dpi), place.height - 4};
        case ControlKind::checkBox:
            return {place.width - scaled(16, dpi), place.height};
        case ControlKind::button:
            return {place.width - scaled(6, dpi), place.height - scaled(4, dpi)};
        default:
            return {place.width, place.height};
    }
}

bool hasCaption(ControlKind kind) {
    return kind == ControlKind::label || kind == ControlKind::hint ||
           kind == ControlKind::checkBox || kind == ControlKind::button;
}

}  // namespace

struct NativeMainWindow::Control {
    const ControlDescription& description;
    HWND window = nullptr;  // none for what the window paints itself: pictures and rules
    int id = 0;
};

NativeMainWindow::NativeMainWindow(HINSTANCE instance, MainWindowEvents events,
                                   const WindowImages& images)
    : instance_(instance),
      events_(std::move(events)),
      images_(images),
      white_(solidBrush(kWhite)),
      lightCyan_(solidBrush(kLightCyan)),
      lightYellow_(solidBrush(kLightYellow)),
      lightGreen_(solidBrush(kLightGreen)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &NativeMainWindow::windowProcedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_STRING, kAboutCommand, wideFromUtf8(kAboutMenuCaption).c_str());
    const std::wstring caption = wideFromUtf8(kMainWindowFrame.caption);
    window_ = CreateWindowExW(kExtendedStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 100, 100, nullptr, menu_, instance_, this);
    createControls();
    applyTabOrder();
    layOut(dpiOfWindow(window_));
}

NativeMainWindow::~NativeMainWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

HWND NativeMainWindow::control(const std::string& name) const {
    for (const auto& control : controls_) {
        if (control->description.name == name) {
            return control->window;
        }
    }
    return nullptr;
}

HWND NativeMainWindow::field(TextField which) const {
    for (const auto& control : controls_) {
        if (control->description.field == which) {
            return control->window;
        }
    }
    return nullptr;
}

void NativeMainWindow::show() {
    centreOnScreen(window_);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    // The activation puts the focus on Execute; this covers a start without activation.
    if (HWND target = control(kActivationFocusControl);
        target != nullptr && GetFocus() == nullptr) {
        SetFocus(target);
    }
}

void NativeMainWindow::activated(bool active, HWND other) {
    if (!active) {
        // Where the focus goes next time depends on where the activation went now.
        returningFromOwnWindow_ =
            other != nullptr && GetWindowThreadProcessId(other, nullptr) == GetCurrentThreadId();
        HWND focus = GetFocus();
        savedFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : nullptr;
        return;
    }
    // Execute has the focus when the window is first shown and whenever the user comes back
    // from one of the program's own windows (About, a question); back from another program the
    // focus is where the user left it.
    HWND target = control(kActivationFocusControl);
    if (!firstActivation_ && !returningFromOwnWindow_ && savedFocus_ != nullptr &&
        IsWindow(savedFocus_)) {
        target = savedFocus_;
    }
    firstActivation_ = false;
    returningFromOwnWindow_ = false;
    if (target != nullptr) {
        SetFocus(target);
    }
}

void NativeMainWindow::createControls() {
    int id = kFirstControlId;
    // The controls' ids stay below the menu's.
    static_assert(kFirstControlId + 100 < static_cast<int>(kAboutCommand));
    for (const ControlDescription& description : mainWindowControls()) {
        auto control = std::make_unique<Control>(Control{description, nullptr, id++});
        const std::wstring caption = wideFromUtf8(description.caption);
        const auto menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id));
        const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        switch (description.kind) {
            case ControlKind::picture:
            case ControlKind::verticalRule:
                break;
            case ControlKind::label:
                control->window = CreateWindowExW(0, L"STATIC", caption.c_str(),
                                                  child | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0,
                                                  0, 0, 0, window_, menuId, instance_, nullptr);
                break;
            case ControlKind::hint:
                control->window =
                    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", caption.c_str(),
                                    child | WS_TABSTOP | ES_READONLY | ES_CENTER | ES_AUTOHSCROLL,
                                    0, 0, 0, 0, window_, menuId, instance_, nullptr);
                break;
            case ControlKind::entryField:
                control->window = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", caption.c_str(),
                                                  child | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                                                  window_, menuId, instance_, nullptr);
                if (description.maxLength > 0) {
                    SendMessageW(control->window, EM_LIMITTEXT,
                                 static_cast<WPARAM>(description.maxLength), 0);
                }
                SetWindowSubclass(control->window, &NativeMainWindow::fieldProcedure,
                                  kFieldSubclassId,
                                  static_cast<DWORD_PTR>(static_cast<int>(description.filter)));
                break;
            case ControlKind::checkBox:
                // Not the automatic kind: a click ticks or unticks, and a greyed box set by the
                // program is ticked by a click, never left greyed.
                control->window =
                    CreateWindowExW(0, L"BUTTON", caption.c_str(), child | WS_TABSTOP | BS_3STATE,
                                    0, 0, 0, 0, window_, menuId, instance_, nullptr);
                SendMessageW(control->window, BM_SETCHECK,
                             description.initialState == kTicked ? BST_CHECKED : BST_UNCHECKED, 0);
                EnableWindow(control->window, description.enabled ? TRUE : FALSE);
                break;
            case ControlKind::button:
                control->window = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                                  child | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0,
                                                  window_, menuId, instance_, nullptr);
                break;
        }
        controls_.push_back(std::move(control));
    }
}

void NativeMainWindow::applyTabOrder() {
    // Tab moves along the order of the children, which is also the order in which overlapping
    // children cover each other: the focusable controls go on top, in tab order, which keeps
    // fontname1 over the edge of Label1(0), as it is drawn in the description.
    HWND previous = HWND_TOP;
    for (const std::string& name : mainWindowTabOrder()) {
        HWND next = control(name);
        if (next == nullptr) {
            continue;
        }
        SetWindowPos(next, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = next;
    }
}

void NativeMainWindow::layOut(int dpi) {
    dpi_ = dpi;
    const int clientWidth = twipsToPixels(kMainWindowFrame.clientWidthTwips, dpi);
    const int clientHeight = twipsToPixels(kMainWindowFrame.clientHeightTwips, dpi);
    const RECT outer = outerRectFor(clientWidth, clientHeight, kStyle, kExtendedStyle, true, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    chooseCaptionFont();
    for (const auto& control : controls_) {
        if (control->window == nullptr) {
            continue;
        }
        const PixelRect place = toPixels(control->description.place, dpi);
        SetWindowPos(control->window, nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = control->description.kind == ControlKind::entryField ? fieldFont_.get()
                                                                          : captionFont_.get();
        SendMessageW(control->window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (control->description.kind == ControlKind::hint) {
            // Known margins, so that the room counted for a hint's caption is the room it has.
            const int margin = scaled(1, dpi);
            SendMessageW(control->window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(margin, margin));
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void NativeMainWindow::chooseCaptionFont() {
    LOGFONTW font = messageFont(dpi_);
    fieldFont_.reset(CreateFontIndirectW(&font));
    // All captions share one size: the platform's, or the largest smaller one at which every
    // caption fits its control in width and height.
    HDC dc = GetDC(window_);
    const int fullHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    const int smallest = scaled(6, dpi_);
    for (int height = fullHeight; height >= smallest; --height) {
        font.lfHeight = -height;
        OwnedFont candidate(CreateFontIndirectW(&font));
        HGDIOBJ previous = SelectObject(dc, candidate.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        bool fits = true;
        for (const auto& control : controls_) {
            const ControlDescription& description = control->description;
            if (!hasCaption(description.kind)) {
                continue;
            }
            const std::wstring caption = wideFromUtf8(description.caption);
            SIZE size{};
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
            const SIZE room = captionRoom(description, toPixels(description.place, dpi_), dpi_);
            if (size.cx > room.cx || metrics.tmHeight > room.cy) {
                fits = false;
                break;
            }
        }
        SelectObject(dc, previous);
        if (fits || height == smallest) {
            captionFont_ = std::move(candidate);
            break;
        }
    }
    ReleaseDC(window_, dc);
}

void NativeMainWindow::paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    for (const auto& control : controls_) {
        const ControlDescription& description = control->description;
        if (description.kind == ControlKind::picture) {
            const PixelRect place = toPixels(description.place, dpi_);
            const RECT rect{place.left, place.top, place.left + place.width,
                            place.top + place.height};
            // Above 100 % the drawing at twice the resolution keeps the lettering sharp.
            const bool dense = dpi_ > kBaseDpi && !description.denseImage.empty();
            images_.draw(dc, dense ? description.denseImage : description.image, rect);
        } else if (description.kind == ControlKind::verticalRule) {
            const int left = twipsToPixels(description.place.left, dpi_);
            const RECT rule{left, twipsToPixels(description.place.top, dpi_),
                            left + scaled(1, dpi_),
                            twipsToPixels(description.place.top + description.place.height, dpi_)};
            FillRect(dc, &rule, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
    EndPaint(window_, &paint);
}

LRESULT NativeMainWindow::colour(HDC dc, HWND window) {
    for (const auto& control : controls_) {
        if (control->window != window) {
            continue;
        }
        switch (control->description.kind) {
            case ControlKind::label:
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, colourRef(kLightGreen));
                return reinterpret_cast<LRESULT>(lightGreen_.get());
            case ControlKind::hint:
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, colourRef(kLightCyan));
                return reinterpret_cast<LRESULT>(lightCyan_.get());
            case ControlKind::entryField:
                SetTextColor(dc, colourRef(kBlue));
                SetBkColor(dc, colourRef(kWhite));
                return reinterpret_cast<LRESULT>(white_.get());
            case ControlKind::checkBox:
                SetTextColor(dc,
                             IsWindowEnabled(window) ? colourRef(kBlue) : colourRef(kDisabledGrey));
                SetBkColor(dc, colourRef(kLightYellow));
                return reinterpret_cast<LRESULT>(lightYellow_.get());
            default:
                break;
        }
    }
    return 0;
}

void NativeMainWindow::drawButton(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    OwnedBrush face = solidBrush(pressed ? Rgb{96, 224, 96} : kButtonGreen);
    OwnedBrush edge = solidBrush(focused ? Rgb{0, 96, 0} : Rgb{64, 128, 64});
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, face.get());
    const int edgeWidth = scaled(focused ? 2 : 1, dpi_);
    for (int i = 0; i < edgeWidth; ++i) {
        FrameRect(item.hDC, &rect, edge.get());
        InflateRect(&rect, -1, -1);
    }
    wchar_t caption[64] = {};
    GetWindowTextW(item.hwndItem, caption, 64);
    HGDIOBJ previous = SelectObject(item.hDC, captionFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, previous);
}

void NativeMainWindow::takeDrop(HANDLE dropHandle) {
    auto* drop = static_cast<HDROP>(dropHandle);
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(path);
    }
    DragFinish(drop);
    if (events_.drop) {
        events_.drop(paths);
    }
}

void NativeMainWindow::pasteThroughFilter(HWND field, KeyFilter filter) {
    if (filter == KeyFilter::none) {
        DefSubclassProc(field, WM_PASTE, 0, 0);
        return;
    }
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(field)) {
        return;
    }
    std::wstring kept;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            for (const wchar_t* c = text; *c != L'\0'; ++c) {
                if (keepsPastedCharacter(filter, static_cast<int>(*c))) {
                    kept.push_back(*c);
                }
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!kept.empty()) {
        // Replaces the selection, can be undone; the field's greatest length still holds.
        SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
    }
}

LRESULT CALLBACK NativeMainWindow::fieldProcedure(HWND field, UINT message, WPARAM w, LPARAM l,
                                                  UINT_PTR, DWORD_PTR data) {
    const auto filter = static_cast<KeyFilter>(data);
    switch (message) {
        case WM_CHAR: {
            const int code = static_cast<int>(w);
            if (const auto command = editingCommandOf(code)) {
                if (*command == EditingCommand::selectAll) {
                    SendMessageW(field, EM_SETSEL, 0, -1);
                    return 0;
                }
                if (*command == EditingCommand::paste) {
                    pasteThroughFilter(field, filter);
                    return 0;
                }
                break;  // copy, cut and undo: the edit control's own
            }
            // The key filter, on the character code as typed; a refused one is dropped silently.
            if (!passesKeyFilter(filter, code)) {
                return 0;
            }
            break;
        }
        case WM_KEYDOWN:
            // Shift+Insert pastes without a WM_PASTE in some edit controls.
            if (w == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
                pasteThroughFilter(field, filter);
                return 0;
            }
            break;
        case WM_PASTE:  // the context menu's Paste, and whatever else sends it
            pasteThroughFilter(field, filter);
            return 0;
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(field, message, w, l);
            SendMessageW(field, EM_SETSEL, 0, -1);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(field, &NativeMainWindow::fieldProcedure, kFieldSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(field, message, w, l);
}

LRESULT CALLBACK NativeMainWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<NativeMainWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    return self->handle(message, w, l);
}

LRESULT NativeMainWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(w);
            if (HIWORD(w) == 0 && id == static_cast<int>(kAboutCommand) && l == 0) {
                if (events_.about) {
                    events_.about();
                }
                return 0;
            }
            if (HIWORD(w) != BN_CLICKED) {
                return 0;
            }
            for (const auto& control : controls_) {
                if (control->id != id || control->window == nullptr) {
                    continue;
                }
                if (control->description.kind == ControlKind::button && events_.execute) {
                    events_.execute();
                } else if (control->description.kind == ControlKind::checkBox) {
                    const LRESULT state = SendMessageW(control->window, BM_GETCHECK, 0, 0);
                    SendMessageW(control->window, BM_SETCHECK,
                                 state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
                }
            }
            return 0;
        }
        case WM_ACTIVATE:
            activated(LOWORD(w) != WA_INACTIVE, reinterpret_cast<HWND>(l));
            return 0;
        case WM_ACTIVATEAPP:
            if (w == FALSE) {  // off to another program
                returningFromOwnWindow_ = false;
            }
            break;
        case WM_TIMER:
            if (w == kTimer1Id && events_.tick) {
                events_.tick();
            }
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const LRESULT brush = colour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
            return brush != 0 ? brush : DefWindowProcW(window_, message, w, l);
        }
        case WM_DRAWITEM:
            drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
            return TRUE;
        case WM_ERASEBKGND:
            return 1;  // the background picture covers the whole client area
        case WM_PAINT:
            paint();
            return 0;
        case WM_DROPFILES:
            takeDrop(reinterpret_cast<HANDLE>(w));
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(l);
            layOut(HIWORD(w));
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (events_.close) {
                events_.close();
            }
            return 0;
        default:
            if (message == kConverterFinishedMessage) {
                if (events_.converterFinished) {
                    events_.converterFinished();
                }
                return 0;
            }
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace tessavine
