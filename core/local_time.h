#pragma once

#include <chrono>
#include <string>

namespace tessavine {

// A moment as the computer's clock shows it in its own time zone, for names and texts that
// people read: "2026-12-06_14-05-09" (fit for a file name on every platform, and sorting in
// time order) and "2026-12-06 14:05:09".
std::string fileNameTimeStamp(std::chrono::system_clock::time_point when);
std::string readableTime(std::chrono::system_clock::time_point when);

}  // namespace tessavine
