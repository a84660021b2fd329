#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace tessavine {

// The file in a font folder that says a copy into it is running, and who runs it.
inline constexpr const char* kCopyLockName = ".tessavine-copy.lock";

// How long a copy waits for another one into the same folder before it gives up.
inline constexpr std::chrono::milliseconds kCopyLockPatience{3000};

// One copy into a folder at a time: two copies that interleave their renames leave a mix of both
// sets, and each would clean up the other's temporary files as stale. The lock file is put in
// place by a rename that never replaces, so it is never seen half-written, and holds the owner's
// process number, computer and the time it was taken. A lock is ours only when it reads as one
// of ours. It is taken over only when its owner is provably gone: it names this computer and a
// process that no longer runs, or one that started after the lock was written (its number was
// reused, after a restart say). A lock of another computer, or of a process that runs, is waited
// for and then reported; anything else at the lock's name (empty, garbage, a link, a pipe, a
// folder, too large) is refused at once. Every refusal names the lock file, shows what it holds
// and says how to remove it.
class CopyLock {
  public:
    // What to do with a lock that is not provably a running copy's: wait and refuse, or remove
    // it (the user has checked that no other copy runs).
    enum class Stranger { Refuse, Remove };

    // Takes the lock of `folder`, waiting up to `patience` for a copy that holds it. On failure
    // the lock is not held and `error` says who holds it and what to do.
    static CopyLock take(FileSystem& fileSystem, const std::string& folder,
                         std::chrono::milliseconds patience, std::string& error,
                         Stranger stranger = Stranger::Refuse);

    CopyLock(CopyLock&& other) noexcept;
    CopyLock& operator=(CopyLock&&) = delete;
    CopyLock(const CopyLock&) = delete;
    CopyLock& operator=(const CopyLock&) = delete;
    ~CopyLock();

    bool held() const { return fileSystem_ != nullptr; }
    // A tag unique to this holder, for the names of its temporary files.
    const std::string& tag() const { return tag_; }

  private:
    CopyLock() = default;
    FileSystem* fileSystem_ = nullptr;
    std::string path_;
    std::string tag_;
};

// True for a tag that CopyLock::tag() gives: "<process>-<hex digits>", of bounded length. Names
// read back from a journal carry it, and anything else there is not ours.
bool isCopyTag(std::string_view tag);

// True for the name of a file a lock attempt left behind when it was killed: the lock's own
// draft ".tessavine-copy.lock.<pid>-<tag>.new" of a process that is gone (a live one may be
// waiting for the lock with it) or a taken-over ".tessavine-copy.lock.<tag>.stale".
bool isLockLeftover(const std::string& name);

}  // namespace tessavine
