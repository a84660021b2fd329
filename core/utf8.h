#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessavine {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Decodes UTF-8 into code points. Anything that is not well-formed UTF-8 (a stray continuation
// byte, a sequence cut short, an overlong form, a surrogate, a value above U+10FFFF) becomes one
// U+FFFD per offending byte, so no input can make the decoding fail or run past the end.
std::u32string decodeUtf8(std::string_view text);

// The one character whose UTF-8 sequence starts at `at`; nothing when the bytes there are not
// well-formed UTF-8 (by the same rules), or `at` is past the end.
struct DecodedCharacter {
    char32_t codePoint;
    std::size_t bytes;
};
std::optional<DecodedCharacter> decodeUtf8At(std::string_view text, std::size_t at);

void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace tessavine
