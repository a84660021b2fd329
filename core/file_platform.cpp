#include "core/file_platform.h"

#include "core/utf8.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tessavine::platform {

#ifdef _WIN32

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    std::wstring wide;
    for (char32_t c : decodeUtf8(utf8)) {
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (v >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    return std::filesystem::path(wide);
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

bool isHiddenEntry(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;  // what cannot be looked at is not offered
    }
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

char32_t fileNameFold(char32_t c) {
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return c;
    }
    wchar_t w = static_cast<wchar_t>(c);
    CharUpperBuffW(&w, 1);
    return static_cast<char16_t>(w);
}

#else

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(utf8);  // POSIX paths are bytes; UTF-8 passes as it is
}

std::string utf8FromPath(const std::filesystem::path& path) {
    return path.native();
}

bool isHiddenEntry(const std::filesystem::path& path) {
    const std::string name = path.filename().native();
    return !name.empty() && name.front() == '.';
}

char32_t fileNameFold(char32_t c) {
    return c;
}

#endif

}  // namespace tessavine::platform
