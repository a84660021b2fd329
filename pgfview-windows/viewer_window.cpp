#include "viewer_window.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/file_platform.h"
#include "core/shown_text.h"
#include "core/utf8.h"
#include "file_stamp.h"
#include "pgfview_shared/companion_place.h"
#include "pgfview_shared/font_reading.h"
#include "pgfview_shared/font_summary.h"
#include "pgfview_shared/opening_zoom.h"
#include "pgfview_shared/read_verdict.h"
#include "psp_screen/character_table.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"
#include "psp_screen/table_pages.h"
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

// How often the file is looked at (one cheap attribute query): a replacement shows well within
// a second even on a busy machine.
constexpr UINT kPollMilliseconds = 100;
constexpr UINT_PTR kPollTimer = 1;
// A file that failed to read while it was fresh is read again after a pause.
constexpr UINT_PTR kRetryTimer = 2;

enum ControlId : int {
    kZoom = 101,
    kBackground,
    kFirmware,
    kViews,
    kTablePage,
    kOnTop,
    kOpen,
    kExport,
    kSample,
    kSummary,
    kFileSize,
    kOpenMemory,
    kStatus,
    kScrollAcross,
    kScrollDown,
};

// Sizes over the firmware font's, and why a file cannot be shown, are written in red, as on Linux.
constexpr COLORREF kOverBudgetRed = RGB(0xd0, 0x30, 0x30);

// Lengths in pixels at 96 dpi.
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;
constexpr int kPanelHeight = 190;
constexpr int kSizeLineHeight = 18;
constexpr int kScrollBar = 17;
constexpr int kControlsWidth = 480;
constexpr int kStatusHeight = 36;
// The strip of tabs, Screen and Characters as on Linux, above the picture they choose.
constexpr int kTabsHeight = 26;
constexpr int kTabsWidth = 200;

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
    int tabsTop() const { return px(kMargin) * 3 + px(kRowHeight) * 2; }
    int pictureTop() const { return tabsTop() + px(kTabsHeight); }
    // The scroll bars beside and below the picture, whose room is kept whether they show or not.
    int scrollBarWidth() const { return px(kScrollBar); }
    int scrollBarHeight() const { return px(kScrollBar); }
    SIZE clientSize() const;
    SIZE outerSize() const;
    // The work area of the screen the window is on.
    pgfview_shared::DesktopRect workArea() const;
    // Before the window is shown: the largest opening zoom whose picture fits whole in `room`
    // (the window's frame included), the window sized for it.
    void openAtTheZoomThatFits(pgfview_shared::Extent room);
    void placeBesideMainWindow();
    // Without the Tessavine window: where Windows put it, moved onto the work area if need be.
    void placeOnScreen();
    void reload();
    void showRead(const pgfview_shared::FontRead& read);
    void showSummary();
    void redraw();
    // The part of the picture the view shows, from (scrollX_, scrollY_), magnified for the screen.
    void present();
    void scrollBy(int dx, int dy);
    void updateScrollBars();
    void scrolled(HWND bar, int request);
    void drawTable(const psp_screen::Palette& palette);
    void updateCellTips();
    bool showsCharacters() const { return font_ && SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) == 1; }
    void paint();
    void exportView();
    void chooseFile();
    void open(std::filesystem::path path);
    std::wstring fileName() const { return path_.filename().wstring(); }

    HINSTANCE instance_;
    std::filesystem::path path_;
    HWND window_ = nullptr;
    HWND zoomBox_ = nullptr;
    HWND background_ = nullptr;
    HWND firmware_ = nullptr;
    HWND tabs_ = nullptr;
    HWND tablePage_ = nullptr;  // the Unicode block shown, for a table of more than one page
    HWND tips_ = nullptr;       // a tip for each cell of the table in view
    UINT tipCount_ = 0;
    HWND onTop_ = nullptr;
    HWND open_ = nullptr;
    HWND export_ = nullptr;
    HWND sampleLabel_ = nullptr;
    HWND sample_ = nullptr;
    HWND summary_ = nullptr;
    HWND fileSize_ = nullptr;
    HWND openMemory_ = nullptr;
    HWND status_ = nullptr;
    HWND across_ = nullptr;
    HWND down_ = nullptr;
    HFONT uiFont_ = nullptr;
    int dpi_ = 96;
    int zoom_ = 2;

    FileStamp stamp_;
    int retries_ = 0;
    bool damaged_ = false;  // the status line tells why the file cannot be shown, in red
    std::shared_ptr<const pgf::PgfFile> font_;
    std::size_t fileBytes_ = 0;
    pgfview_shared::FontSummary facts_;
    psp_screen::RgbaImage screen_;   // the PSP screen, one pixel per pixel: what Export saves
    psp_screen::RgbaImage picture_;  // the screen or the character table, one pixel per pixel
    std::vector<psp_screen::TableEntry> entries_;  // the table's, while it is shown
    std::vector<psp_screen::TablePage> pages_;     // the table cut at its Unicode blocks
    psp_screen::TablePage page_;                   // the one shown
    psp_screen::TableGeometry table_;              // the shown page's
    psp_screen::Rgba backdrop_;                    // the palette's, beyond the picture's edges
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

