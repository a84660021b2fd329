#include "copy/candidate_roots.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "core/file_platform.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tessavine {
namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
#else
constexpr char kListSeparator = ':';
#endif

#ifndef _WIN32
// The variable the window reads too, so one setting points both at the same place.
constexpr const char* kDeviceRootsVariable = "TESSAVINE_DEVICE_ROOTS";
#endif

// An empty item is left out: an empty root would make the scan look at the top of the file
// system.
std::vector<std::string> rootsFromList(std::string_view list) {
    std::vector<std::string> roots;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(kListSeparator, start), list.size());
        if (end > start) {
            roots.emplace_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return roots;
}

// The mount table writes blank, tab, newline and backslash in a name as three octal digits.
std::string unescapedMountPoint(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

}  // namespace

std::vector<std::string> removableMountPoints(std::string_view mountTable) {
    const std::string mediaFolders[] = {"/media/", "/run/media/", "/mnt/"};
    std::vector<std::string> roots;
    std::istringstream lines{std::string(mountTable)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint)) {
            continue;
        }
        mountPoint = unescapedMountPoint(mountPoint);
        const bool below = std::any_of(
            std::begin(mediaFolders), std::end(mediaFolders), [&](const std::string& folder) {
                return mountPoint.size() > folder.size() && mountPoint.starts_with(folder);
            });
        if (below) {
            roots.push_back(mountPoint);
        }
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

std::vector<std::string> consoleDeviceRoots() {
#ifdef _WIN32
    // The wide environment: a root's name may lie outside the console's code page.
    if (const wchar_t* list = _wgetenv(L"TESSAVINE_DEVICE_ROOTS"); list != nullptr) {
        return rootsFromList(platform::utf8FromPath(std::filesystem::path(list)));
    }
    // A drive without a medium answers "no folder" to the scan, as in the window: Windows must
    // not stop the copy to ask for a disk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
    // a: and b: are floppy drives and c: the system; a PSP never shows up there.
    std::vector<std::string> roots;
    for (char letter = 'd'; letter <= 'z'; ++letter) {
        roots.push_back(std::string{letter, ':'});
    }
    return roots;
#else
    if (const char* list = std::getenv(kDeviceRootsVariable); list != nullptr) {
        return rootsFromList(list);
    }
#if defined(__APPLE__)
    std::vector<std::string> roots;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/Volumes", error)) {
        roots.push_back(entry.path().string());
    }
    std::sort(roots.begin(), roots.end());
    return roots;
#else
    std::ifstream table("/proc/self/mounts");
    const std::string text{std::istreambuf_iterator<char>(table), {}};
    return removableMountPoints(text);
#endif
#endif
}

}  // namespace tessavine
