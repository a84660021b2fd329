#include "core/copy_lock.h"

#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "core/file_name_rule.h"
#include "core/file_platform.h"
#include "core/local_time.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

constexpr std::size_t kLargestLockBytes = 4096;
constexpr std::size_t kShownLockBytes = 120;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

struct LockOwner {
    std::uint64_t process = 0;
    std::string host;
    std::string since;
    std::optional<std::int64_t> written;  // seconds since 1970; locks of older versions lack it
};

std::string lockText(const LockOwner& owner) {
    return "process " + std::to_string(owner.process) + "\nhost " + owner.host + "\nsince " +
           owner.since + "\nwritten " + std::to_string(owner.written.value_or(0)) + "\n";
}

std::optional<std::uint64_t> decimal(const std::string& text) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != text.npos) {
        return std::nullopt;
    }
    return std::stoull(text);
}

bool printable(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

// A lock of ours, exactly as lockText writes it (without the "written" line from older
// versions); nothing for anything else.
std::optional<LockOwner> parseLock(const std::string& text) {
    if (text.empty() || text.back() != '\n') {
        return std::nullopt;
    }
    std::istringstream lines(text);
    std::vector<std::string> values;
    const char* const keys[] = {"process ", "host ", "since ", "written "};
    for (std::string line; std::getline(lines, line);) {
        if (values.size() == 4 || !line.starts_with(keys[values.size()])) {
            return std::nullopt;
        }
        values.push_back(line.substr(std::string(keys[values.size()]).size()));
    }
    if (values.size() < 3) {
        return std::nullopt;
    }
    LockOwner owner;
    const std::optional<std::uint64_t> process = decimal(values[0]);
    if (!process || *process == 0 || values[1].empty() || !printable(values[1]) ||
        !printable(values[2])) {
        return std::nullopt;
    }
    owner.process = *process;
    owner.host = values[1];
    owner.since = values[2];
    if (values.size() == 4) {
        const std::optional<std::uint64_t> written = decimal(values[3]);
        if (!written) {
            return std::nullopt;
        }
        owner.written = static_cast<std::int64_t>(*written);
    }
    return owner;
}

std::int64_t secondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Provably no copy: a process of this computer that is gone, or that started after the lock was
// written and so cannot be the one that wrote it.
bool ownerIsGone(const LockOwner& owner, const LockOwner& self) {
    if (owner.host != self.host || owner.process == self.process) {
        return false;
    }
    if (platform::processIsGone(owner.process)) {
        return true;
    }
    const std::optional<std::int64_t> started = platform::processStartTime(owner.process);
    return owner.written && started && *started > *owner.written + 1;
}

// The tests that make a copy meet a running copy's lock, or another computer's, on purpose set
// TESSAVINE_LOCK_PATIENCE_MS to give up sooner. It only ever shortens the wait, so that a stray
// setting cannot make a copy hang longer than it would.
std::chrono::milliseconds patienceFor(std::chrono::milliseconds asked) {
    const char* const value = std::getenv("TESSAVINE_LOCK_PATIENCE_MS");
    const std::optional<std::uint64_t> shorter = value != nullptr ? decimal(value) : std::nullopt;
    return shorter && *shorter < static_cast<std::uint64_t>(asked.count())
               ? std::chrono::milliseconds(*shorter)
               : asked;
}

std::string howToRemove(const std::string& path, const std::string& folder) {
    return " If no other copy into that folder runs (on this computer or another one using it), "
           "remove \"" +
           path + "\" by hand, or run: tessavine-restore --finish --force \"" + folder +
           "\"; then try again.";
}

std::string uniqueTag() {
    std::random_device random;
    const std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    std::ostringstream tag;
    tag << platform::currentProcessId() << "-" << std::hex << bits;
    return tag.str();
}

}  // namespace

bool isCopyTag(std::string_view tag) {
    const std::size_t dash = tag.find('-');
    return tag.size() <= 40 && dash != 0 && dash != std::string_view::npos &&
           dash + 1 < tag.size() && tag.find_first_not_of("0123456789") == dash &&
           tag.find_first_not_of("0123456789abcdef", dash + 1) == std::string_view::npos;
}

bool isLockLeftover(const std::string& name) {
    const std::string head = std::string(kCopyLockName) + ".";
    if (!name.starts_with(head)) {
        return false;
    }
    if (name.ends_with(".stale")) {
        return true;
    }
    // A draft belongs to a copy that may be waiting for the lock right now: it is left over only
    // when the process named in its tag is gone.
    if (!name.ends_with(".new")) {
        return false;
    }
    std::uint64_t process = 0;
    for (std::size_t i = head.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        process = process * 10 + static_cast<std::uint64_t>(name[i] - '0');
        if (process > (1ull << 40)) {
            return false;
        }
    }
    return process != 0 && platform::processIsGone(process);
}

