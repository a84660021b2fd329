#include "viewer_window.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/file_platform.h"
#include "core/utf8.h"
#include "file_stamp.h"
#include "font_facts.h"
#include "font_reading.h"
#include "pgf/character_set.h"
#include "psp_screen/character_table.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"
#include "screen_export.h"
#include "windows/dpi.h"
#include "windows/wide_text.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace tessavine::pgfview_windows {
namespace {

constexpr const wchar_t* kClassName = L"TessavinePgfview";
// The Tessavine window's class, to stand beside it.
constexpr const wchar_t* kMainWindowClass = L"TessavineMain";
// The main window's client area in pixels at 96 dpi, centred on the screen by the program.
constexpr int kMainClientWidth = 447;
constexpr int kMainClientHeight = 392;

// How often the file is looked at (one cheap attribute query): a replacement shows well within
// a second even on a busy machine.
constexpr UINT kPollMilliseconds = 100;
constexpr UINT_PTR kPollTimer = 1;

enum ControlId : int {
    kZoom = 101,
    kLight,
    kFirmware,
    kCharacters,
    kExport,
    kSample,
    kSummary,
    kStatus,
};

// Lengths in pixels at 96 dpi.
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;
constexpr int kPanelHeight = 190;
constexpr int kControlsWidth = 480;
constexpr int kStatusHeight = 36;

class Viewer {
  public:
    Viewer(HINSTANCE instance, std::filesystem::path path)
        : instance_(instance), path_(std::move(path)) {}

