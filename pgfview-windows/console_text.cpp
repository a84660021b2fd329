#include "console_text.h"

#include <string>

#include "windows/wide_text.h"
#include "windows/win32.h"

namespace tessavine::pgfview_windows {
namespace {

HANDLE streamHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        return handle;
    }
    // No stream was handed over: the console the program was started from, if any. A second
    // attach fails harmlessly when the first one worked.
    AttachConsole(ATTACH_PARENT_PROCESS);
    return CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

void write(DWORD which, std::string_view utf8) {
    const HANDLE handle = streamHandle(which);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows every character in UTF-16, whatever its code page.
        const std::wstring wide = wideFromUtf8(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

}  // namespace

void writeOutput(std::string_view utf8) {
    write(STD_OUTPUT_HANDLE, utf8);
}

void writeError(std::string_view utf8) {
    write(STD_ERROR_HANDLE, utf8);
}

}  // namespace tessavine::pgfview_windows
