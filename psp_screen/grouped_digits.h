#pragma once

#include <cstddef>
#include <string>

namespace tessavine::psp_screen {

// A count as the figures beside the PSP screen and the standards' sizes are written: 20902 as
// "20,902".
std::string groupedDigits(std::size_t count);

}  // namespace tessavine::psp_screen
