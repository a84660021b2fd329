#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessavine {

// Text read from a file that anyone may have written (a lock, a journal), as a message quotes it:
// control characters as escapes ("\n", "\x1b"), so the text can neither fake lines nor drive a
// terminal, and cut to `maxBytes` bytes with "…" after it.
std::string shownText(std::string_view text, std::size_t maxBytes);

}  // namespace tessavine
