#include "core/std_file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/file_platform.h"
#include "core/wildcard.h"

namespace fs = std::filesystem;

namespace tessavine {
namespace {

constexpr int kTemporaryNameAttempts = 100;
// A save takes milliseconds; a temporary file this old belongs to a save that was cut short.
constexpr auto kStaleTemporaryAge = std::chrono::seconds(30);

using platform::pathFromUtf8;
using platform::utf8FromPath;

// The platform's own words for the error, without the full stop or line end that some
// platforms add, so that it reads well inside a sentence.
std::string reason(const std::error_code& error) {
    std::string text = error.message();
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == '\r' ||
                             text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "unknown error" : text;
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string failure(const std::string& what, const std::error_code& error,
                    const std::string& advice) {
    return what + ": " + reason(error) + ". " + advice;
}

// The error of the last failed C library call, or a general input/output error when the library
// did not say.
std::error_code lastStreamError() {
    const int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category())
                     : std::make_error_code(std::errc::io_error);
}

// A folder where a file is to be written is named as such: the platforms' own errors for it
// ("Invalid argument", "Access is denied") would send the user looking in the wrong place.
bool isFolder(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(fs::status(path, ignored));
}

const char* const kWriteAdvice =
    "Check that the folder exists, that you may write to it, that no folder of that name "
    "stands in the way and that the drive has free space.";

// True for a name that StdFileSystem::temporaryNameFor gives for `targetName`:
// ".<target>.tessavine-<digits>.tmp".
bool isTemporaryNameFor(const std::string& targetName, const std::string& name) {
    const std::string head = "." + targetName + ".tessavine-";
    const std::string tail = ".tmp";
    if (name.size() <= head.size() + tail.size() || !name.starts_with(head) ||
        !name.ends_with(tail)) {
        return false;
    }
    const std::string tag = name.substr(head.size(), name.size() - head.size() - tail.size());
    return tag.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool StdFileSystem::fileExists(const std::string& path) const {
    std::error_code error;
    return fs::is_regular_file(pathFromUtf8(path), error);
}

bool StdFileSystem::folderExists(const std::string& path) const {
    std::error_code error;
    return fs::is_directory(pathFromUtf8(path), error);
}

std::string StdFileSystem::deleteFile(const std::string& path) {
    const fs::path target = pathFromUtf8(path);
    std::error_code error;
    if (isFolder(target)) {
        return failure("Could not delete " + quoted(path),
                       std::make_error_code(std::errc::is_a_directory),
                       "Move or rename that folder, then try again.");
    }
    fs::remove(target, error);
    if (error) {
        return failure("Could not delete " + quoted(path), error,
                       "Close any program that is using the file, check that you may change it, "
                       "then try again.");
    }
    return {};
}

std::string StdFileSystem::createFolder(const std::string& path) {
    std::error_code error;
    fs::create_directory(pathFromUtf8(path), error);  // a folder already there is no failure
    if (error) {
        return failure("Could not create the folder " + quoted(path), error,
                       "Check that the drive is connected and not write-protected, and that "
                       "no file of that name stands in the way.");
    }
    return {};
}

std::string StdFileSystem::copyFile(const std::string& source, const std::string& destination) {
    std::error_code error;
    if (isFolder(pathFromUtf8(destination))) {
        error = std::make_error_code(std::errc::is_a_directory);
    } else {
        fs::copy_file(pathFromUtf8(source), pathFromUtf8(destination),
                      fs::copy_options::overwrite_existing, error);
    }
    if (error) {
        return failure("Could not copy " + quoted(source) + " to " + quoted(destination), error,
                       kWriteAdvice);
    }
    return {};
}

std::string StdFileSystem::temporaryNameFor(const std::string& destination) {
    const fs::path target = pathFromUtf8(destination);
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t tag = (ticks * 0x9E3779B97F4A7C15u) ^ ++temporaryCounter_;
    const std::string name = "." + utf8FromPath(target.filename()) + ".tessavine-" +
                             std::to_string(tag % 1000000007u) + ".tmp";
    return utf8FromPath(target.parent_path() / pathFromUtf8(name));
}

std::string StdFileSystem::copyFileSafely(const std::string& source,
                                          const std::string& destination) {
    const std::string what = "Could not copy " + quoted(source) + " to " + quoted(destination);
    if (isFolder(pathFromUtf8(destination))) {
        return failure(what, std::make_error_code(std::errc::is_a_directory), kWriteAdvice);
    }
    std::error_code error;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const fs::path temporary = pathFromUtf8(temporaryNameFor(destination));
        error.clear();
        fs::copy_file(pathFromUtf8(source), temporary, fs::copy_options::none, error);
        if (error == std::errc::file_exists) {
            continue;  // someone else's file: leave it and take another name
        }
        if (!error) {
            fs::rename(temporary, pathFromUtf8(destination), error);
        }
        if (error) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return failure(what, error, kWriteAdvice);
        }
        return {};
    }
    return failure(what, error, kWriteAdvice);
}

std::optional<std::string> StdFileSystem::findFirstFile(const std::string& pattern) const {
    const fs::path full = pathFromUtf8(pattern);
    const std::string namePattern = utf8FromPath(full.filename());
    if (namePattern.empty()) {
        return std::nullopt;
    }
    const fs::path folder = full.has_parent_path() ? full.parent_path() : fs::path(".");
    std::error_code error;
    fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        std::error_code ignored;
        if (!entry.is_regular_file(ignored) || platform::isHiddenEntry(entry.path())) {
            continue;
        }
        const std::string name = utf8FromPath(entry.path().filename());
        if (matchesWildcard(namePattern, name)) {
            return name;
        }
    }
    return std::nullopt;
}

