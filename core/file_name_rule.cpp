#include "core/file_name_rule.h"

#include "core/paths.h"

namespace tessavine {

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
#ifdef _WIN32
    constexpr std::string_view kSeparators("/\\:\0", 4);
#else
    constexpr std::string_view kSeparators("/\0", 2);
#endif
    return name.find_first_of(kSeparators) == std::string_view::npos;
}

bool isPlainOnEveryPlatform(std::string_view name) {
    if (!isPlainFileName(name) || name.find_first_of("/\\:") != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

std::string pathOfNameIn(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator) {
        path += kPathSeparator;
    }
    path += name;
    return path;
}

}  // namespace tessavine
