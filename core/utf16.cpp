#include "core/utf16.h"

#include "core/utf8.h"

namespace tessavine {

namespace {

constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;
constexpr char32_t kPlaneSize = 0x10000;

bool isHighSurrogate(char32_t unit) {
    return unit >= kHighSurrogateFirst && unit < kLowSurrogateFirst;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= kLowSurrogateFirst && unit < kSurrogateEnd;
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    for (const char32_t c : decodeUtf8(utf8)) {
        if (c < kPlaneSize) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            const char32_t offset = c - kPlaneSize;
            out.push_back(static_cast<char16_t>(kHighSurrogateFirst + (offset >> 10)));
            out.push_back(static_cast<char16_t>(kLowSurrogateFirst + (offset & 0x3FF)));
        }
    }
    return out;
}

std::string utf8FromUtf16(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        if (isHighSurrogate(unit) && i + 1 < utf16.size() && isLowSurrogate(utf16[i + 1])) {
            const char32_t low = utf16[++i];
            appendUtf8(out, kPlaneSize + ((unit - kHighSurrogateFirst) << 10) +
                                (low - kLowSurrogateFirst));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, kReplacementCharacter);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace tessavine