std::optional<std::string> StdFileSystem::readFile(const std::string& path,
                                                   std::string& error) const {
    error.clear();
    const fs::path source = pathFromUtf8(path);
    std::error_code statusError;
    const fs::file_status status = fs::status(source, statusError);
    if (status.type() == fs::file_type::not_found) {
        return std::nullopt;
    }
    const std::string what = "Could not read " + quoted(path);
    const char* const advice =
        "Check that it is an ordinary file that you may read, or move it out of the way.";
    if (statusError) {
        error = failure(what, statusError, advice);
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        error = failure(what, std::make_error_code(std::errc::is_a_directory), advice);
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {  // a pipe would stall the read, a device never end it
        error = failure(what, std::make_error_code(std::errc::invalid_argument), advice);
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        error = failure(what, lastStreamError(), advice);
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = failure(what, lastStreamError(), advice);
        return std::nullopt;
    }
    return bytes;
}

std::string StdFileSystem::writeFileReplacing(const std::string& path, const std::string& bytes) {
    const std::string what = "Could not write " + quoted(path);
    const fs::path target = pathFromUtf8(path);
    // The name itself is replaced, never written through: a symbolic link planted there (or
    // left dangling) would otherwise have the save change, or create, a file elsewhere. So only a
    // real folder at the name stands in the way; a link is replaced like a file.
    std::error_code ignored;
    if (fs::is_directory(fs::symlink_status(target, ignored))) {
        return failure(what, std::make_error_code(std::errc::is_a_directory), kWriteAdvice);
    }
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const fs::path temporary = pathFromUtf8(temporaryNameFor(path));
        platform::OutputFile out = platform::OutputFile::createNew(temporary);
        if (!out.isOpen()) {
            if (fs::exists(fs::symlink_status(temporary, ignored))) {
                continue;  // someone else's file, or a link: leave it and take another name
            }
            return failure(what, out.error(), kWriteAdvice);
        }
        std::error_code error;
        if (!out.write(bytes.data(), bytes.size()) || !out.finish()) {
            error = out.error();
        } else {
            fs::rename(temporary, target, error);
        }
        if (error) {
            fs::remove(temporary, ignored);
            return failure(what, error, kWriteAdvice);
        }
        return {};
    }
    return failure(what, std::make_error_code(std::errc::file_exists), kWriteAdvice);
}

// --- Whole sets of fonts ---------------------------------------------------------------------

