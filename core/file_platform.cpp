#include "core/file_platform.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <utility>

#include "core/utf8.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
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

InputFile InputFile::open(const std::filesystem::path& path, bool followLinks) {
    InputFile file;
    // Opening never waits on a pipe here; with FILE_FLAG_OPEN_REPARSE_POINT a link is opened
    // itself, and its attributes give it away.
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        std::error_code ignored;
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            file.opened_ = Opened::Missing;
        } else if (code == ERROR_ACCESS_DENIED && std::filesystem::is_directory(path, ignored)) {
            file.opened_ = Opened::NotAFile;
        } else {
            file.error_ = std::error_code(static_cast<int>(code), std::system_category());
        }
        return file;
    }
    file.handle_ = reinterpret_cast<std::intptr_t>(handle);
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        file.close();
        file.opened_ = Opened::NotAFile;
        return file;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        file.close();
        file.opened_ = Opened::Link;
        return file;
    }
    file.size_ =
        (static_cast<std::uintmax_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    file.opened_ = Opened::Ok;
    return file;
}

void InputFile::close() {
    if (handle_ != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
        handle_ = -1;
    }
}

std::ptrdiff_t InputFile::read(char* buffer, std::size_t count) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
        error_ = std::error_code(static_cast<int>(GetLastError()), std::system_category());
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

OutputFile OutputFile::createNew(const std::filesystem::path& path) {
    OutputFile file;
    // CREATE_NEW fails on anything at the name, a link included, without following it.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        file.error_ = std::error_code(static_cast<int>(GetLastError()), std::system_category());
        return file;
    }
    file.handle_ = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

OutputFile::~OutputFile() {
    if (handle_ != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

bool OutputFile::write(const char* bytes, std::size_t count) {
    while (count > 0) {
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        if (!WriteFile(reinterpret_cast<HANDLE>(handle_), bytes, want, &done, nullptr)) {
            error_ = std::error_code(static_cast<int>(GetLastError()), std::system_category());
            return false;
        }
        bytes += done;
        count -= done;
    }
    return true;
}

bool OutputFile::finish() {
    const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
    handle_ = -1;
    const bool flushed = FlushFileBuffers(handle) != 0;
    if (!flushed) {
        error_ = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
    const bool closed = CloseHandle(handle) != 0;
    if (flushed && !closed) {
        error_ = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
    return flushed && closed;
}

std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
        const DWORD code = GetLastError();
        return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS
                   ? std::make_error_code(std::errc::file_exists)
                   : std::error_code(static_cast<int>(code), std::system_category());
    }
    return {};
}

std::uint64_t currentProcessId() {
    return GetCurrentProcessId();
}

bool processIsGone(std::uint64_t id) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // No such process; a process we may not look at gives ERROR_ACCESS_DENIED instead.
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) != 0 && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

std::string hostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) {
        return "unknown";
    }
    return utf8FromPath(std::filesystem::path(std::wstring(name, length)));
}

std::optional<std::int64_t> processStartTime(std::uint64_t id) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        return std::nullopt;
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    const bool known = GetProcessTimes(process, &created, &exited, &kernel, &user) != 0;
    CloseHandle(process);
    if (!known) {
        return std::nullopt;
    }
    // FILETIME counts 100 ns steps from 1601; 11,644,473,600 seconds lie between 1601 and 1970.
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000u) - 11644473600LL;
}

std::error_code flushFolder(const std::filesystem::path&) {
    return {};  // NTFS and FAT keep a folder's entries with the files, flushed with each file
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

InputFile InputFile::open(const std::filesystem::path& path, bool followLinks) {
    InputFile file;
    // Without O_NONBLOCK, opening a named pipe waits until something writes to it.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY |
                                                (followLinks ? 0 : O_NOFOLLOW));
    if (handle < 0) {
        const int code = errno;
        struct stat status {};
        if (code == ENOENT) {
            file.opened_ = Opened::Missing;
        } else if (code == ELOOP && !followLinks && ::lstat(path.c_str(), &status) == 0 &&
                   S_ISLNK(status.st_mode)) {
            file.opened_ = Opened::Link;
        } else {
            file.error_ = std::error_code(code, std::generic_category());
        }
        return file;
    }
    file.handle_ = handle;
    struct stat status {};
    if (::fstat(handle, &status) != 0) {
        file.error_ = std::error_code(errno, std::generic_category());
        file.close();
        return file;
    }
    if (!S_ISREG(status.st_mode)) {
        file.close();
        file.opened_ = Opened::NotAFile;
        return file;
    }
    file.size_ = static_cast<std::uintmax_t>(status.st_size);
    file.opened_ = Opened::Ok;
    return file;
}

