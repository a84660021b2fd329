#include "file_stamp.h"

#include "windows/win32.h"

namespace tessavine::pgfview_windows {
namespace {

std::uint64_t ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

FileStamp stampOf(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FileStamp stamp;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = ticks(data.ftLastWriteTime);
    stamp.created = ticks(data.ftCreationTime);
    return stamp;
}

}  // namespace tessavine::pgfview_windows
