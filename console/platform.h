#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What the command-line programs do differently on Windows and on POSIX systems: how they get
// their words, how they print errors, and how they create and replace files.
namespace tessavine::console {

// The words after the program name, in UTF-8. Windows keeps the command line in UTF-16 and
// hands `argv` over in the ANSI code page, which cannot hold every file name; there the words
// are taken from the wide command line instead.
std::vector<std::string> programWords(int argc, char** argv);

// Writes UTF-8 text to the error stream. A Windows console is given it in UTF-16, so every
// character shows whatever the console's code page; pipes and files get the UTF-8 bytes.
void printToErrorStream(std::string_view utf8);
// The same for the output stream.
void printToOutput(std::string_view utf8);

// Creates the file at `path`, which must not exist yet, and writes all of `bytes` to it. Anything
// standing at the name, a symbolic link included, makes it fail (errno EEXIST) rather than be
// written through. On Windows the file is created by its UTF-16 name. When it cannot be created,
// errno says why.
enum class WriteResult { Written, CannotCreate, CannotWriteAll };
WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Puts the file `from` in place of `to` in one step, replacing a file already standing there.
std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tessavine::console
