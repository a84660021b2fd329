#pragma once

#include <vector>

namespace tessavine::pgf {

inline constexpr char32_t kSubstituteCharacter = U'_';  // the PSP shows it for missing characters

// The characters a PSP latin font should have, in ascending order: the firmware's own latin set
// (Latin-1, the Windows-1252 and -1251 extras, a few marks and signs) plus Latin Extended-A.
std::vector<char32_t> pspLatinCharacters();

}  // namespace tessavine::pgf