// A name from a font file or a folder, with the characters that would act instead of showing
// written as escapes.
std::string shown(const std::string& fromFile) {
    return shownText(fromFile);
}

// The current UTC time in the file system's ticks.
std::uint64_t ticksNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
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
    if (companion) {
        placeBesideMainWindow();
    } else {
        placeOnScreen();
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
    background_ = control(window_, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                          kBackground, instance_);
    for (const wchar_t* name : {L"Dark", L"Light"}) {
        SendMessageW(background_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageW(background_, CB_SETCURSEL, 0, 0);
    firmware_ = control(window_, L"BUTTON", L"Firmware size", BS_AUTOCHECKBOX | WS_TABSTOP,
                        kFirmware, instance_);
    onTop_ = control(window_, L"BUTTON", L"Stay on top", BS_AUTOCHECKBOX | WS_TABSTOP, kOnTop,
                     instance_);
    open_ =
        control(window_, L"BUTTON", L"Open\u2026", BS_PUSHBUTTON | WS_TABSTOP, kOpen, instance_);
    export_ = control(window_, L"BUTTON", L"Export PNG\u2026", BS_PUSHBUTTON | WS_TABSTOP, kExport,
                      instance_);
    sampleLabel_ = control(window_, L"STATIC", L"Sample:", SS_LEFT | SS_CENTERIMAGE, 0, instance_);
    sample_ = control(window_, L"EDIT", wideFromUtf8(kDefaultSampleText).c_str(),
                      ES_AUTOHSCROLL | WS_TABSTOP, kSample, instance_, WS_EX_CLIENTEDGE);
    summary_ =
        control(window_, L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                kSummary, instance_, WS_EX_CLIENTEDGE);
    fileSize_ = control(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kFileSize, instance_);
    openMemory_ = control(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kOpenMemory, instance_);
    status_ = control(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kStatus, instance_);
    across_ = control(window_, L"SCROLLBAR", L"", SBS_HORZ, kScrollAcross, instance_);
    down_ = control(window_, L"SCROLLBAR", L"", SBS_VERT, kScrollDown, instance_);
    tabs_ = control(window_, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kViews, instance_);
    for (const wchar_t* name : {L"Screen", L"Characters"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(name);
        const auto at = SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0);
        SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(at),
                     reinterpret_cast<LPARAM>(&item));
    }
    tablePage_ = control(window_, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                         kTablePage, instance_);
    ShowWindow(tablePage_, SW_HIDE);
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    applyFonts();
}

void Viewer::applyFonts() {
    const HFONT old = uiFont_;
    const LOGFONTW description = messageFont(dpi_);
    uiFont_ = CreateFontIndirectW(&description);
    for (HWND child : {zoomBox_, background_, firmware_, tabs_, tablePage_, onTop_, open_, export_,
                       sampleLabel_, sample_, summary_, fileSize_, openMemory_, status_, tips_}) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), TRUE);
    }
    if (old != nullptr) {
        DeleteObject(old);
    }
}