    bool create(bool companion);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    int px(int at96) const { return scaled(at96, dpi_); }
    // Screen pixels become whole blocks of device pixels: square and sharp at every scale.
    int pixelFactor() const { return zoom_ * std::max(1, (dpi_ + 48) / 96); }
    void createControls();
    void applyFonts();
    void layout();
    void fitWindow();
    int pictureTop() const { return px(kMargin) * 3 + px(kRowHeight) * 2; }
    SIZE clientSize() const;
    SIZE outerSize() const;
    void placeBesideMainWindow();
    void reload();
    void redraw();
    // The part of the picture the view shows, from (scrollX_, scrollY_), magnified for the screen.
    void present();
    void scrollBy(int dx, int dy);
    void describeCellAt(int x, int y);
    bool showsCharacters() const {
        return font_ && SendMessageW(characters_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void paint();
    void exportView();
    void open(std::filesystem::path path);
    std::wstring fileName() const { return path_.filename().wstring(); }

    HINSTANCE instance_;
    std::filesystem::path path_;
    HWND window_ = nullptr;
    HWND zoomBox_ = nullptr;
    HWND light_ = nullptr;
    HWND firmware_ = nullptr;
    HWND characters_ = nullptr;
    HWND export_ = nullptr;
    HWND sampleLabel_ = nullptr;
    HWND sample_ = nullptr;
    HWND summary_ = nullptr;
    HWND status_ = nullptr;
    HFONT uiFont_ = nullptr;
    int dpi_ = 96;
    int zoom_ = 2;

    FileStamp stamp_;
    bool everRead_ = false;
    std::shared_ptr<const pgf::PgfFile> font_;
    std::size_t fileBytes_ = 0;
    psp_screen::RgbaImage picture_;  // the screen or the character table, one pixel per pixel
    std::vector<psp_screen::TableEntry> entries_;  // the table's, while it is shown
    psp_screen::TableGeometry table_;
    std::wstring fileStatus_;      // what the status line says of the file
    psp_screen::Rgba background_;  // the palette's, beyond the picture's edges
    int scrollX_ = 0;
    int scrollY_ = 0;
    std::vector<std::uint32_t> device_;  // the picture magnified, as the DIB wants it
    int deviceWidth_ = 0;
    int deviceHeight_ = 0;
};

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return viewer != nullptr ? viewer->handle(window, message, wParam, lParam)
                             : DefWindowProcW(window, message, wParam, lParam);
}

HWND control(HWND parent, const wchar_t* type, const wchar_t* text, DWORD style, int id,
             HINSTANCE instance, DWORD extendedStyle = 0) {
    return CreateWindowExW(extendedStyle, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
}

// Text for an edit control: its lines end in CR LF.
std::wstring editText(const std::string& utf8) {
    std::wstring text;
    for (const wchar_t c : wideFromUtf8(utf8)) {
        if (c == L'\n') {
            text += L'\r';
        }
        text += c;
    }
    return text;
}

std::wstring codeText(char32_t code) {
    wchar_t text[16];
    swprintf(text, 16, L"U+%04X", static_cast<unsigned>(code));
    return text;
}

bool Viewer::create(bool companion) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    const std::wstring caption = L"pgfview - " + fileName();
    window_ = CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, caption.c_str(),
                              WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                              640, 480, nullptr, nullptr, instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    dpi_ = dpiOfWindow(window_);
    createControls();
    reload();
    fitWindow();
    if (companion) {
        placeBesideMainWindow();
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetTimer(window_, kPollTimer, kPollMilliseconds, nullptr);
    return true;
}

void Viewer::createControls() {
    zoomBox_ = control(window_, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                       kZoom, instance_);
    for (const wchar_t* zoom : {L"1\u00D7", L"2\u00D7", L"3\u00D7", L"4\u00D7"}) {
        SendMessageW(zoomBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(zoom));
    }
    SendMessageW(zoomBox_, CB_SETCURSEL, static_cast<WPARAM>(zoom_ - 1), 0);
    light_ = control(window_, L"BUTTON", L"Light", BS_AUTOCHECKBOX | WS_TABSTOP, kLight, instance_);
    firmware_ = control(window_, L"BUTTON", L"Firmware size", BS_AUTOCHECKBOX | WS_TABSTOP,
                        kFirmware, instance_);
    characters_ = control(window_, L"BUTTON", L"Characters", BS_AUTOCHECKBOX | WS_TABSTOP,
                          kCharacters, instance_);
    export_ = control(window_, L"BUTTON", L"Export PNG\u2026", BS_PUSHBUTTON | WS_TABSTOP, kExport,
                      instance_);
    sampleLabel_ = control(window_, L"STATIC", L"Sample:", SS_LEFT | SS_CENTERIMAGE, 0, instance_);
    sample_ = control(window_, L"EDIT", wideFromUtf8(kDefaultSampleText).c_str(),
                      ES_AUTOHSCROLL | WS_TABSTOP, kSample, instance_, WS_EX_CLIENTEDGE);
    summary_ =
        control(window_, L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                kSummary, instance_, WS_EX_CLIENTEDGE);
    status_ = control(window_, L"STATIC", L"", SS_LEFT, kStatus, instance_);
    applyFonts();
}

void Viewer::applyFonts() {
    const HFONT old = uiFont_;
    const LOGFONTW description = messageFont(dpi_);
    uiFont_ = CreateFontIndirectW(&description);
    for (HWND child : {zoomBox_, light_, firmware_, characters_, export_, sampleLabel_, sample_,
                       summary_, status_}) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), TRUE);
    }
    if (old != nullptr) {
        DeleteObject(old);
    }
}

