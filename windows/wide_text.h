#pragma once

#include <string>
#include <string_view>

namespace tessavine {

// UTF-8, the program's text everywhere inside, to the platform's wide text and back. Never
// fails: what is not well-formed becomes U+FFFD.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

}  // namespace tessavine
