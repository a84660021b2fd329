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
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
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

namespace {

// A console shows UTF-16 whatever its code page, so every name prints right; a file or a pipe
// takes the UTF-8 bytes, as on other systems. GetConsoleMode succeeds on a console only.
void printTo(DWORD which, std::FILE* stream, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    std::fflush(stream);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0) {
        const std::wstring wide = wideFromUtf8(utf8);
        std::size_t at = 0;
        while (at < wide.size()) {
            // Consoles take a bounded amount per call.
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
            DWORD written = 0;
            if (WriteConsoleW(handle, wide.data() + at, chunk, &written, nullptr) == 0 ||
                written == 0) {
                return;
            }
            at += written;
        }
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace

void printToErrorStream(std::string_view utf8) {
    printTo(STD_ERROR_HANDLE, stderr, utf8);
}

void printToOutput(std::string_view utf8) {
    printTo(STD_OUTPUT_HANDLE, stdout, utf8);
}

WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // CREATE_NEW fails on anything at the name, a link included, without following it.
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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

}  // namespace tessavine::console
