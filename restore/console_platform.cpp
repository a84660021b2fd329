#include "restore/console_platform.h"

#include <filesystem>
#include <system_error>

#include "core/file_platform.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h, on which it builds
#include <shellapi.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>

#include <vector>
#endif

namespace tessavine {
namespace {

namespace fs = std::filesystem;

fs::path executablePath() {
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return fs::path(buffer);
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    return _NSGetExecutablePath(buffer.data(), &size) == 0 ? fs::path(buffer.data()) : fs::path();
#else
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : path;
#endif
}

}  // namespace

std::string runningProgramFolder(const char* argv0) {
    fs::path program = executablePath();
    std::error_code error;
    if (program.empty() && argv0 != nullptr) {
        program = fs::absolute(platform::pathFromUtf8(argv0), error);
    }
    return platform::utf8FromPath(program.parent_path());
}

#ifdef _WIN32

std::vector<std::string> utf8Arguments(int, char*[]) {
    // The narrow argv is in the console's code page, which cannot hold every file name.
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(platform::utf8FromPath(fs::path(wide[i])));
    }
    LocalFree(wide);
    return arguments;
}

void prepareUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
}

#else

std::vector<std::string> utf8Arguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void prepareUtf8Console() {}

#endif

}  // namespace tessavine
