#include "font_name.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tessavine::pgf {
namespace {

constexpr std::size_t kLongestName = 63;

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool isTreatedSpecially(std::string_view name) {
    static constexpr std::array<std::string_view, 3> prefixes{"liberation", "sazanami", "undotum"};
    const std::string lower = lowerCase(name);
    if (lower == "microsoft yahei") {
        return true;
    }
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](std::string_view prefix) { return lower.starts_with(prefix); });
}

}  // namespace

std::string makeStorableFontName(std::string_view family) {
    std::string name;
    for (char c : family) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            name += c;
        }
    }
    while (!name.empty() && name.front() == ' ') {
        name.erase(name.begin());
    }
    if (name.empty()) {
        name = "Untitled";
    }
    if (isTreatedSpecially(name)) {
        name = "Custom " + name;
    }
    if (name.size() > kLongestName) {
        name.resize(kLongestName);
    }
    return name;
}

}  // namespace tessavine::pgf