// The controls in two rows, the picture below them, then the status line and the side panel:
// one column, so that the window fits beside the Tessavine window on ordinary screens.
void Viewer::layout() {
    const int pictureWidth = psp_screen::kPspScreen.width * pixelFactor();
    const int pictureHeight = psp_screen::kPspScreen.height * pixelFactor();
    const int m = px(kMargin);
    const int row = px(kRowHeight);
    const int width = std::max(pictureWidth, px(kControlsWidth));
    int x = m;
    const auto place = [&](HWND child, int widthAt96, int height) {
        MoveWindow(child, x, m, px(widthAt96), height, TRUE);
        x += px(widthAt96) + m;
    };
    place(zoomBox_, 60, px(200));
    place(light_, 60, row);
    place(firmware_, 100, row);
    place(characters_, 90, row);
    place(export_, 110, row);
    const int sampleTop = m + row + m;
    MoveWindow(sampleLabel_, m, sampleTop, px(56), row, TRUE);
    MoveWindow(sample_, m + px(60), sampleTop, width - px(60), row, TRUE);
    const int statusTop = pictureTop() + pictureHeight + m;
    MoveWindow(status_, m, statusTop, width, px(kStatusHeight), TRUE);
    MoveWindow(summary_, m, statusTop + px(kStatusHeight) + m, width, px(kPanelHeight), TRUE);
}

SIZE Viewer::clientSize() const {
    const int pictureWidth = psp_screen::kPspScreen.width * pixelFactor();
    const int pictureHeight = psp_screen::kPspScreen.height * pixelFactor();
    const int m = px(kMargin);
    return {m + std::max(pictureWidth, px(kControlsWidth)) + m,
            pictureTop() + pictureHeight + m + px(kStatusHeight) + m + px(kPanelHeight) + m};
}

