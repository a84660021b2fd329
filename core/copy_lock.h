#pragma once

#include <chrono>
#include <string>

#include "core/file_system.h"

namespace tessavine {

// The file in a font folder that says a copy into it is running, and who runs it.
inline constexpr const char* kCopyLockName = ".tessavine-copy.lock";

// How long a copy waits for another one into the same folder before it gives up.
inline constexpr std::chrono::milliseconds kCopyLockPatience{3000};

// One copy into a folder at a time: two copies that interleave their renames leave a mix of both
// sets, and each would clean up the other's temporary files as stale. The lock file is put in
// place by a rename that never replaces, so it is never seen half-written, and holds the owner's
// process number, computer and start time. A lock is taken over only when its owner is provably
// gone: it names this computer and a process that no longer runs. A lock of another computer, or
// of a process the platform will not tell about, is waited for and then reported.
class CopyLock {
  public:
    // Takes the lock of `folder`, waiting up to `patience` for a copy that holds it. On failure
    // the lock is not held and `error` says who holds it, in one sentence.
    static CopyLock take(FileSystem& fileSystem, const std::string& folder,
                         std::chrono::milliseconds patience, std::string& error);

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

// True for the name of a file a lock attempt left behind when it was killed: the lock's own
// draft ".tessavine-copy.lock.<pid>-<tag>.new" of a process that is gone (a live one may be
// waiting for the lock with it) or a taken-over ".tessavine-copy.lock.<tag>.stale".
bool isLockLeftover(const std::string& name);

}  // namespace tessavine
