#pragma once

#include <string>
#include <string_view>

namespace tessavine {

// The 8-bit code page of settings.bin. Every byte decodes to a character: the five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same value, so any file survives a load and a save unchanged.

// UTF-8 in; a character the code page cannot hold, and any byte that is not well-formed UTF-8,
// becomes "?".
std::string utf8ToWindows1252(std::string_view utf8);

std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace tessavine
