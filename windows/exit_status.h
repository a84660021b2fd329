#pragma once

#include <cstdint>

namespace tessavine {

// Whether the exit code of a Windows process is the status of an unhandled exception rather
// than a code the program returned: an NTSTATUS of warning or error severity (breakpoint
// 0x80000003, access violation 0xC0000005, stack overflow 0xC00000FD, failed security check
// 0xC0000409 and the like). Codes from 0xD0000000 up are not statuses Windows ends a process
// with, but what a program returning a small negative number (exit(-1)) leaves. Free of the
// Windows headers, so it is tested on every platform.
constexpr bool isCrashExitCode(std::uint32_t code) {
    return code >= 0x80000000u && code < 0xD0000000u;
}

}  // namespace tessavine
