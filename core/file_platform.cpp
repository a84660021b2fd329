#include "core/file_platform.h"

#include <algorithm>

#include "core/utf8.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tessavine::platform {
namespace {

// readFilePrefix grows its buffer by this much at a time, so a small file takes little memory.
constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

#ifdef _WIN32

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    std::wstring wide;
    for (char32_t c : decodeUtf8(utf8)) {
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (v >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    return std::filesystem::path(wide);
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

bool isHiddenEntry(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;  // what cannot be looked at is not offered
    }
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

char32_t fileNameFold(char32_t c) {
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return c;
    }
    wchar_t w = static_cast<wchar_t>(c);
    CharUpperBuffW(&w, 1);
    return static_cast<char16_t>(w);
}

FilePrefix readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
    FilePrefix result;
    // Opening never waits on a pipe here, and a device or a folder is told by its type.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            result.outcome = FilePrefix::Outcome::Missing;
        } else if (code == ERROR_ACCESS_DENIED &&
                   std::filesystem::is_directory(path, result.error)) {
            result.outcome = FilePrefix::Outcome::NotAFile;
        } else {
            result.error = std::error_code(static_cast<int>(code), std::system_category());
        }
        return result;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        result.outcome = FilePrefix::Outcome::NotAFile;
        return result;
    }
    std::size_t done = 0;
    while (done < maxBytes) {
        const std::size_t want = std::min(maxBytes - done, kReadChunk);
        result.bytes.resize(done + want);
        DWORD got = 0;
        if (!ReadFile(file, result.bytes.data() + done, static_cast<DWORD>(want), &got, nullptr)) {
            result.error =
                std::error_code(static_cast<int>(GetLastError()), std::system_category());
            CloseHandle(file);
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    CloseHandle(file);
    result.bytes.resize(done);
    result.outcome = FilePrefix::Outcome::Read;
    return result;
}

#else

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(utf8);  // POSIX paths are bytes; UTF-8 passes as it is
}

std::string utf8FromPath(const std::filesystem::path& path) {
    return path.native();
}

bool isHiddenEntry(const std::filesystem::path& path) {
    const std::string name = path.filename().native();
    return !name.empty() && name.front() == '.';
}

char32_t fileNameFold(char32_t c) {
    return c;
}

FilePrefix readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
    FilePrefix result;
    // Without O_NONBLOCK, opening a named pipe waits until something writes to it.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        if (errno == ENOENT) {
            result.outcome = FilePrefix::Outcome::Missing;
        } else {
            result.error = std::error_code(errno, std::generic_category());
        }
        return result;
    }
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        result.error = std::error_code(errno, std::generic_category());
        ::close(file);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(file);
        result.outcome = FilePrefix::Outcome::NotAFile;
        return result;
    }
    std::size_t done = 0;
    while (done < maxBytes) {
        const std::size_t want = std::min(maxBytes - done, kReadChunk);
        result.bytes.resize(done + want);
        const ::ssize_t got = ::read(file, result.bytes.data() + done, want);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.error = std::error_code(errno, std::generic_category());
            ::close(file);
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(file);
    result.bytes.resize(done);
    result.outcome = FilePrefix::Outcome::Read;
    return result;
}

#endif

}  // namespace tessavine::platform
