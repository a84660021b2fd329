#include "core/local_time.h"

#include <ctime>

namespace tessavine {
namespace {

std::string formatted(std::chrono::system_clock::time_point when, const char* format) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    // The reentrant forms: std::localtime shares one buffer with every other caller.
#ifdef _WIN32
    const bool converted = localtime_s(&local, &seconds) == 0;
#else
    const bool converted = localtime_r(&seconds, &local) != nullptr;
#endif
    char text[64] = {};
    if (!converted || std::strftime(text, sizeof text, format, &local) == 0) {
        return "0000-00-00";
    }
    return text;
}

}  // namespace

std::string fileNameTimeStamp(std::chrono::system_clock::time_point when) {
    return formatted(when, "%Y-%m-%d_%H-%M-%S");
}

std::string readableTime(std::chrono::system_clock::time_point when) {
    return formatted(when, "%Y-%m-%d %H:%M:%S");
}

}  // namespace tessavine
