#include "output_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "console/platform.h"
#include "conversion_error.h"

namespace tessavine::converter {
namespace {

namespace fs = std::filesystem;
using NativeString = fs::path::string_type;

// Temporary files are "<output name>.ttf2pgf-<16 hex digits>.part": recognisable as ours, and
// tied to the output they were meant to become, so a later run removes only its own leftovers.
constexpr std::string_view kTagStart = ".ttf2pgf-";
constexpr std::string_view kTagEnd = ".part";
constexpr std::size_t kTagDigits = 16;
constexpr std::size_t kTagLength = kTagStart.size() + kTagDigits + kTagEnd.size();
// Every file system we meet allows names of 255 units; a name this long or shorter still has
// room for the tag. Longer names are shortened so the temporary name is no longer than the
// output's own name, which fits where the output fits.
constexpr std::size_t kRoomyName = 255 - kTagLength;
// A converter writes its temporary file in well under a second; one this much older than a file
// written now was left by a converter that was killed, not by one still running beside us.
constexpr auto kStaleAge = std::chrono::minutes(10);

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

NativeString widen(std::string_view ascii) {
    return NativeString(ascii.begin(), ascii.end());
}

// Whether a code unit continues a character begun before it (UTF-8 continuation bytes, UTF-16
// low surrogates), so a name is never cut inside a character.
bool continuesCharacter(fs::path::value_type unit) {
    const auto value = static_cast<std::uint32_t>(unit) & (sizeof(unit) == 1 ? 0xFFu : 0xFFFFu);
    return sizeof(unit) == 1 ? (value & 0xC0u) == 0x80u : (value & 0xFC00u) == 0xDC00u;
}

// The part of the output's name a temporary name begins with.
NativeString temporaryStem(const fs::path& path) {
    NativeString name = path.filename().native();
    if (name.size() > kRoomyName) {
        std::size_t keep = name.size() > kTagLength ? name.size() - kTagLength : 0;
        while (keep > 0 && continuesCharacter(name[keep])) {
            --keep;
        }
        name.resize(keep);
    }
    return name;
}

fs::path temporaryBeside(const fs::path& path) {
    std::random_device random;
    const unsigned long long tag = (static_cast<unsigned long long>(random()) << 32) ^
                                   static_cast<unsigned long long>(random());
    char digits[kTagDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", tag);
    return path.parent_path() /
           (temporaryStem(path) + widen(kTagStart) + widen(digits) + widen(kTagEnd));
}

bool isOurTemporaryFor(const NativeString& candidate, const NativeString& stem) {
    if (candidate.size() != stem.size() + kTagLength ||
        candidate.compare(0, stem.size(), stem) != 0 ||
        candidate.compare(stem.size(), kTagStart.size(), widen(kTagStart)) != 0 ||
        candidate.compare(candidate.size() - kTagEnd.size(), kTagEnd.size(), widen(kTagEnd)) != 0) {
        return false;
    }
    for (std::size_t i = stem.size() + kTagStart.size(); i < candidate.size() - kTagEnd.size();
         ++i) {
        const auto unit = candidate[i];
        if (!((unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f'))) {
            return false;
        }
    }
    return true;
}

// Removes what killed converters left on their way to this output. `now` is the time stamp of a
// file just written in the same folder, so the folder's own clock decides what is old. Any
// failure is ignored: the leftovers do no harm beyond the space they take.
void removeStaleTemporaries(const fs::path& path, fs::file_time_type now) {
    const NativeString stem = temporaryStem(path);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!isOurTemporaryFor(entry->path().filename().native(), stem)) {
            continue;
        }
        std::error_code ignored;
        if (!entry->is_regular_file(ignored) || entry->is_symlink(ignored)) {
            continue;
        }
        const fs::file_time_type written = entry->last_write_time(ignored);
        if (!ignored && now - written > kStaleAge) {
            fs::remove(entry->path(), ignored);
        }
    }
}

// Removes the temporary file when the write does not get as far as renaming it.
class TemporaryFile {
  public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    const fs::path& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    fs::path path_;
    bool kept_ = false;
};

[[noreturn]] void refuseLongPath(const fs::path& path) {
    throw ConversionError("cannot write " + quoted(path) +
                          ": the name or the path is longer than the system allows; choose a "
                          "shorter name or a folder nearer the top");
}

void checkDestination(const fs::path& path) {
    std::error_code error;
    // A link at the name is replaced by the rename, not followed, so only a real folder there
    // is in the way.
    if (fs::is_directory(fs::symlink_status(path, error))) {
        throw ConversionError("cannot write " + quoted(path) +
                              ": a folder of that name is in the way; rename or remove it");
    }
    if (error == std::errc::filename_too_long) {
        refuseLongPath(path);
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (fs::is_directory(folder, error)) {
        return;
    }
    if (error == std::errc::filename_too_long) {
        refuseLongPath(path);
    }
    if (error && error != std::errc::no_such_file_or_directory) {
        throw ConversionError("cannot write " + quoted(path) + ": the folder " + quoted(folder) +
                              " cannot be reached (" + error.message() + ")");
    }
    throw ConversionError("cannot write " + quoted(path) + ": the folder " + quoted(folder) +
                          " does not exist; create it or name another output");
}

// What to tell the user when the temporary file cannot be created, from the system's reason.
[[noreturn]] void refuseNewFile(const fs::path& path, int reason) {
    if (reason == ENAMETOOLONG) {
        refuseLongPath(path);
    }
    if (reason == ENOSPC) {
        throw ConversionError("cannot write " + quoted(path) +
                              ": the disk is full; make room and try again");
    }
    if (reason == EACCES || reason == EPERM || reason == EROFS) {
        throw ConversionError("cannot write " + quoted(path) +
                              ": the folder does not accept new files; check that you may "
                              "write there and that the disk is not read-only");
    }
    if (reason == 0) {
        throw ConversionError("cannot write " + quoted(path) + "; check the folder and the disk");
    }
    throw ConversionError("cannot write " + quoted(path) + " (" +
                          std::generic_category().message(reason) +
                          "); check the folder and the disk");
}

}  // namespace

void writeFileWhole(const fs::path& path, std::span<const std::uint8_t> bytes) {
    checkDestination(path);
    TemporaryFile temporary(temporaryBeside(path));
    errno = 0;
    switch (console::writeFile(temporary.path(), bytes)) {
        case console::WriteResult::Written:
            break;
        case console::WriteResult::CannotCreate:
            refuseNewFile(path, errno);
        case console::WriteResult::CannotWriteAll:
            throw ConversionError("cannot write " + quoted(path) +
                                  " completely; check that the disk is not full");
    }
    // The replace puts the new output in place in one step; if it fails, the old output stays as
    // it was, and the temporary file goes.
    const std::error_code error = console::replaceFile(temporary.path(), path);
    if (error) {
        throw ConversionError("cannot put " + quoted(path) + " in place (" + error.message() +
                              "); any earlier file of that name is unchanged; check that no "
                              "other program holds it open");
    }
    temporary.keep();
    std::error_code ignored;
    const fs::file_time_type written = fs::last_write_time(path, ignored);
    if (!ignored) {
        removeStaleTemporaries(path, written);
    }
}

}  // namespace tessavine::converter
