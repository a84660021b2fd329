#pragma once

#include <cstdint>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessavine {

// What the logic asks of the file system. Paths are UTF-8 strings in the platform's own syntax,
// built by joinPath() from a folder and a file name.
//
// The operations that change something return an empty string on success and otherwise the
// platform's description of what went wrong, in words a user can act on.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when an ordinary file (not a folder) exists at the path.
    virtual bool fileExists(const std::string& path) const = 0;
    // True when a folder exists at the path; false, never an error, for a root that does not
    // exist or holds no medium.
    virtual bool folderExists(const std::string& path) const = 0;

    virtual std::string deleteFile(const std::string& path) = 0;
    // Creates that one folder; its parent must exist.
    virtual std::string createFolder(const std::string& path) = 0;
    // Copies with overwrite: the destination is created or replaced.
    virtual std::string copyFile(const std::string& source, const std::string& destination) = 0;
    // Like copyFile, but the destination never exists half-written: the bytes go to a temporary
    // name in the destination's folder first, which then replaces the destination.
    virtual std::string copyFileSafely(const std::string& source,
                                       const std::string& destination) = 0;

    // The directory search: the first ordinary, non-hidden file in the folder of `pattern`
    // whose name matches the last component of `pattern`, where `*` and `?` are wildcards.
    // Names compare as the platform's file system compares them (without regard to case on
    // Windows). Returns the file name found, or nothing.
    virtual std::optional<std::string> findFirstFile(const std::string& pattern) const = 0;

    // Whole-file reading and writing for settings.bin.
    // readFile: nothing when the file is missing; `error` receives a description when the file
    // exists but cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path,
                                                std::string& error) const = 0;
    // Writes the bytes to a new temporary file beside `path` and renames it over `path`. A
    // symbolic link at `path` is replaced by the file; whatever it led to stays untouched.
    virtual std::string writeFileReplacing(const std::string& path, const std::string& bytes) = 0;

    // --- Whole sets of fonts: copies onto a PSP and back from a backup ---
    // The names of everything directly in the folder (files and folders, hidden ones included),
    // sorted; nothing when the folder cannot be read.
    virtual std::vector<std::string> namesIn(const std::string& folder) const = 0;
    // The size in bytes of an ordinary file; nothing when there is none or it cannot be looked at.
    virtual std::optional<std::uintmax_t> fileSize(const std::string& path) const = 0;
    // Gives a file a new name in the same folder, replacing a file of that name.
    virtual std::string renameReplacing(const std::string& from, const std::string& to) = 0;
    // Creates that one folder; fails when anything of that name is there already.
    virtual std::string createNewFolder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual std::string removeEmptyFolder(const std::string& path) = 0;

    // --- Files that must not stall or exhaust the program, and what a killed save leaves ---
    // readFileAtMost: like readFile, but takes at most `maxBytes` bytes from the start of the
    // file, and only from an ordinary file (or one a link leads to): a named pipe, a device or a
    // folder is an error, found without waiting on it.
    virtual std::optional<std::string> readFileAtMost(const std::string& path, std::size_t maxBytes,
                                                      std::string& error) const = 0;
    // Removes the temporary files that writeFileReplacing(path) left behind when the program was
    // ended in the middle of it, beside `path` (never beside what a link there leads to). Leaves
    // everything else, including a temporary file a running save may still be writing.
    virtual void removeStaleTemporaryFiles(const std::string& path) = 0;

    // --- Files from outside, and files others may race us for ---
    // The whole of an ordinary file of at most `maxBytes` bytes, never through a symbolic link.
    // Nothing when there is no file; otherwise, for a link, a folder, a pipe or device, a larger
    // file or a failed read, `error` says so in one sentence naming the file (and the limit).
    virtual std::optional<std::string> readOrdinaryFile(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& error) const = 0;
    // Creates a file that did not exist with these bytes, flushed to the drive; fails when
    // anything (a symbolic link included) stands at the name. Two programs racing for one name
    // see exactly one succeed.
    virtual std::string createNewFile(const std::string& path, const std::string& bytes) = 0;
    // Renames a file in one step, failing when anything stands at the new name: of two programs
    // racing for the name, exactly one wins.
    virtual std::string renameWithoutReplacing(const std::string& from, const std::string& to) = 0;
    // Copies an ordinary file (not a link) into a file that did not exist, flushed to the drive;
    // fails when anything stands at the destination, and when fewer bytes arrive than the source
    // held.
    virtual std::string copyToNewFile(const std::string& source,
                                      const std::string& destination) = 0;
    // Writes out to the drive the names a folder holds, so that the files just made in it are
    // found there after a power cut.
    virtual std::string flushFolder(const std::string& path) = 0;
    // Whether two ordinary files hold the same bytes, read side by side in small pieces until
    // the first difference; nothing, with `error`, when either cannot be read.
    virtual std::optional<bool> sameContents(const std::string& first, const std::string& second,
                                             std::string& error) const = 0;
};

}  // namespace tessavine