// The controls in two rows, the tabs and the picture below them with its scroll bars, then the
// status line and the side panel: one column, so that the window fits beside the Tessavine
// window on ordinary screens.
void Viewer::layout() {
    const int pictureWidth = psp_screen::kPspScreen.width * pixelFactor();
    const int pictureHeight = psp_screen::kPspScreen.height * pixelFactor();
    const int m = px(kMargin);
    const int row = px(kRowHeight);
    const int width = std::max(pictureWidth + scrollBarWidth(), px(kControlsWidth));
    int x = m;
    int top = m;
    const auto place = [&](HWND child, int widthAt96, int height) {
        MoveWindow(child, x, top, px(widthAt96), height, TRUE);
        x += px(widthAt96) + m;
    };
    place(zoomBox_, 60, px(200));
    place(background_, 70, px(200));
    place(firmware_, 105, row);
    place(onTop_, 95, row);
    x = m;
    top = m + row + m;
    place(open_, 70, row);
    place(export_, 100, row);
    place(sampleLabel_, 50, row);
    MoveWindow(sample_, x, top, std::max(m + width - x, px(40)), row, TRUE);
    // The tabs' own strip, their page left empty: the picture below is what they choose.
    MoveWindow(tabs_, m, tabsTop(), px(kTabsWidth), px(kTabsHeight), TRUE);
    SendMessageW(tabs_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, px(kTabsHeight) - px(4)));
    x = m + px(kTabsWidth) + m;
    MoveWindow(tablePage_, x, tabsTop(), std::max(m + width - x, px(40)), px(300), TRUE);
    MoveWindow(across_, m, pictureTop() + pictureHeight, pictureWidth, scrollBarHeight(), TRUE);
    MoveWindow(down_, m + pictureWidth, pictureTop(), scrollBarWidth(), pictureHeight, TRUE);
    const int statusTop = pictureTop() + pictureHeight + scrollBarHeight() + m;
    MoveWindow(status_, m, statusTop, width, px(kStatusHeight), TRUE);
    const int sizesTop = statusTop + px(kStatusHeight) + m;
    MoveWindow(fileSize_, m, sizesTop, width, px(kSizeLineHeight), TRUE);
    MoveWindow(openMemory_, m, sizesTop + px(kSizeLineHeight), width, px(kSizeLineHeight), TRUE);
    MoveWindow(summary_, m, sizesTop + 2 * px(kSizeLineHeight) + m, width, px(kPanelHeight), TRUE);
}

