#pragma once

#include <string_view>

namespace tessavine {

// True when `name` matches `pattern` as in a directory listing: `*` stands for any run of
// characters (none included), `?` for exactly one character. Characters, not bytes, are
// counted, and they compare as the platform's file names do.
bool matchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace tessavine
