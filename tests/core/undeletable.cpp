#include "undeletable.h"

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tessavine::testing_support {

#ifdef __linux__

namespace {

// The immutable flag of Linux file systems: it stops deletion even for root, which ordinary
// permissions do not.
bool setImmutable(const std::filesystem::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace

bool makeUndeletable(const std::filesystem::path& path) {
    return setImmutable(path, true);
}
void makeDeletable(const std::filesystem::path& path) {
    setImmutable(path, false);
}

#else

bool makeUndeletable(const std::filesystem::path&) {
    return false;
}
void makeDeletable(const std::filesystem::path&) {}

#endif

}  // namespace tessavine::testing_support