SIZE Viewer::outerSize() const {
    const SIZE client = clientSize();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const RECT outer = outerRectFor(client.cx, client.cy, style, WS_EX_ACCEPTFILES, false, dpi_);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Viewer::fitWindow() {
    const SIZE outer = outerSize();
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
}

void Viewer::placeBesideMainWindow() {
    const HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    const RECT work = info.rcWork;
    RECT main{};
    const HWND mainWindow = FindWindowW(kMainWindowClass, nullptr);
    if (mainWindow == nullptr || !GetWindowRect(mainWindow, &main)) {
        // Not open yet: where it will stand, centred on the screen.
        const RECT outer = outerRectFor(px(kMainClientWidth), px(kMainClientHeight),
                                        WS_OVERLAPPEDWINDOW, 0, true, dpi_);
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        main.left = work.left + (work.right - work.left - width) / 2;
        main.top = work.top + (work.bottom - work.top - height) / 2;
        main.right = main.left + width;
        main.bottom = main.top + height;
    }
    const int gap = px(kMargin);
    const int roomRight = static_cast<int>(work.right - main.right) - gap;
    const int roomLeft = static_cast<int>(main.left - work.left) - gap;
    const bool right = roomRight >= roomLeft;
    // As large as the room beside the main window allows; on a screen too narrow even for 1x it
    // still stands beside the main window, reaching past the screen's edge rather than over it.
    while (zoom_ > 1 && static_cast<int>(outerSize().cx) > std::max(roomRight, roomLeft)) {
        --zoom_;
    }
    SendMessageW(zoomBox_, CB_SETCURSEL, static_cast<WPARAM>(zoom_ - 1), 0);
    redraw();
    fitWindow();
    const SIZE outer = outerSize();
    const int left = right ? static_cast<int>(main.right) + gap
                           : static_cast<int>(main.left) - gap - static_cast<int>(outer.cx);
    const int top =
        std::clamp(static_cast<int>(main.top), static_cast<int>(work.top),
                   std::max(static_cast<int>(work.top), static_cast<int>(work.bottom - outer.cy)));
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Viewer::reload() {
    stamp_ = stampOf(path_);
    const FontRead read = readFontFile(path_);
    everRead_ = true;
    const std::string name = platform::utf8FromPath(path_.filename());
    std::string status;
    if (read.font) {
        font_ = read.font;
        fileBytes_ = read.bytes;
        const FontFacts facts = describeFont(*font_, name, fileBytes_);
        std::string text = facts.text;
        if (!facts.missing.empty()) {
            text += "\nMissing characters:\n";
            for (const char32_t code : facts.missing) {
                text += utf8FromWide(codeText(code)) + "  ";
                appendUtf8(text, code);
                text += "\n";
            }
        }
        SetWindowTextW(summary_, editText(text).c_str());
        status = "Showing " + platform::utf8FromPath(path_) + "; it is followed as it changes.";
    } else {
        font_.reset();
        fileBytes_ = 0;
        SetWindowTextW(summary_, L"");
        status = read.missing ? "Waiting for " + name +
                                    ": there is no such file yet. It shows as soon as "
                                    "the converter writes it."
                              : name + " cannot be shown: " + read.problem +
                                    ". It shows again as soon as a good font is there.";
    }
    fileStatus_ = wideFromUtf8(status);
    SetWindowTextW(status_, fileStatus_.c_str());
    const std::wstring caption =
        L"pgfview - " + fileName() + (font_ ? L"" : (read.missing ? L" (missing)" : L" (damaged)"));
    SetWindowTextW(window_, caption.c_str());
    redraw();
}

void Viewer::redraw() {
    const bool light = SendMessageW(light_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const psp_screen::Palette palette =
        light ? psp_screen::lightPalette() : psp_screen::darkPalette();
    background_ = palette.background;
    if (font_) {
        const int length = GetWindowTextLengthW(sample_);
        std::wstring sample(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(sample_, sample.data(), length + 1);
        sample.resize(static_cast<std::size_t>(length));
        psp_screen::ScreenLayout screen =
            psp_screen::pspScreenLayout(*font_, decodeUtf8(utf8FromWide(sample)));
        if (SendMessageW(firmware_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            const int slot = slotOfFileName(platform::utf8FromPath(path_.filename()));
            screen.reference = psp_screen::firmwareReference(slot < 0 ? 0 : slot);
        }
        picture_ = psp_screen::renderScreen(*font_, screen, palette);
        entries_.clear();
        if (showsCharacters()) {
            entries_ = psp_screen::characterTableEntries(*font_, pgf::pspLatinCharacters());
            table_ = psp_screen::tableGeometry(*font_, entries_.size());
            picture_ = psp_screen::renderCharacterTable(*font_, entries_, palette);
        }
    } else {
        entries_.clear();
        picture_ = psp_screen::RgbaImage(psp_screen::kPspScreen.width,
                                         psp_screen::kPspScreen.height, palette.background);
    }
    present();
}

void Viewer::present() {
    const psp_screen::Size view = psp_screen::kPspScreen;
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, picture_.width() - view.width));
    scrollY_ = std::clamp(scrollY_, 0, std::max(0, picture_.height() - view.height));
    psp_screen::RgbaImage shown(view.width, view.height, background_);
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            if (picture_.contains(x + scrollX_, y + scrollY_)) {
                shown.setPixel(x, y, picture_.pixel(x + scrollX_, y + scrollY_));
            }
        }
    }
    const psp_screen::RgbaImage big = shown.magnified(pixelFactor());
    deviceWidth_ = big.width();
    deviceHeight_ = big.height();
    device_.resize(big.pixels().size());
    std::transform(big.pixels().begin(), big.pixels().end(), device_.begin(),
                   [](const psp_screen::Rgba& p) {
                       return (static_cast<std::uint32_t>(p.red) << 16) |
                              (static_cast<std::uint32_t>(p.green) << 8) | p.blue;
                   });
    InvalidateRect(window_, nullptr, FALSE);
}

void Viewer::paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window_, &ps);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = deviceWidth_;
    info.bmiHeader.biHeight = -deviceHeight_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, px(kMargin), pictureTop(), static_cast<DWORD>(deviceWidth_),
                      static_cast<DWORD>(deviceHeight_), 0, 0, 0, static_cast<UINT>(deviceHeight_),
                      device_.data(), &info, DIB_RGB_COLORS);
    EndPaint(window_, &ps);
}

void Viewer::scrollBy(int dx, int dy) {
    scrollX_ += dx;
    scrollY_ += dy;
    present();
    InvalidateRect(window_, nullptr, FALSE);
}

