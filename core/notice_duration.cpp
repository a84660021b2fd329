#include "core/notice_duration.h"

#include <algorithm>

#include "core/utf8.h"

namespace tessavine {

std::chrono::milliseconds noticeShowTime(std::string_view text) {
    const auto characters = static_cast<long long>(decodeUtf8(text).size());
    const std::chrono::milliseconds reading = kNoticeTimePerCharacter * characters;
    return std::clamp(reading, kShortestNoticeTime, kLongestNoticeTime);
}

}  // namespace tessavine
