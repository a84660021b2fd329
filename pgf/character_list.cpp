#include "character_list.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "format_limits.h"
#include "named_character_sets.h"

namespace tessavine::pgf {
namespace {

constexpr std::size_t kLongestShownItem = 40;

std::string codeText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// The item as the message shows it: cut, with anything unprintable as "?".
std::string shown(std::string_view item) {
    std::string out;
    for (const char c : item.substr(0, kLongestShownItem)) {
        out += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return item.size() > kLongestShownItem ? out + "..." : out;
}

std::string knownNames() {
    std::string names;
    for (const NamedCharacterSet& set : namedCharacterSets()) {
        names += (names.empty() ? "" : ", ") + std::string(set.name);
    }
    return names;
}

// Hex digits after "U+", one to six of them; nothing for anything else.
std::optional<char32_t> readCode(std::string_view text) {
    if (text.size() < 3 || (text[0] != 'u' && text[0] != 'U') || text[1] != '+') {
        return std::nullopt;
    }
    text.remove_prefix(2);
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    char32_t code = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        code = code * 16 + static_cast<char32_t>(digit);
    }
    return code;
}

struct ItemResult {
    std::vector<char32_t> codes;
    std::optional<std::string> error;
};

ItemResult readItem(std::string_view item) {
    const std::vector<char32_t> named = namedCharacterSet(lowered(item));
    if (!named.empty()) {
        return {named, std::nullopt};
    }
    const std::size_t dash = item.find('-');
    const std::string_view firstText = item.substr(0, dash);
    const auto first = readCode(firstText);
    if (!first) {
        return {{},
                "\"" + shown(item) + "\" is no character set; name " + knownNames() +
                    ", or U+XXXX or a range U+XXXX-YYYY"};
    }
    char32_t last = *first;
    if (dash != std::string_view::npos) {
        std::string lastText(item.substr(dash + 1));
        if (!lastText.starts_with("U+") && !lastText.starts_with("u+")) {
            lastText = "U+" + lastText;
        }
        const auto end = readCode(lastText);
        if (!end) {
            return {{},
                    "the range \"" + shown(item) + "\" does not end in hex digits, as U+0370-03FF"};
        }
        last = *end;
        if (last < *first) {
            return {{}, "the range \"" + shown(item) + "\" ends before it starts"};
        }
    }
    if (last > kLargestCode) {
        return {{},
                "\"" + shown(item) +
                    "\" goes beyond U+FFFF; a PGF font holds 16-bit character "
                    "codes only"};
    }
    ItemResult result;
    for (char32_t code = *first; code <= last; ++code) {
        if (isStorableCharacter(code)) {
            result.codes.push_back(code);
        }
    }
    if (dash == std::string_view::npos && result.codes.empty()) {
        result.error = codeText(*first) +
                       " is a control, a surrogate or a non-character, which a font cannot show";
    }
    return result;
}

}  // namespace

std::string describeCharacterRuns(const std::vector<char32_t>& ascending, std::size_t mostRuns) {
    std::string text;
    std::size_t runs = 0;
    for (std::size_t i = 0; i < ascending.size();) {
        std::size_t end = i;
        while (end + 1 < ascending.size() && ascending[end + 1] == ascending[end] + 1) {
            ++end;
        }
        if (runs++ == mostRuns) {
            return text + ",...";
        }
        text += (text.empty() ? "" : ",") + codeText(ascending[i]);
        if (end > i) {
            char last[16];
            std::snprintf(last, sizeof last, "-%04X", static_cast<unsigned>(ascending[end]));
            text += last;
        }
        i = end + 1;
    }
    return text;
}

bool isStorableCharacter(char32_t code) {
    return code >= 0x20 && !(code >= 0x7F && code <= 0x9F) && !(code >= 0xD800 && code <= 0xDFFF) &&
           code <= 0xFFFD;
}

std::variant<std::vector<char32_t>, CharacterSetError> parseCharacterList(std::string_view list) {
    std::set<char32_t> chosen;
    bool first = true;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string_view item = trimmed(list.substr(start, comma - start));
        start = comma + 1;
        const bool removal = item.starts_with('-');
        if (removal) {
            item = trimmed(item.substr(1));
        }
        if (item.empty()) {
            return CharacterSetError{"--chars has an empty item in \"" + shown(list) +
                                     "\"; separate set names by single commas, as psp,greek"};
        }
        if (first && removal) {
            const std::vector<char32_t> base = namedCharacterSet("psp");
            chosen.insert(base.begin(), base.end());
        }
        first = false;
        ItemResult read = readItem(item);
        if (read.error) {
            return CharacterSetError{"--chars: " + *read.error};
        }
        for (const char32_t code : read.codes) {
            if (removal) {
                chosen.erase(code);
            } else {
                chosen.insert(code);
            }
        }
    }
    return std::vector<char32_t>(chosen.begin(), chosen.end());
}

}  // namespace tessavine::pgf
