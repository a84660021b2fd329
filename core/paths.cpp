#include "paths.h"

namespace tessavine {

std::string joinPath(std::string_view folder, std::string_view relative) {
    std::string path(folder);
    while (!relative.empty() && (relative.front() == '\\' || relative.front() == '/')) {
        relative.remove_prefix(1);
    }
    if (path.empty() || path.back() != kPathSeparator) {
        path += kPathSeparator;
    }
    for (char c : relative) {
        path += (c == '\\') ? kPathSeparator : c;
    }
    return path;
}

}  // namespace tessavine
