// pgfview.exe: shows a PGF font as the PSP draws it and follows the file as it changes; the
// Windows twin of pgfview, drawing through the same psp_screen/.

#include <filesystem>
#include <string>
#include <vector>

#include "console_text.h"
#include "screen_export.h"
#include "tessavine_version.h"
#include "viewer_window.h"
#include "windows/wide_text.h"
#include "windows/win32.h"

#include <shellapi.h>

namespace {

constexpr const char* kUsage =
    "usage: pgfview.exe [FILE.pgf]\n"
    "       pgfview.exe --export OUT.png [FILE.pgf]\n"
    "       pgfview.exe --help | --version\n"
    "\n"
    "Shows a PSP font as the PSP draws it and follows the file as it changes. Without FILE it\n"
    "shows ltn0.pgf in its own folder, where the converter writes it, and opens beside the\n"
    "Tessavine window. --export writes the PSP screen at 1x as a PNG, without a window.\n";

std::vector<std::wstring> commandWords() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; words != nullptr && i < count; ++i) {
        result.emplace_back(words[i]);
    }
    LocalFree(words);
    return result;
}

// The folder of the program's own executable, however long its path.
std::filesystem::path programFolder() {
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
    return std::filesystem::path(path).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tessavine::pgfview_windows;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const std::vector<std::wstring> words = commandWords();
    const std::wstring first = words.empty() ? L"" : words[0];
    const std::filesystem::path defaultFont = programFolder() / L"ltn0.pgf";
    // The answers that need no window come first, so that they work without a display.
    if (first == L"--help" || first == L"-h" || first == L"/?") {
        writeOutput(kUsage);
        return 0;
    }
    if (first == L"--version") {
        writeOutput("pgfview " TESSAVINE_VERSION " (Tessavine)\n");
        return 0;
    }
    if (first == L"--export") {
        if (words.size() < 2 || words.size() > 3) {
            writeError(kUsage);
            return 2;
        }
        const std::string problem =
            exportScreen(words.size() == 3 ? std::filesystem::path(words[2]) : defaultFont,
                         std::filesystem::path(words[1]));
        if (!problem.empty()) {
            writeError("pgfview: " + problem + "\n");
            return 1;
        }
        return 0;
    }
    if (first.size() > 1 && first[0] == L'-') {
        writeError("pgfview: unknown option " + tessavine::utf8FromWide(first) + "\n" + kUsage);
        return 2;
    }
    if (words.size() > 1) {
        writeError(kUsage);
        return 2;
    }
    const bool companion = words.empty();
    return runViewer(instance, companion ? defaultFont : std::filesystem::path(first), companion);
}
