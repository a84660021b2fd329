#pragma once

#include <string>

namespace tessavine {

// The file name of font slot `number`, 0 to 15: "ltn0.pgf" … "ltn15.pgf".
inline std::string slotFileName(int number) {
    return "ltn" + std::to_string(number) + ".pgf";
}

}  // namespace tessavine