SIZE Viewer::clientSize() const {
    const int pictureWidth = psp_screen::kPspScreen.width * pixelFactor();
    const int pictureHeight = psp_screen::kPspScreen.height * pixelFactor();
    const int m = px(kMargin);
    return {m + std::max(pictureWidth + scrollBarWidth(), px(kControlsWidth)) + m,
            pictureTop() + pictureHeight + scrollBarHeight() + m + px(kStatusHeight) + m +
                2 * px(kSizeLineHeight) + m + px(kPanelHeight) + m};
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

pgfview_shared::DesktopRect Viewer::workArea() const {
    const HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

void Viewer::openAtTheZoomThatFits(pgfview_shared::Extent room) {
    // What stands around the picture, frame included, is measured at the largest opening zoom,
    // where the picture is wider than the rows of controls; at 1x they may be the wider (at
    // 120 dpi), but 1x is taken when nothing larger fits, whatever its width.
    const int largest = pgfview_shared::kLargestOpeningZoom;
    zoom_ = largest;
    const SIZE outer = outerSize();
    const int devicePixels = pixelFactor() / largest;
    const pgfview_shared::Extent picture{psp_screen::kPspScreen.width * devicePixels,
                                         psp_screen::kPspScreen.height * devicePixels};
    const pgfview_shared::Extent around{outer.cx - largest * picture.width,
                                        outer.cy - largest * picture.height};
    zoom_ = pgfview_shared::openingZoom(room, picture, around);
    SendMessageW(zoomBox_, CB_SETCURSEL, static_cast<WPARAM>(zoom_ - 1), 0);
    redraw();
    fitWindow();
}

void Viewer::placeOnScreen() {
    const pgfview_shared::DesktopRect work = workArea();
    openAtTheZoomThatFits({work.width(), work.height()});
    RECT frame{};
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::clamp(static_cast<int>(frame.left), work.left,
                                std::max(work.left, work.right - width));
    const int top =
        std::clamp(static_cast<int>(frame.top), work.top, std::max(work.top, work.bottom - height));
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Viewer::placeBesideMainWindow() {
    using pgfview_shared::DesktopRect;
    const DesktopRect work = workArea();
    DesktopRect main{};
    RECT mainRect{};
    const HWND mainWindow = FindWindowW(kMainWindowClass, nullptr);
    if (mainWindow != nullptr && GetWindowRect(mainWindow, &mainRect)) {
        main = {mainRect.left, mainRect.top, mainRect.right, mainRect.bottom};
    } else {
        // Not open yet: where it will stand, centred on the screen.
        const RECT outer =
            outerRectFor(px(pgfview_shared::kMainClientWidth),
                         px(pgfview_shared::kMainClientHeight), WS_OVERLAPPEDWINDOW, 0, true, dpi_);
        main = pgfview_shared::centredIn(work, outer.right - outer.left, outer.bottom - outer.top);
    }
    const int gap = px(kMargin);
    const pgfview_shared::Side side = pgfview_shared::sideWithMoreRoom(work, main, gap);
    // On a screen too narrow even for 1x it still stands beside the main window, reaching past
    // the screen's edge rather than over it.
    openAtTheZoomThatFits({side.room, work.height()});
    const SIZE outer = outerSize();
    const DesktopRect frame =
        pgfview_shared::frameBeside(work, main, side, outer.cx, outer.cy, gap);
    SetWindowPos(window_, nullptr, frame.left, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Viewer::reload() {
    KillTimer(window_, kRetryTimer);
    const FileStamp before = stampOf(path_);
    stamp_ = before;
    const pgfview_shared::FontRead read = pgfview_shared::readFontFile(path_);
    if (read.missing) {
        retries_ = 0;
        showRead(read);
        return;
    }
    // A file that changed while it was read, or that fails while fresh, is most likely being
    // written: it is read again shortly before it is called damaged.
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    const bool lately = ticksNow() - before.written < kTicksPerSecond;
    switch (pgfview_shared::judgeRead(!read.font, !(stampOf(path_) == before), lately, retries_)) {
        case pgfview_shared::ReadVerdict::LookAgain: {
            ++retries_;
            SetTimer(window_, kRetryTimer, pgfview_shared::kRetryMilliseconds, nullptr);
            const std::string name = shown(platform::utf8FromPath(path_.filename()));
            SetWindowTextW(status_, wideFromUtf8(pgfview_shared::replacingText(name)).c_str());
            return;
        }
        case pgfview_shared::ReadVerdict::Damaged:
        case pgfview_shared::ReadVerdict::Show:
            retries_ = 0;
            showRead(read);
            return;
    }
}

void Viewer::showRead(const pgfview_shared::FontRead& read) {
    const std::string name = shown(platform::utf8FromPath(path_.filename()));
    std::string status;
    if (read.font) {
        font_ = read.font;
        fileBytes_ = read.bytes;
        facts_ =
            pgfview_shared::summarize(*font_, platform::utf8FromPath(path_.filename()), fileBytes_);
        status = shown(platform::utf8FromPath(path_)) + "\nFollowed as it changes.";
    } else {
        font_.reset();
        fileBytes_ = 0;
        facts_ = {};
        status = read.missing ? pgfview_shared::waitingText(
                                    name, shown(platform::utf8FromPath(path_.parent_path())))
                              : pgfview_shared::damagedText(shown(platform::utf8FromPath(path_)),
                                                            read.problem);
    }
    showSummary();
    damaged_ = !read.font && !read.missing;
    SetWindowTextW(status_, wideFromUtf8(status).c_str());
    const std::wstring caption =
        L"pgfview - " + fileName() + (font_ ? L"" : (read.missing ? L" (missing)" : L" (damaged)"));
    SetWindowTextW(window_, caption.c_str());
    redraw();
}

// The side panel as on Linux: the figures, the two sizes against the firmware's (red when
// over), and the PSP's characters the font lacks.
void Viewer::showSummary() {
    if (!font_) {
        SetWindowTextW(summary_, L"");
        SetWindowTextW(fileSize_, L"");
        SetWindowTextW(openMemory_, L"");
        return;
    }
    const pgfview_shared::FontSummary& s = facts_;
    char em[32];
    std::snprintf(em, sizeof em, "%.2f px", s.emPixels);
    std::string text;
    text += "Font: " + shown(s.name) + "\n";
    text += "Style: " + shown(s.style) + "\n";
    text += std::string("Em size: ") + em + "\n";
    text += "Glyphs: " + std::to_string(s.glyphCount) + "\n";
    text += "Missing: " +
            (s.missing.empty() ? "none of " + s.wantedSet
                               : std::to_string(s.missing.size()) + " of " + s.wantedSet) +
            "\n";
    text += "Compared with: " + s.slotFile + (s.slotFromName ? "" : " (assumed)") + "\n";
    for (std::size_t i = 0; i < s.sources.size(); ++i) {
        text += (i == 0 ? "Drawn from: " : "    ") + shown(s.sources[i].font) + ": " +
                std::to_string(s.sources[i].characters) + " characters (" + s.sources[i].runs +
                ")\n";
    }
    if (!s.sourcesProblem.empty()) {
        text += "Drawn from: " + shown(s.sourcesProblem) + "\n";
    }
    text += "\nCharacters of " + s.wantedSet + " the font lacks:\n";
    if (s.missing.empty()) {
        text += "(none)\n";
    }
    for (const char32_t code : s.missing) {
        text += pgfview_shared::codeAndCharacter(code) + "\n";
    }
    SetWindowTextW(summary_, editText(text).c_str());
    const auto sizeLine = [](const char* label, std::size_t used, std::size_t budget) {
        return wideFromUtf8(std::string(label) + pgfview_shared::bytesText(used) + " " +
                            pgfview_shared::ofFirmwareText(used, budget));
    };
    SetWindowTextW(fileSize_, sizeLine("File size: ", s.fileBytes, s.slotFileBytes).c_str());
    SetWindowTextW(openMemory_, sizeLine("Open memory: ", s.openBytes, s.slotOpenBytes).c_str());
}

void Viewer::redraw() {
    const bool light = SendMessageW(background_, CB_GETCURSEL, 0, 0) == 1;
    const psp_screen::Palette palette =
        light ? psp_screen::lightPalette() : psp_screen::darkPalette();
    backdrop_ = palette.background;
    if (font_) {
        const int length = GetWindowTextLengthW(sample_);
        std::wstring sample(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(sample_, sample.data(), length + 1);
        sample.resize(static_cast<std::size_t>(length));
        psp_screen::ScreenLayout screen =
            psp_screen::pspScreenLayout(*font_, decodeUtf8(utf8FromWide(sample)));
        if (SendMessageW(firmware_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            screen.reference = psp_screen::firmwareReference(facts_.slot);
        }
        screen_ = psp_screen::renderScreen(*font_, screen, palette);
        picture_ = screen_;
        entries_.clear();
        pages_.clear();
        if (showsCharacters()) {
            drawTable(palette);
        }
    } else {
        entries_.clear();
        pages_.clear();
        screen_ = psp_screen::RgbaImage();
        picture_ = psp_screen::RgbaImage(psp_screen::kPspScreen.width,
                                         psp_screen::kPspScreen.height, palette.background);
    }
    if (pages_.size() <= 1) {
        ShowWindow(tablePage_, SW_HIDE);
    }
    present();
}

// The table as on Linux: every character of the file and every one of its slot's set it lacks,
// a Unicode block at a time when it is too big for one picture; the block chosen stays chosen
// while the file is drawn again, as long as it is still there.
void Viewer::drawTable(const psp_screen::Palette& palette) {
    entries_ = psp_screen::characterTableEntries(
        *font_, pgfview_shared::wantedCharacters(platform::utf8FromPath(path_.filename())).codes);
    pages_ = psp_screen::characterTablePages(*font_, entries_);
    if (pages_.empty()) {
        return;
    }
    std::wstring chosen;
    const auto at = SendMessageW(tablePage_, CB_GETCURSEL, 0, 0);
    if (at != CB_ERR) {
        const auto length = SendMessageW(tablePage_, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0);
        chosen.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1);
        SendMessageW(tablePage_, CB_GETLBTEXT, static_cast<WPARAM>(at),
                     reinterpret_cast<LPARAM>(chosen.data()));
        chosen.resize(wcslen(chosen.c_str()));
    }
    SendMessageW(tablePage_, CB_RESETCONTENT, 0, 0);
    for (const psp_screen::TablePage& page : pages_) {
        SendMessageW(tablePage_, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wideFromUtf8(page.title).c_str()));
    }
    const auto found = SendMessageW(tablePage_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(chosen.c_str()));
    const auto index = chosen.empty() || found == CB_ERR ? 0 : static_cast<std::size_t>(found);
    SendMessageW(tablePage_, CB_SETCURSEL, index, 0);
    ShowWindow(tablePage_, pages_.size() > 1 ? SW_SHOWNA : SW_HIDE);
    page_ = pages_[index];
    const std::span<const psp_screen::TableEntry> entries(entries_.data() + page_.first,
                                                          page_.count);
    table_ = psp_screen::tableGeometry(*font_, entries.size());
    picture_ = psp_screen::renderCharacterTable(*font_, entries, palette);
}

void Viewer::present() {
    const psp_screen::Size view = psp_screen::kPspScreen;
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, picture_.width() - view.width));
    scrollY_ = std::clamp(scrollY_, 0, std::max(0, picture_.height() - view.height));
    psp_screen::RgbaImage shown(view.width, view.height, backdrop_);
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
    updateScrollBars();
    updateCellTips();
    InvalidateRect(window_, nullptr, FALSE);
}

// A tip for each cell of the table in view, its rectangle where the cell is drawn: the code
// under the mouse in a tip, as on Linux. Made again whenever the view moves.
void Viewer::updateCellTips() {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_;
    for (UINT id = 1; id <= tipCount_; ++id) {
        tool.uId = id;
        SendMessageW(tips_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    }
    tipCount_ = 0;
    if (entries_.empty() || table_.cellWidth <= 0 || table_.cellHeight <= 0) {
        return;
    }
    const psp_screen::Size view = psp_screen::kPspScreen;
    const int factor = pixelFactor();
    for (std::size_t i = 0; i < page_.count && page_.first + i < entries_.size(); ++i) {
        const psp_screen::Rect cell = table_.cell(i);
        const int left = std::max(cell.left() - scrollX_, 0);
        const int top = std::max(cell.top() - scrollY_, 0);
        const int right = std::min(cell.right() + 1 - scrollX_, view.width);
        const int bottom = std::min(cell.bottom() + 1 - scrollY_, view.height);
        if (left >= right || top >= bottom) {
            continue;
        }
        const psp_screen::TableEntry& entry = entries_[page_.first + i];
        std::wstring text = wideFromUtf8(pgfview_shared::tableCellTip(entry.code, entry.missing));
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = ++tipCount_;
        tool.rect = {px(kMargin) + left * factor, pictureTop() + top * factor,
                     px(kMargin) + right * factor, pictureTop() + bottom * factor};
        tool.hinst = instance_;
        tool.lpszText = text.data();
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// A bar shows only where the picture is larger than the view; its page is the view.
void Viewer::updateScrollBars() {
    const psp_screen::Size view = psp_screen::kPspScreen;
    const auto set = [](HWND bar, int whole, int page, int at) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(whole, page) - 1;
        info.nPage = static_cast<UINT>(page);
        info.nPos = at;
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
        ShowWindow(bar, whole > page ? SW_SHOWNA : SW_HIDE);
    };
    set(across_, picture_.width(), view.width, scrollX_);
    set(down_, picture_.height(), view.height, scrollY_);
}

void Viewer::scrolled(HWND bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    constexpr int kLine = 27;  // a tenth of the screen's height, as a wheel notch moves it
    int at = info.nPos;
    switch (request) {
        case SB_LINEUP:
            at -= kLine;
            break;
        case SB_LINEDOWN:
            at += kLine;
            break;
        case SB_PAGEUP:
            at -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            at += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            at = info.nTrackPos;
            break;
        case SB_TOP:
            at = info.nMin;
            break;
        case SB_BOTTOM:
            at = info.nMax;
            break;
        default:
            return;
    }
    const bool across = bar == across_;
    scrollBy(across ? at - scrollX_ : 0, across ? 0 : at - scrollY_);
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
    const std::string problem = savePicture(screen_.magnified(zoom_), std::filesystem::path(name));
    if (!problem.empty()) {
        MessageBoxW(window_, wideFromUtf8(problem).c_str(), L"pgfview", MB_OK | MB_ICONWARNING);
    }
}

void Viewer::chooseFile() {
    std::wstring name(MAX_PATH * 4, L'\0');
    const std::wstring folder = path_.parent_path().wstring();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"PSP fonts (*.pgf)\0*.pgf\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = L"Open a PSP font";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog)) {
        name.resize(wcslen(name.c_str()));
        open(std::filesystem::path(name));
    }
}

void Viewer::open(std::filesystem::path path) {
    path_ = std::move(path);
    retries_ = 0;
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
            if (wParam == kRetryTimer || (wParam == kPollTimer && !(stampOf(path_) == stamp_))) {
                reload();
            }
            return 0;
        case WM_CTLCOLORSTATIC: {
            // Sizes over the firmware font's and a damaged file's reason in red, as on Linux.
            const auto child = reinterpret_cast<HWND>(lParam);
            const bool over = (font_ && ((child == fileSize_ && facts_.fileTooBig()) ||
                                         (child == openMemory_ && facts_.openTooBig()))) ||
                              (child == status_ && damaged_);
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, over ? kOverBudgetRed : GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam != 0) {
                scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            }
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == kZoom && code == CBN_SELCHANGE) {
                zoom_ = static_cast<int>(SendMessageW(zoomBox_, CB_GETCURSEL, 0, 0)) + 1;
                redraw();
                fitWindow();
            } else if (id == kBackground && code == CBN_SELCHANGE) {
                redraw();
            } else if (id == kFirmware && code == BN_CLICKED) {
                redraw();
            } else if (id == kOnTop && code == BN_CLICKED) {
                const bool on = SendMessageW(onTop_, BM_GETCHECK, 0, 0) == BST_CHECKED;
                SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            } else if (id == kOpen && code == BN_CLICKED) {
                chooseFile();
            } else if (id == kTablePage && code == CBN_SELCHANGE) {
                scrollX_ = 0;
                scrollY_ = 0;
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
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
                scrollX_ = 0;
                scrollY_ = 0;
                redraw();
            }
            return 0;
        }
        case WM_DROPFILES: {
            // The first .pgf file among the dropped ones, as on Linux; anything else is left.
            const auto drop = reinterpret_cast<HDROP>(wParam);
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            std::filesystem::path font;
            for (UINT i = 0; i < count && font.empty(); ++i) {
                const UINT length = DragQueryFileW(drop, i, nullptr, 0);
                std::wstring name(length + 1, L'\0');
                DragQueryFileW(drop, i, name.data(), length + 1);
                name.resize(length);
                const std::wstring ending = name.size() >= 4 ? name.substr(name.size() - 4) : L"";
                if (CompareStringOrdinal(ending.c_str(), -1, L".pgf", -1, TRUE) == CSTR_EQUAL) {
                    font = name;
                }
            }
            DragFinish(drop);
            if (!font.empty()) {
                open(std::move(font));
            }
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
            KillTimer(window, kRetryTimer);
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
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    Viewer viewer(instance, font);
    if (!viewer.create(companion)) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Ctrl+O opens and Ctrl+S exports, as on Linux, wherever the keyboard focus is.
        if (message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
            (message.wParam == 'O' || message.wParam == 'S')) {
            const HWND top = GetAncestor(message.hwnd, GA_ROOT);
            const int id = message.wParam == 'O' ? kOpen : kExport;
            PostMessageW(top, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tessavine::pgfview_windows
