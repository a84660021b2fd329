#include "windows/wide_text.h"

#include "core/utf16.h"

namespace tessavine {

std::wstring wideFromUtf8(std::string_view utf8) {
    const std::u16string units = utf16FromUtf8(utf8);
    return {units.begin(), units.end()};
}

std::string utf8FromWide(std::wstring_view wide) {
    return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace tessavine