CopyLock CopyLock::take(FileSystem& fileSystem, const std::string& folder,
                        std::chrono::milliseconds patience, std::string& error, Stranger stranger) {
    error.clear();
    CopyLock lock;
    lock.tag_ = uniqueTag();
    const std::string path = pathOfNameIn(folder, kCopyLockName);
    const LockOwner self{platform::currentProcessId(), platform::hostName(),
                         readableTime(std::chrono::system_clock::now()), secondsNow()};
    const std::string fresh =
        pathOfNameIn(folder, std::string(kCopyLockName) + "." + lock.tag_ + ".new");
    if (std::string failure = fileSystem.createNewFile(fresh, lockText(self)); !failure.empty()) {
        error = "No copy could be started in \"" + folder + "\": " + failure;
        return lock;
    }
    const auto giveUp = std::chrono::steady_clock::now() + patienceFor(patience);
    for (;;) {
        if (fileSystem.renameWithoutReplacing(fresh, path).empty()) {
            lock.fileSystem_ = &fileSystem;
            lock.path_ = path;
            return lock;
        }
        if (!fileSystem.fileExists(fresh) &&
            !fileSystem.createNewFile(fresh, lockText(self)).empty()) {
            error = "No copy could be started in \"" + folder +
                    "\": its files change while we look. Check that no other program writes "
                    "there, then try again.";
            break;
        }
        std::string readError;
        const std::optional<std::string> text =
            fileSystem.readOrdinaryFile(path, kLargestLockBytes, readError);
        if (!text && readError.empty()) {
            continue;  // released a moment ago: try again at once
        }
        const std::optional<LockOwner> holder = text ? parseLock(*text) : std::nullopt;
        const bool running = holder && holder->host == self.host && !ownerIsGone(*holder, self);
        if ((holder && ownerIsGone(*holder, self)) || (!running && stranger == Stranger::Remove)) {
            // Moved aside first and checked there: a lock taken meanwhile by a live copy must
            // not be the one deleted.
            const std::string aside =
                pathOfNameIn(folder, std::string(kCopyLockName) + "." + lock.tag_ + ".stale");
            if (fileSystem.renameWithoutReplacing(path, aside).empty()) {
                std::string ignored;
                if (fileSystem.folderExists(aside)) {
                    if (!fileSystem.removeEmptyFolder(aside).empty()) {
                        fileSystem.renameWithoutReplacing(aside, path);
                        error = "The lock \"" + path +
                                "\" is a folder with files in it. Look inside, then remove it "
                                "by hand and try again.";
                        break;
                    }
                } else if (fileSystem.readOrdinaryFile(aside, kLargestLockBytes, ignored) == text ||
                           !text) {
                    fileSystem.deleteFile(aside);
                } else {
                    fileSystem.renameWithoutReplacing(aside, path);
                }
            }
            continue;
        }
        if (!holder) {
            // Not a lock we would write: nothing tells whose it is, so it is never taken over
            // unasked, and never waited for.
            error = "The folder \"" + folder + "\" holds a lock file, \"" + path +
                    "\", that no copy of this program wrote (" +
                    (text ? "it holds \"" + shownText(*text, kShownLockBytes) + "\""
                          : shownText(readError, kShownLockBytes)) +
                    "). Nothing was changed." + howToRemove(path, folder);
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            const std::string owner = "process " + std::to_string(holder->process) + " on " +
                                      shownText(holder->host, kShownLockBytes) + ", since " +
                                      shownText(holder->since, kShownLockBytes);
            error = (holder->host == self.host
                         ? "Another copy into \"" + folder + "\" is running (" + owner +
                               "); nothing was changed by this one. Wait until it has finished, "
                               "then try again. Its lock is \"" +
                               path + "\"."
                         : "Another computer, " + shownText(holder->host, kShownLockBytes) +
                               ", holds the lock \"" + path + "\" of \"" + folder + "\" (" + owner +
                               "); nothing was changed." + howToRemove(path, folder));
            break;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    fileSystem.deleteFile(fresh);
    return lock;
}

CopyLock::CopyLock(CopyLock&& other) noexcept
    : fileSystem_(std::exchange(other.fileSystem_, nullptr)),
      path_(std::move(other.path_)),
      tag_(std::move(other.tag_)) {}

CopyLock::~CopyLock() {
    if (fileSystem_ != nullptr) {
        fileSystem_->deleteFile(path_);
    }
}

}  // namespace tessavine
