/* window_probe.exe: acts on pgfview.exe's window from outside, for the test under Wine.
 *   window_probe.exe drop FILE...  drops the files onto the window as Explorer does
 *                                  (WM_DROPFILES with a DROPFILES block of wide names in
 *                                  the window's process)
 *   window_probe.exe captions      prints each button and label whose caption the window
 *                                  cuts at its scale (the message font at the window's dpi);
 *                                  exits 1 if there is any
 *   window_probe.exe tabs          prints the tabs' names, the chosen one, and where the
 *                                  middle of each stands in the window's client area
 *   window_probe.exe tip           prints the text of the tip the window shows, if any
 * Built by the test with mingw-w64; it is no part of the program. */
#ifndef UNICODE
#define UNICODE
#endif
#define _UNICODE
#define _WIN32_WINNT 0x0A00
#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

static HWND viewer(void) {
    return FindWindowW(L"TessavinePgfview", NULL);
}

/* The block is written into the window's own process, as the shell hands it over there: a
 * global memory handle means nothing in another process. */
static int drop(int count, wchar_t** names) {
    size_t chars = 1;
    wchar_t full[16][MAX_PATH];
    for (int i = 0; i < count && i < 16; ++i) {
        GetFullPathNameW(names[i], MAX_PATH, full[i], NULL);
        chars += wcslen(full[i]) + 1;
    }
    const size_t size = sizeof(DROPFILES) + chars * sizeof(wchar_t);
    unsigned char* block = (unsigned char*)calloc(1, size);
    DROPFILES* files = (DROPFILES*)block;
    files->pFiles = sizeof(DROPFILES);
    files->pt.x = 40;
    files->pt.y = 120;
    files->fWide = TRUE;
    wchar_t* at = (wchar_t*)(files + 1);
    for (int i = 0; i < count && i < 16; ++i) {
        wcscpy(at, full[i]);
        at += wcslen(full[i]) + 1;
    }
    const HWND window = viewer();
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void* there =
        process ? VirtualAllocEx(process, NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                : NULL;
    if (there == NULL || !WriteProcessMemory(process, there, block, size, NULL)) {
        printf("cannot reach the window's process\n");
        return 1;
    }
    return PostMessageW(window, WM_DROPFILES, (WPARAM)there, 0) ? 0 : 1;
}

struct Fit {
    HFONT font;
    HDC dc;
    int dpi;
    int cut;
};

static BOOL CALLBACK fits(HWND child, LPARAM context) {
    struct Fit* fit = (struct Fit*)context;
    wchar_t kind[32], text[512];
    GetClassNameW(child, kind, 32);
    GetWindowTextW(child, text, 512);
    if ((_wcsicmp(kind, L"Button") != 0 && _wcsicmp(kind, L"Static") != 0) || text[0] == 0 ||
        !IsWindowVisible(child)) {
        return TRUE;
    }
    RECT box;
    GetClientRect(child, &box);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const int type = style & BS_TYPEMASK;
    const int isButton = _wcsicmp(kind, L"Button") == 0;
    /* A check box's caption stands beside its box; a push button's inside its edges. */
    int room = box.right;
    if (isButton && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
        room -= MulDiv(13 + 4, fit->dpi, 96);
    } else if (isButton) {
        room -= MulDiv(2 * 4, fit->dpi, 96);
    }
    RECT need = {0, 0, isButton ? 100000 : room, 0};
    DrawTextW(fit->dc, text, -1, &need,
              DT_CALCRECT | DT_NOPREFIX | (isButton ? DT_SINGLELINE : DT_WORDBREAK));
    if (need.right > room || need.bottom > box.bottom) {
        printf("cut: %ls \"%ls\" needs %ldx%ld, has %dx%ld\n", kind, text, need.right, need.bottom,
               room, box.bottom);
        fit->cut++;
    }
    return TRUE;
}

static int captions(void) {
    const HWND window = viewer();
    if (window == NULL) {
        printf("no pgfview window\n");
        return 2;
    }
    struct Fit fit = {0};
    fit.dpi = (int)GetDpiForWindow(window);
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                               (UINT)fit.dpi);
    fit.font = CreateFontIndirectW(&metrics.lfMessageFont);
    fit.dc = CreateCompatibleDC(NULL);
    SelectObject(fit.dc, fit.font);
    EnumChildWindows(window, fits, (LPARAM)&fit);
    printf("dpi %d, %d captions cut\n", fit.dpi, fit.cut);
    return fit.cut == 0 ? 0 : 1;
}

