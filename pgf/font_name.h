#pragma once

#include <string>
#include <string_view>

namespace tessavine::pgf {

// The name to store for a font family: printable ASCII only, at most 63 characters, never empty.
// Some readers replace the metrics of a font whose name matches one of the firmware-like faces
// they know; such a name gets a prefix so that the font is shown as it was made.
std::string makeStorableFontName(std::string_view family);

}  // namespace tessavine::pgf
