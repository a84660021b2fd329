#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessavine {

// A name read from a file (a font's family, a provenance entry, a path in a journal or a lock,
// a host name) made safe to print or show: every character a terminal or a label would act on
// instead of showing is written as a visible escape, so a crafted file cannot move the cursor,
// ring the bell, retitle the terminal, fake a report line or reverse the text around it.
//
// Escaped: the C0 controls and DEL (`\t`, `\n`, `\r` by name, the rest as `\x1b`), the C1
// controls (`\u009b`), the line and paragraph separators and the bidirectional overrides and
// isolates (`\u202e`), and every byte that is not part of well-formed UTF-8 (`\xff`). Everything
// else, other scripts included, passes unchanged. A backslash is not doubled: names on Windows
// are full of them, and a name that spells out an escape is only misleading, never obeyed.
std::string shownText(std::string_view fromFile);

// The same, cut after `maxBytes` bytes of what is shown (never inside a character or an escape)
// with "..." after it: a message quotes a lock's or a journal's text in short, whatever its size.
std::string shownText(std::string_view fromFile, std::size_t maxBytes);

}  // namespace tessavine
