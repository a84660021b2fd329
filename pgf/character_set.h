#pragma once

#include <span>
#include <utility>
#include <vector>

namespace tessavine::pgf {

inline constexpr char32_t kSubstituteCharacter = U'_';  // the PSP shows it for missing characters

// The characters a PSP latin font should have, in ascending order: the firmware's own latin set
// (Latin-1, the Windows-1252 and -1251 extras, a few marks and signs) plus Latin Extended-A.
std::vector<char32_t> pspLatinCharacters();

// Every code of the inclusive ranges, ascending and each once.
using CodeRange = std::pair<char32_t, char32_t>;
std::vector<char32_t> charactersInRanges(std::span<const CodeRange> ranges);

}  // namespace tessavine::pgf
