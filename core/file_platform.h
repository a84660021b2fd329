#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

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

// What reading the start of a file found.
struct FilePrefix {
    enum class Outcome { Read, Missing, NotAFile, Failed };
    Outcome outcome = Outcome::Failed;
    std::string bytes;      // with Read: the first bytes of the file, at most the limit
    std::error_code error;  // with Failed: why
};

// Reads at most `maxBytes` bytes from the start of an ordinary file, or of the file a link
// leads to. Anything else at the path (a folder, a named pipe, a device) is NotAFile, found
// without waiting on it or reading from it: such a thing can block a reader forever or never
// end.
FilePrefix readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace tessavine::platform
