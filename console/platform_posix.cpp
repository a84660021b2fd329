#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "platform.h"

namespace tessavine::console {

std::vector<std::string> programWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);  // POSIX names are bytes already
}

void printToErrorStream(std::string_view utf8) {
    std::cerr << utf8 << std::flush;
}

void printToOutput(std::string_view utf8) {
    std::cout << utf8 << std::flush;
}

WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // O_EXCL fails on anything at the name, a dangling link included, and never follows it.
    const int file =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
    if (file < 0) {
        return WriteResult::CannotCreate;
    }
    std::span<const std::uint8_t> rest = bytes;
    while (!rest.empty()) {
        const ::ssize_t done = ::write(file, rest.data(), rest.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            ::close(file);
            return WriteResult::CannotWriteAll;
        }
        rest = rest.subspan(static_cast<std::size_t>(done));
    }
    return ::close(file) == 0 ? WriteResult::Written : WriteResult::CannotWriteAll;
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);  // rename(2) replaces `to` atomically
    return error;
}

}  // namespace tessavine::console
