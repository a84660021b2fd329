#include "core/copy_lock.h"

#include <random>
#include <sstream>
#include <thread>
#include <utility>

#include "core/file_name_rule.h"
#include "core/file_platform.h"
#include "core/local_time.h"

namespace tessavine {
namespace {

constexpr std::size_t kLargestLockBytes = 4096;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

struct LockOwner {
    std::uint64_t process = 0;
    std::string host;
    std::string since;
};

std::string lockText(const LockOwner& owner) {
    return "process " + std::to_string(owner.process) + "\nhost " + owner.host + "\nsince " +
           owner.since + "\n";
}

LockOwner parseLock(const std::string& text) {
    LockOwner owner;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("process ")) {
            try {
                owner.process = std::stoull(line.substr(8));
            } catch (const std::exception&) {
                owner.process = 0;
            }
        } else if (line.starts_with("host ")) {
            owner.host = line.substr(5);
        } else if (line.starts_with("since ")) {
            owner.since = line.substr(6);
        }
    }
    return owner;
}

std::string uniqueTag() {
    std::random_device random;
    const std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    std::ostringstream tag;
    tag << platform::currentProcessId() << "-" << std::hex << bits;
    return tag.str();
}

}  // namespace

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
                        std::chrono::milliseconds patience, std::string& error) {
    error.clear();
    CopyLock lock;
    lock.tag_ = uniqueTag();
    const std::string path = pathOfNameIn(folder, kCopyLockName);
    const LockOwner self{platform::currentProcessId(), platform::hostName(),
                         readableTime(std::chrono::system_clock::now())};
    const std::string fresh =
        pathOfNameIn(folder, std::string(kCopyLockName) + "." + lock.tag_ + ".new");
    if (std::string failure = fileSystem.createNewFile(fresh, lockText(self)); !failure.empty()) {
        error = "No copy could be started in \"" + folder + "\": " + failure;
        return lock;
    }
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    LockOwner holder;
    for (;;) {
        if (fileSystem.renameWithoutReplacing(fresh, path).empty()) {
            lock.fileSystem_ = &fileSystem;
            lock.path_ = path;
            return lock;
        }
        if (!fileSystem.fileExists(fresh) &&
            !fileSystem.createNewFile(fresh, lockText(self)).empty()) {
            break;  // the draft is gone and cannot be made again: the folder changed under us
        }
        std::string readError;
        const std::optional<std::string> text =
            fileSystem.readOrdinaryFile(path, kLargestLockBytes, readError);
        if (std::chrono::steady_clock::now() >= giveUp) {
            holder = text ? parseLock(*text) : LockOwner{};
            break;
        }
        if (!text && readError.empty()) {
            continue;  // released a moment ago: try again at once
        }
        holder = text ? parseLock(*text) : LockOwner{};
        if (text && holder.host == self.host && holder.process != self.process &&
            platform::processIsGone(holder.process)) {
            // Moved aside first and checked there: a lock taken meanwhile by a live copy must
            // not be the one deleted.
            const std::string aside =
                pathOfNameIn(folder, std::string(kCopyLockName) + "." + lock.tag_ + ".stale");
            if (fileSystem.renameWithoutReplacing(path, aside).empty()) {
                std::string ignored;
                if (fileSystem.readOrdinaryFile(aside, kLargestLockBytes, ignored) == text) {
                    fileSystem.deleteFile(aside);
                } else {
                    fileSystem.renameWithoutReplacing(aside, path);
                }
            }
            continue;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            break;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    fileSystem.deleteFile(fresh);
    error = "Another copy into \"" + folder + "\" is running" +
            (holder.process != 0 ? " (process " + std::to_string(holder.process) + " on " +
                                       holder.host + ", since " + holder.since + ")"
                                 : std::string()) +
            "; nothing was changed by this one. Wait until it has finished, then try again.";
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