/* Memory in the window's process, where its controls can write what they are asked for. */
static HANDLE process_;
static void* remote(size_t size) {
    DWORD id = 0;
    GetWindowThreadProcessId(viewer(), &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    return process_ ? VirtualAllocEx(process_, NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                    : NULL;
}

static int tabs(void) {
    const HWND window = viewer();
    const HWND strip = FindWindowExW(window, NULL, WC_TABCONTROLW, NULL);
    if (strip == NULL) {
        printf("no tabs\n");
        return 1;
    }
    struct {
        TCITEMW item;
        RECT box;
        wchar_t text[64];
    } local, *there = (void*)remote(sizeof local);
    const int count = (int)SendMessageW(strip, TCM_GETITEMCOUNT, 0, 0);
    printf("chosen %d\n", (int)SendMessageW(strip, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        memset(&local, 0, sizeof local);
        local.item.mask = TCIF_TEXT;
        local.item.pszText = there->text;
        local.item.cchTextMax = 64;
        WriteProcessMemory(process_, there, &local, sizeof local, NULL);
        SendMessageW(strip, TCM_GETITEMW, i, (LPARAM)&there->item);
        SendMessageW(strip, TCM_GETITEMRECT, i, (LPARAM)&there->box);
        ReadProcessMemory(process_, there, &local, sizeof local, NULL);
        POINT middle = {(local.box.left + local.box.right) / 2,
                        (local.box.top + local.box.bottom) / 2};
        MapWindowPoints(strip, window, &middle, 1);
        printf("tab %d %ls at %ld %ld\n", i, local.text, middle.x, middle.y);
    }
    return 0;
}

static BOOL CALLBACK shownTip(HWND top, LPARAM found) {
    wchar_t kind[32];
    DWORD id = 0, ours = 0;
    GetClassNameW(top, kind, 32);
    GetWindowThreadProcessId(top, &id);
    GetWindowThreadProcessId(viewer(), &ours);
    if (id == ours && _wcsicmp(kind, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(top)) {
        *(HWND*)found = top;
        return FALSE;
    }
    return TRUE;
}

static int tip(void) {
    HWND shown = NULL;
    EnumWindows(shownTip, (LPARAM)&shown);
    if (shown == NULL) {
        printf("no tip\n");
        return 1;
    }
    struct {
        TTTOOLINFOW tool;
        wchar_t text[256];
    } local, *there = (void*)remote(sizeof local);
    memset(&local, 0, sizeof local);
    local.tool.cbSize = TTTOOLINFOW_V2_SIZE;
    local.tool.lpszText = there->text;
    WriteProcessMemory(process_, there, &local, sizeof local, NULL);
    if (!SendMessageW(shown, TTM_GETCURRENTTOOLW, 0, (LPARAM)&there->tool)) {
        printf("no tip\n");
        return 1;
    }
    ReadProcessMemory(process_, there, &local, sizeof local, NULL);
    local.text[255] = 0;
    /* UTF-8, for the shell to compare. */
    char text[1024];
    WideCharToMultiByte(CP_UTF8, 0, local.text, -1, text, sizeof text, NULL, NULL);
    printf("tip %s\n", text);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc >= 3 && wcscmp(argv[1], L"drop") == 0) {
        return drop(argc - 2, argv + 2);
    }
    if (argc == 2 && wcscmp(argv[1], L"captions") == 0) {
        return captions();
    }
    if (argc == 2 && wcscmp(argv[1], L"tabs") == 0) {
        return tabs();
    }
    if (argc == 2 && wcscmp(argv[1], L"tip") == 0) {
        return tip();
    }
    fprintf(stderr, "usage: window_probe.exe drop FILE... | captions | tabs | tip\n");
    return 2;
}
