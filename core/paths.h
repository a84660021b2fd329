#pragma once

#include <string>
#include <string_view>

namespace tessavine {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Joins a folder (or drive root) and a relative name made of parts separated by backslashes,
// as in "PSP\\GAME" or "font\\": every backslash of `relative` becomes the platform's separator,
// and exactly one separator stands between folder and name. A trailing backslash is kept as a
// trailing separator.
std::string joinPath(std::string_view folder, std::string_view relative);

}  // namespace tessavine