// In the character table, the code under the mouse goes into the status line.
void Viewer::describeCellAt(int x, int y) {
    if (entries_.empty()) {
        return;
    }
    const int factor = pixelFactor();
    const int column = x - px(kMargin);
    const int line = y - pictureTop();
    if (column < 0 || line < 0 || column >= deviceWidth_ || line >= deviceHeight_) {
        return;
    }
    const int tableX = column / factor + scrollX_;
    const int tableY = line / factor + scrollY_;
    if (table_.cellWidth <= 0 || table_.cellHeight <= 0 ||
        tableX >= table_.cellWidth * psp_screen::kTableColumns) {
        return;
    }
    const std::size_t index =
        static_cast<std::size_t>(tableY / table_.cellHeight) * psp_screen::kTableColumns +
        static_cast<std::size_t>(tableX / table_.cellWidth);
    if (index >= entries_.size()) {
        return;
    }
    const psp_screen::TableEntry& entry = entries_[index];
    std::string text = utf8FromWide(codeText(entry.code)) + "  ";
    appendUtf8(text, entry.code);
    text += entry.missing ? "  missing: the PSP shows _ in its place" : "";
    SetWindowTextW(status_, wideFromUtf8(text).c_str());
}

void Viewer::exportView() {
    if (!font_) {
        return;
    }
    std::wstring name(MAX_PATH * 4, L'\0');
    const std::wstring suggestion = path_.stem().wstring() + L".png";
    std::copy(suggestion.begin(), suggestion.end(), name.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"PNG images (*.png)\0*.png\0";
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = L"png";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) {
        return;
    }
    name.resize(wcslen(name.c_str()));
    const std::string problem = savePicture(picture_.magnified(zoom_), std::filesystem::path(name));
    if (!problem.empty()) {
        MessageBoxW(window_, wideFromUtf8(problem).c_str(), L"pgfview", MB_OK | MB_ICONWARNING);
    }
}

void Viewer::open(std::filesystem::path path) {
    path_ = std::move(path);
    reload();
}

LRESULT Viewer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kPollTimer && !(stampOf(path_) == stamp_)) {
                reload();
            }
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == kZoom && code == CBN_SELCHANGE) {
                zoom_ = static_cast<int>(SendMessageW(zoomBox_, CB_GETCURSEL, 0, 0)) + 1;
                redraw();
                fitWindow();
            } else if ((id == kLight || id == kFirmware) && code == BN_CLICKED) {
                redraw();
            } else if (id == kCharacters && code == BN_CLICKED) {
                scrollX_ = 0;
                scrollY_ = 0;
                SetWindowTextW(status_, fileStatus_.c_str());
                redraw();
            } else if (id == kSample && code == EN_CHANGE) {
                redraw();
            } else if (id == kExport && code == BN_CLICKED) {
                exportView();
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL: {
            // A notch moves the view by a tenth of the screen; with Shift, across.
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            const bool across =
                message == WM_MOUSEHWHEEL || (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
            const int step = (message == WM_MOUSEHWHEEL ? 1 : -1) * notches * 27;
            scrollBy(across ? step : 0, across ? 0 : step);
            return 0;
        }
        case WM_MOUSEMOVE:
            describeCellAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            DragQueryFileW(drop, 0, name.data(), length + 1);
            DragFinish(drop);
            name.resize(length);
            open(std::filesystem::path(name));
            return 0;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            applyFonts();
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            redraw();
            fitWindow();
            return 0;
        }
        case WM_DESTROY:
            KillTimer(window, kPollTimer);
            if (uiFont_ != nullptr) {
                DeleteObject(uiFont_);
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int runViewer(HINSTANCE instance, const std::filesystem::path& font, bool companion) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    Viewer viewer(instance, font);
    if (!viewer.create(companion)) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tessavine::pgfview_windows
