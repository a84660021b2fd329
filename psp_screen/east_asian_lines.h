#pragma once

#include <string>
#include <vector>

#include "pgf/pgf_reader.h"

namespace tessavine::psp_screen {

// Lines of the East Asian scripts the font serves, for the screen to show beside the latin ones:
// Japanese, simplified Chinese, traditional Chinese, Korean, in that order. A script is served when
// the font holds every character of its line and no other script's set is held more fully: a
// Chinese font made with GB 2312 holds kana too, and a Korean one with KS X 1001 kana and hanja,
// yet neither serves Japanese. A font without East Asian characters gets none, so a latin font's
// screen stays as it always was.
std::vector<std::u32string> eastAsianLines(const pgf::PgfFile& font);

}  // namespace tessavine::psp_screen
