// Fault injection: the N-th file operation (open, create, write, rename, link, unlink, mkdir,
// fsync...) of the program ends it on the spot (TESSAVINE_KILL_AT=N, as a pulled cable or a
// killed process would) or fails with EIO (TESSAVINE_FAIL_AT=N). TESSAVINE_COUNT_FILE names a
// file that receives the number of operations when the program ends normally.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

static long operations = 0;

// True when the operation must fail; never returns when it must end the program.
static int strike(void) {
    ++operations;
    const char* kill_at = getenv("TESSAVINE_KILL_AT");
    if (kill_at && atol(kill_at) == operations) {
        raise(SIGKILL);
    }
    const char* fail_at = getenv("TESSAVINE_FAIL_AT");
    return fail_at && atol(fail_at) == operations;
}

__attribute__((destructor)) static void report(void) {
    const char* path = getenv("TESSAVINE_COUNT_FILE");
    if (path) {
        static int (*real_open)(const char*, int, ...);
        real_open = dlsym(RTLD_NEXT, "open");
        const int fd = real_open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            char text[32];
            const int n = snprintf(text, sizeof text, "%ld\n", operations);
            ssize_t (*real_write)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
            real_write(fd, text, (size_t)n);
            close(fd);
        }
    }
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))
#define FAIL_OR(call)    \
    do {                 \
        if (strike()) {  \
            errno = EIO; \
            return -1;   \
        }                \
        return call;     \
    } while (0)

static mode_t mode_of(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    FAIL_OR(NEXT(open)(path, flags, mode));
}
int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    FAIL_OR(NEXT(open64)(path, flags, mode));
}
int openat(int dir, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    FAIL_OR(NEXT(openat)(dir, path, flags, mode));
}
ssize_t write(int fd, const void* bytes, size_t count) {
    if (fd <= 2) {
        return NEXT(write)(fd, bytes, count);  // the program's own messages are no file work
    }
    FAIL_OR(NEXT(write)(fd, bytes, count));
}
int rename(const char* from, const char* to) {
    FAIL_OR(NEXT(rename)(from, to));
}
int renameat(int a, const char* from, int b, const char* to) {
    FAIL_OR(NEXT(renameat)(a, from, b, to));
}
int renameat2(int a, const char* from, int b, const char* to, unsigned flags) {
    FAIL_OR(NEXT(renameat2)(a, from, b, to, flags));
}
int link(const char* from, const char* to) {
    FAIL_OR(NEXT(link)(from, to));
}
int unlink(const char* path) {
    FAIL_OR(NEXT(unlink)(path));
}
int unlinkat(int dir, const char* path, int flags) {
    FAIL_OR(NEXT(unlinkat)(dir, path, flags));
}
int remove(const char* path) {
    FAIL_OR(NEXT(remove)(path));
}
int rmdir(const char* path) {
    FAIL_OR(NEXT(rmdir)(path));
}
int mkdir(const char* path, mode_t mode) {
    FAIL_OR(NEXT(mkdir)(path, mode));
}
int fsync(int fd) {
    FAIL_OR(NEXT(fsync)(fd));
}
