#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
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
    std::string bytes;        // with Read: the first bytes of the file, at most the limit
    std::uintmax_t size = 0;  // with Read: the whole file's size, which may exceed the limit
    std::error_code error;    // with Failed: why
};

// Reads at most `maxBytes` bytes from the start of an ordinary file, or of the file a link
// leads to. Anything else at the path (a folder, a named pipe, a device) is NotAFile, found
// without waiting on it or reading from it: such a thing can block a reader forever or never
// end.
FilePrefix readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

// An ordinary file open for reading. Opening never waits (a named pipe would make it wait for a
// writer) and the type is checked on the open file, so what is read is what was checked. With
// `followLinks` false a symbolic link (a reparse point on Windows) is refused as Link: a file
// planted as a link would otherwise let a copy read, or a check pass, on a file elsewhere.
class InputFile {
  public:
    enum class Opened { Ok, Missing, NotAFile, Link, Failed };
    static InputFile open(const std::filesystem::path& path, bool followLinks);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    Opened opened() const { return opened_; }
    const std::error_code& error() const { return error_; }
    std::uintmax_t size() const { return size_; }  // as the open file says, before any read
    // Up to `count` bytes; 0 at the end; -1 on failure, with error() saying why.
    std::ptrdiff_t read(char* buffer, std::size_t count);

  private:
    InputFile() = default;
    void close();
    std::intptr_t handle_ = -1;
    Opened opened_ = Opened::Failed;
    std::error_code error_;
    std::uintmax_t size_ = 0;
};

// A file that did not exist before, created for writing. Creation fails when anything stands at
// the name, a symbolic link included, so a link planted at a temporary name is never written
// through.
class OutputFile {
  public:
    static OutputFile createNew(const std::filesystem::path& path);

    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool isOpen() const { return handle_ != -1; }
    const std::error_code& error() const { return error_; }
    // All of the bytes or an error.
    bool write(const char* bytes, std::size_t count);
    // Flushes the bytes to the drive and closes; false with error() on failure.
    bool finish();

  private:
    OutputFile() = default;
    std::intptr_t handle_ = -1;
    std::error_code error_;
};

// Renames `from` to `to` in one step, failing (file_exists) when anything stands at `to`.
std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to);

// The running program's process number, and whether the process `id` of this computer is
// certainly gone: false whenever the platform cannot tell (a process of another user, say), so
// a lock is never taken from an owner that may still be running.
std::uint64_t currentProcessId();
bool processIsGone(std::uint64_t id);
// This computer's name, for telling our own locks from those of another computer sharing the
// folder.
std::string hostName();
// When the process `id` of this computer started, in seconds since 1970 (UTC); nothing when the
// platform will not tell. A process number reused after a restart shows a start after the time
// its old owner wrote down.
std::optional<std::int64_t> processStartTime(std::uint64_t id);

// True for a symbolic link at the path itself (not what it leads to).
bool isSymbolicLink(const std::filesystem::path& path);

// Writes out to the drive which names a folder holds, so that files just created in it survive a
// power cut before anything that relies on them is done. An empty error_code when done or when
// the platform keeps no such state apart from the files.
std::error_code flushFolder(const std::filesystem::path& folder);

}  // namespace tessavine::platform
