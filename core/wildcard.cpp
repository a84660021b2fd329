#include "core/wildcard.h"

#include <string>

#include "core/file_platform.h"
#include "core/utf8.h"

namespace tessavine {
namespace {

std::u32string folded(std::string_view text) {
    std::u32string out = decodeUtf8(text);
    for (char32_t& c : out) {
        c = platform::fileNameFold(c);
    }
    return out;
}

}  // namespace

bool matchesWildcard(std::string_view patternText, std::string_view nameText) {
    const std::u32string pattern = folded(patternText);
    const std::u32string name = folded(nameText);
    // Greedy matching that returns to the last `*` on a mismatch: linear in practice, and
    // never worse than pattern length times name length.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::u32string::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u32string::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace tessavine
