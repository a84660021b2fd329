#pragma once

#include <filesystem>
#include <string>

namespace tessavine::platform {

// UTF-8 text to a path and back. Neither ever throws: text that is not well-formed UTF-8 is
// carried over as best it can be rather than refused.
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// True for a directory entry that a plain directory listing keeps out of sight: a dot-file on
// POSIX, a file marked hidden or system on Windows.
bool isHiddenEntry(const std::filesystem::path& path);

// The form in which two file-name characters compare as the file system compares them: the
// character itself where case matters, its upper-case form on Windows.
char32_t fileNameFold(char32_t c);

}  // namespace tessavine::platform
