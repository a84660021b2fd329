#pragma once

#include <string>
#include <string_view>

namespace tessavine {

// UTF-8 to UTF-16 and back, for platforms whose own text is UTF-16 (Windows' wide text). Text
// that is not well-formed (in UTF-8 as decodeUtf8 says, in UTF-16 a lone surrogate) becomes
// U+FFFD, so no input makes the conversion fail.
std::u16string utf16FromUtf8(std::string_view utf8);
std::string utf8FromUtf16(std::u16string_view utf16);

}  // namespace tessavine
