#pragma once

#include "pgf_font.h"

namespace tessavine::pgf {

// The shadow flag bits the firmware's own latin fonts give a character of this kind: letters,
// digits, fractions, closing and opening punctuation, quotes, marks and other symbols differ.
ShadowFlags shadowFlagsFor(char32_t code);

}  // namespace tessavine::pgf
