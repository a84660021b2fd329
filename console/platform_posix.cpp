#include <fstream>
#include <iostream>

#include "platform.h"

namespace tessavine::console {

std::vector<std::string> programWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);  // POSIX names are bytes already
}

void printToErrorStream(std::string_view utf8) {
    std::cerr << utf8 << std::flush;
}

WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return WriteResult::CannotCreate;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? WriteResult::Written : WriteResult::CannotWriteAll;
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);  // rename(2) replaces `to` atomically
    return error;
}

std::FILE* openForWriting(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "wb");
}

}  // namespace tessavine::console
