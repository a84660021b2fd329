#pragma once

#include <chrono>
#include <string_view>

namespace tessavine {

// How long a result notice stays on screen: time to read it at a slow reader's pace, never so
// short that a glance misses it nor so long that it lingers. The same on every window.
inline constexpr std::chrono::milliseconds kShortestNoticeTime{5000};
inline constexpr std::chrono::milliseconds kLongestNoticeTime{12000};
inline constexpr std::chrono::milliseconds kNoticeTimePerCharacter{40};

// `text` is UTF-8; its characters are counted, not its bytes.
std::chrono::milliseconds noticeShowTime(std::string_view text);

}  // namespace tessavine
