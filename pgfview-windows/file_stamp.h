#pragma once

#include <cstdint>
#include <filesystem>

namespace tessavine::pgfview_windows {

// What tells one version of a file from the next without reading it. The converter writes a
// temporary file and renames it over the old one: the new file has its own creation time even
// when its size and the clock's last write tick match the old one's.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    std::uint64_t created = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::filesystem::path& path);

}  // namespace tessavine::pgfview_windows