std::vector<std::string> StdFileSystem::namesIn(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(pathFromUtf8(folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        names.push_back(utf8FromPath(entries->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::uintmax_t> StdFileSystem::fileSize(const std::string& path) const {
    const fs::path file = pathFromUtf8(path);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(file, error);
    return error ? std::nullopt : std::optional(size);
}

std::string StdFileSystem::renameReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    if (isFolder(pathFromUtf8(to))) {
        error = std::make_error_code(std::errc::is_a_directory);
    } else {
        fs::rename(pathFromUtf8(from), pathFromUtf8(to), error);
    }
    if (error) {
        return failure("Could not rename " + quoted(from) + " to " + quoted(to), error,
                       kWriteAdvice);
    }
    return {};
}

std::string StdFileSystem::createNewFolder(const std::string& path) {
    std::error_code error;
    if (!fs::create_directory(pathFromUtf8(path), error) && !error) {
        error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        return failure("Could not create the folder " + quoted(path), error,
                       "Check that the drive is connected and not write-protected, and that "
                       "you may write to the folder around it.");
    }
    return {};
}

std::string StdFileSystem::flushFolder(const std::string& path) {
    if (const std::error_code error = platform::flushFolder(pathFromUtf8(path))) {
        return failure("Could not write out the folder " + quoted(path), error, kWriteAdvice);
    }
    return {};
}

std::string StdFileSystem::removeEmptyFolder(const std::string& path) {
    std::error_code error;
    fs::remove(pathFromUtf8(path), error);
    if (error) {
        return failure("Could not remove the folder " + quoted(path), error,
                       "Remove it yourself when it is no longer needed.");
    }
    return {};
}

std::optional<std::string> StdFileSystem::readFileAtMost(const std::string& path,
                                                         std::size_t maxBytes,
                                                         std::string& error) const {
    error.clear();
    const fs::path source = pathFromUtf8(path);
    platform::FilePrefix read = platform::readFilePrefix(source, maxBytes);
    const std::string what = "Could not read " + quoted(path);
    const char* const advice =
        "Check that it is an ordinary file that you may read, or move it out of the way.";
    switch (read.outcome) {
        case platform::FilePrefix::Outcome::Read:
            return std::move(read.bytes);
        case platform::FilePrefix::Outcome::Missing:
            return std::nullopt;
        case platform::FilePrefix::Outcome::NotAFile:
            if (isFolder(source)) {
                error = failure(what, std::make_error_code(std::errc::is_a_directory), advice);
            } else {
                error = what + ": it is not an ordinary file but a pipe, a device or the like. " +
                        advice;
            }
            return std::nullopt;
        case platform::FilePrefix::Outcome::Failed:
            break;
    }
    error = failure(what, read.error, advice);
    return std::nullopt;
}

void StdFileSystem::removeStaleTemporaryFiles(const std::string& path) {
    // Only beside the name itself, where writeFileReplacing writes: a link there must not lead
    // the removal into another folder.
    const fs::path target = pathFromUtf8(path);
    const std::string targetName = utf8FromPath(target.filename());
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const auto staleBefore = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path candidate = entries->path();
        std::error_code ignored;
        if (isTemporaryNameFor(targetName, utf8FromPath(candidate.filename())) &&
            fs::is_regular_file(fs::symlink_status(candidate, ignored)) &&
            fs::last_write_time(candidate, ignored) < staleBefore && !ignored) {
            fs::remove(candidate, ignored);  // what cannot be removed now is tried next time
        }
    }
}

}  // namespace tessavine

namespace tessavine {
namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

// Why an opened file cannot be read as an ordinary one, in one sentence without the full stop.
std::string refusal(const std::string& path, const platform::InputFile& file) {
    switch (file.opened()) {
        case platform::InputFile::Opened::Link:
            return quoted(path) + " is a symbolic link, which is not followed here";
        case platform::InputFile::Opened::NotAFile:
            return quoted(path) + " is not an ordinary file but a folder, a pipe or a device";
        case platform::InputFile::Opened::Missing:
            return quoted(path) + " is not there";
        default:
            return "Could not read " + quoted(path) + ": " + reason(file.error());
    }
}

}  // namespace

std::optional<std::string> StdFileSystem::readOrdinaryFile(const std::string& path,
                                                           std::size_t maxBytes,
                                                           std::string& error) const {
    error.clear();
    platform::InputFile file = platform::InputFile::open(pathFromUtf8(path), false);
    if (file.opened() == platform::InputFile::Opened::Missing) {
        return std::nullopt;
    }
    if (file.opened() != platform::InputFile::Opened::Ok) {
        error = refusal(path, file) + ".";
        return std::nullopt;
    }
    // Judged by the size before anything is read: a sparse file of gigabytes costs nothing to
    // make and would cost that much memory to read.
    if (file.size() > maxBytes) {
        error = quoted(path) + " is " + std::to_string(file.size()) +
                " bytes long, more than the " + std::to_string(maxBytes) +
                " bytes such a file can have.";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            // A file that grew meanwhile may still pass the bound; one byte more tells.
            char probe = 0;
            const std::ptrdiff_t got = file.read(&probe, 1);
            if (got == 0) {
                break;
            }
            if (got < 0 || bytes.size() >= maxBytes) {
                error = got < 0 ? refusal(path, file) + "."
                                : quoted(path) + " grew beyond the " + std::to_string(maxBytes) +
                                      " bytes such a file can have while it was read.";
                return std::nullopt;
            }
            bytes.push_back(probe);
            ++done;
            bytes.resize(std::min(maxBytes, bytes.size() + kCopyChunk));
        }
        const std::ptrdiff_t got = file.read(bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            error = refusal(path, file) + ".";
            return std::nullopt;
        }
        if (got == 0) {
            bytes.resize(done);
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::string StdFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    const std::string what = "Could not create " + quoted(path);
    platform::OutputFile file = platform::OutputFile::createNew(pathFromUtf8(path));
    if (!file.isOpen()) {
        return failure(what, file.error(), kWriteAdvice);
    }
    if (!file.write(bytes.data(), bytes.size()) || !file.finish()) {
        const std::error_code error = file.error();
        std::error_code ignored;
        fs::remove(pathFromUtf8(path), ignored);
        return failure(what, error, kWriteAdvice);
    }
    return {};
}

std::string StdFileSystem::renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (const std::error_code error =
            platform::renameWithoutReplacing(pathFromUtf8(from), pathFromUtf8(to))) {
        return failure("Could not rename " + quoted(from) + " to " + quoted(to), error,
                       kWriteAdvice);
    }
    return {};
}

std::string StdFileSystem::copyToNewFile(const std::string& source,
                                         const std::string& destination) {
    const std::string what = "Could not copy " + quoted(source) + " to " + quoted(destination);
    platform::InputFile in = platform::InputFile::open(pathFromUtf8(source), false);
    if (in.opened() != platform::InputFile::Opened::Ok) {
        return refusal(source, in) + ". Nothing was copied.";
    }
    platform::OutputFile out = platform::OutputFile::createNew(pathFromUtf8(destination));
    if (!out.isOpen()) {
        return failure(what, out.error(), kWriteAdvice);
    }
    std::vector<char> buffer(kCopyChunk);
    std::uintmax_t copied = 0;
    std::error_code error;
    for (;;) {
        const std::ptrdiff_t got = in.read(buffer.data(), buffer.size());
        if (got < 0) {
            error = in.error();
            break;
        }
        if (got == 0) {
            break;
        }
        if (!out.write(buffer.data(), static_cast<std::size_t>(got))) {
            error = out.error();
            break;
        }
        copied += static_cast<std::uintmax_t>(got);
    }
    if (!error && !out.finish()) {
        error = out.error();
    }
    if (!error && copied < in.size()) {
        std::error_code ignored;
        fs::remove(pathFromUtf8(destination), ignored);
        return "The copy of " + quoted(source) + " at " + quoted(destination) + " came out " +
               std::to_string(copied) + " bytes long, shorter than the " +
               std::to_string(in.size()) + " bytes of the file. " + kWriteAdvice;
    }
    if (error) {
        std::error_code ignored;
        fs::remove(pathFromUtf8(destination), ignored);
        return failure(what, error, kWriteAdvice);
    }
    return {};
}

std::optional<bool> StdFileSystem::sameContents(const std::string& first, const std::string& second,
                                                std::string& error) const {
    error.clear();
    platform::InputFile a = platform::InputFile::open(pathFromUtf8(first), true);
    platform::InputFile b = platform::InputFile::open(pathFromUtf8(second), true);
    for (const auto& [file, path] : {std::pair(&a, &first), std::pair(&b, &second)}) {
        if (file->opened() != platform::InputFile::Opened::Ok) {
            error = refusal(*path, *file) + ".";
            return std::nullopt;
        }
    }
    if (a.size() != b.size()) {
        return false;
    }
    std::vector<char> left(kCopyChunk), right(kCopyChunk);
    for (;;) {
        const std::ptrdiff_t got = a.read(left.data(), left.size());
        std::ptrdiff_t other = 0;
        while (got > 0 && other < got) {
            const std::ptrdiff_t more =
                b.read(right.data() + other, static_cast<std::size_t>(got - other));
            if (more <= 0) {
                other = more < 0 ? -1 : other;
                break;
            }
            other += more;
        }
        if (got < 0 || other < 0) {
            error = refusal(got < 0 ? first : second, got < 0 ? a : b) + ".";
            return std::nullopt;
        }
        if (got == 0) {
            char probe = 0;
            return b.read(&probe, 1) == 0;
        }
        if (other != got || !std::equal(left.begin(), left.begin() + got, right.begin())) {
            return false;
        }
    }
}

}  // namespace tessavine
