#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "core/file_platform.h"
#include "platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace tessavine::console {
namespace {

std::wstring wideFromUtf8(std::string_view utf8) {
    return tessavine::platform::pathFromUtf8(std::string(utf8)).native();
}

// Closes a Win32 handle when the scope ends.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// The error numbers the converter's messages distinguish; 0 for the rest.
int errnoFromLastError(DWORD error) {
    switch (error) {
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return ENAMETOOLONG;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        default:
            return 0;
    }
}

}  // namespace

std::vector<std::string> programWords(int /*argc*/, char** /*argv*/) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    if (wide == nullptr) {
        return words;
    }
    for (int i = 1; i < count; ++i) {
        words.push_back(tessavine::platform::utf8FromPath(std::filesystem::path(wide[i])));
    }
    LocalFree(wide);
    return words;
}

void printToErrorStream(std::string_view utf8) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (error != nullptr && error != INVALID_HANDLE_VALUE && GetConsoleMode(error, &mode) != 0) {
        std::fflush(stderr);
        const std::wstring wide = wideFromUtf8(utf8);
        DWORD written = 0;
        WriteConsoleW(error, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        errno = errnoFromLastError(GetLastError());
        return WriteResult::CannotCreate;
    }
    std::span<const std::uint8_t> rest = bytes;
    while (!rest.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
        DWORD written = 0;
        if (WriteFile(file.get(), rest.data(), chunk, &written, nullptr) == 0 || written == 0) {
            return WriteResult::CannotWriteAll;
        }
        rest = rest.subspan(written);
    }
    return file.close() ? WriteResult::Written : WriteResult::CannotWriteAll;
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
        return {};
    }
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

std::FILE* openForWriting(const std::filesystem::path& path) {
    return _wfopen(path.c_str(), L"wb");
}

}  // namespace tessavine::console