void InputFile::close() {
    if (handle_ != -1) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

std::ptrdiff_t InputFile::read(char* buffer, std::size_t count) {
    for (;;) {
        const ::ssize_t got = ::read(static_cast<int>(handle_), buffer, count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error_ = std::error_code(errno, std::generic_category());
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    }
}

OutputFile OutputFile::createNew(const std::filesystem::path& path) {
    OutputFile file;
    // O_EXCL fails on anything at the name, a dangling link included, and never follows it.
    const int handle =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
    if (handle < 0) {
        file.error_ = std::error_code(errno, std::generic_category());
        return file;
    }
    file.handle_ = handle;
    return file;
}

OutputFile::~OutputFile() {
    if (handle_ != -1) {
        ::close(static_cast<int>(handle_));
    }
}

bool OutputFile::write(const char* bytes, std::size_t count) {
    while (count > 0) {
        const ::ssize_t done = ::write(static_cast<int>(handle_), bytes, count);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            error_ = done < 0 ? std::error_code(errno, std::generic_category())
                              : std::make_error_code(std::errc::no_space_on_device);
            return false;
        }
        bytes += done;
        count -= static_cast<std::size_t>(done);
    }
    return true;
}

bool OutputFile::finish() {
    const int handle = static_cast<int>(handle_);
    handle_ = -1;
    const bool synced = ::fsync(handle) == 0;
    if (!synced) {
        error_ = std::error_code(errno, std::generic_category());
    }
    const bool closed = ::close(handle) == 0;
    if (synced && !closed) {
        error_ = std::error_code(errno, std::generic_category());
    }
    return synced && closed;
}

std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return std::error_code(errno, std::generic_category());
    }
    // A file system without the flag: a hard link fails on an existing name just as well.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return std::error_code(errno, std::generic_category());
    }
    ::unlink(from.c_str());
    return {};
}

std::uint64_t currentProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

bool processIsGone(std::uint64_t id) {
    if (id == 0 || id > static_cast<std::uint64_t>(std::numeric_limits<pid_t>::max())) {
        return false;
    }
    // EPERM means the process is there but belongs to someone else.
    return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return "unknown";
    }
    return name;
}

std::optional<std::int64_t> processStartTime(std::uint64_t id) {
    if (id == 0 || id > static_cast<std::uint64_t>(std::numeric_limits<pid_t>::max())) {
        return std::nullopt;
    }
    // Field 22 of /proc/<pid>/stat is the start in clock ticks after boot, and /proc/stat's
    // "btime" the boot in seconds since 1970. The command name (field 2) may hold spaces and
    // parentheses, so the fields are counted from its last ')'.
    std::string stat;
    {
        const FilePrefix read = readFilePrefix("/proc/" + std::to_string(id) + "/stat", 4096);
        if (read.outcome != FilePrefix::Outcome::Read) {
            return std::nullopt;
        }
        stat = read.bytes;
    }
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int number = 3; number < 22 && fields >> field; ++number) {
    }
    unsigned long long ticks = 0;
    if (!(fields >> ticks)) {
        return std::nullopt;
    }
    const FilePrefix boot = readFilePrefix("/proc/stat", 1 << 16);
    const std::size_t at = boot.bytes.find("\nbtime ");
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    if (boot.outcome != FilePrefix::Outcome::Read || at == std::string::npos || perSecond <= 0) {
        return std::nullopt;
    }
    const long long bootTime = std::atoll(boot.bytes.c_str() + at + 7);
    return static_cast<std::int64_t>(bootTime) +
           static_cast<std::int64_t>(ticks / static_cast<unsigned long long>(perSecond));
}

std::error_code flushFolder(const std::filesystem::path& folder) {
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) {
        return std::error_code(errno, std::generic_category());
    }
    std::error_code error;
    if (::fsync(handle) != 0 && errno != EINVAL) {  // EINVAL: a file system without the notion
        error = std::error_code(errno, std::generic_category());
    }
    ::close(handle);
    return error;
}

#endif

bool isSymbolicLink(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    return !error && std::filesystem::is_symlink(status);
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      opened_(other.opened_),
      error_(other.error_),
      size_(other.size_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
        opened_ = other.opened_;
        error_ = other.error_;
        size_ = other.size_;
    }
    return *this;
}

InputFile::~InputFile() {
    close();
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), error_(other.error_) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(error_, other.error_);
    return *this;
}

FilePrefix readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
    FilePrefix result;
    InputFile file = InputFile::open(path, true);
    switch (file.opened()) {
        case InputFile::Opened::Ok:
            break;
        case InputFile::Opened::Missing:
            result.outcome = FilePrefix::Outcome::Missing;
            return result;
        case InputFile::Opened::NotAFile:
        case InputFile::Opened::Link:
            result.outcome = FilePrefix::Outcome::NotAFile;
            return result;
        case InputFile::Opened::Failed:
            result.error = file.error();
            return result;
    }
    result.size = file.size();
    std::size_t done = 0;
    while (done < maxBytes) {
        const std::size_t want = std::min(maxBytes - done, kReadChunk);
        result.bytes.resize(done + want);
        const std::ptrdiff_t got = file.read(result.bytes.data() + done, want);
        if (got < 0) {
            result.error = file.error();
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    result.bytes.resize(done);
    result.size = std::max<std::uintmax_t>(result.size, done);
    result.outcome = FilePrefix::Outcome::Read;
    return result;
}

}  // namespace tessavine::platform
