#include "character_set.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessavine::pgf {

std::vector<char32_t> pspLatinCharacters() {
    static constexpr auto ranges = std::to_array<CodeRange>({
        {0x0020, 0x007E}, {0x00A0, 0x00FF},                    // ASCII and Latin-1
        {0x0100, 0x017F},                                      // Latin Extended-A
        {0x0192, 0x0192}, {0x02C6, 0x02C6}, {0x02DC, 0x02DC},  // ƒ ˆ ˜
        {0x0301, 0x0301}, {0x0306, 0x0306}, {0x0308, 0x0308}, {0x0338, 0x0338},
        {0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C}, {0x045E, 0x045F},
        {0x0490, 0x0491}, {0x04C0, 0x04C0},  // Cyrillic
        {0x2013, 0x2014}, {0x2018, 0x201A}, {0x201C, 0x201E}, {0x2020, 0x2022},
        {0x2026, 0x2026}, {0x2030, 0x2030}, {0x2039, 0x203A},  // punctuation
        {0x20AC, 0x20AC}, {0x2116, 0x2116}, {0x2122, 0x2122},  // € № ™
        {0x2206, 0x2206}, {0x2219, 0x221A}, {0x221E, 0x221E}, {0x2248, 0x2248},
        {0x2260, 0x2260}, {0x2264, 0x2265},  // math signs
    });
    return charactersInRanges(ranges);
}

std::vector<char32_t> charactersInRanges(std::span<const CodeRange> ranges) {
    std::vector<char32_t> characters;
    for (const auto& [first, last] : ranges) {
        for (char32_t code = first; code <= last; ++code) {
            characters.push_back(code);
        }
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

}  // namespace tessavine::pgf
