#pragma once

#include <string_view>
#include <vector>

namespace tessavine::pgf {

// Thousands of hanzi scattered over the CJK block make a list of ranges too long to read as
// source, so the large sets are stored as text: for each run of consecutive codes the gap after
// the previous run and the run's length less one, each a number in base 32 whose last digit is a
// lower-case letter or 0-5 and whose earlier digits are upper-case letters, 6-9, "+" or "/".
// Returns the codes in ascending order; throws std::invalid_argument for text that is no run list.
std::vector<char32_t> unpackCodeRuns(std::string_view packed);

}  // namespace tessavine::pgf
