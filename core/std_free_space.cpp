#include "core/std_free_space.h"

#include <filesystem>
#include <system_error>

#include "core/file_platform.h"

namespace tessavine {

std::optional<std::uintmax_t> StdFreeSpace::availableBytes(const std::string& folder) const {
    std::error_code error;
    const std::filesystem::space_info space =
        std::filesystem::space(platform::pathFromUtf8(folder), error);
    if (error || space.available == static_cast<std::uintmax_t>(-1)) {
        return std::nullopt;
    }
    return space.available;
}

}  // namespace tessavine
