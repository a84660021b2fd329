#pragma once

#include <string>

namespace tessavine {

// The file name of font slot `number`, 0 to 15: "ltn0.pgf" … "ltn15.pgf".
inline std::string slotFileName(int number) {
    return "ltn" + std::to_string(number) + ".pgf";
}

// True for "ltn0.pgf" … "ltn15.pgf" exactly.
inline bool isSlotFileName(const std::string& name) {
    for (int number = 0; number < 16; ++number) {
        if (name == slotFileName(number)) {
            return true;
        }
    }
    return false;
}

}  // namespace tessavine
