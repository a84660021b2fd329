// tessavine.exe: the window on Windows, with the platform's own controls.

#include <string>

#include "windows/gdiplus_api.h"

#include "windows/native_program.h"
#include "windows/wide_text.h"
#include "windows/win32.h"

namespace {

// The folder of the program's own executable, however long its path.
std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto separator = path.find_last_of(L"\\/");
    return tessavine::utf8FromWide(separator == std::wstring::npos ? std::wstring(L".")
                                                                   : path.substr(0, separator));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // A drive without a medium answers "no folder" to the device scan: Windows must not ask
    // the user to insert a disk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    int code = 0;
    {
        tessavine::NativeProgram program(instance, programFolder());
        code = program.run();
    }
    Gdiplus::GdiplusShutdown(token);
    return code;
}
