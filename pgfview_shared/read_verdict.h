#pragma once

#include <string>

namespace tessavine::pgfview_shared {

// How often a changed file is read again before a failure is believed, and how long apart.
inline constexpr int kRetryMilliseconds = 150;
inline constexpr int kMostRetries = 6;

enum class ReadVerdict {
    Show,       // the font read well and the file held still: show it
    LookAgain,  // most likely still being written: read again shortly
    Damaged,    // it fails and holds still, or has kept changing too long: say what is wrong
};

// A read of a followed file judged. A file that changed while it was read, or that fails while
// it is fresh (written less than a second ago), is most likely being written by someone who
// does not rename; it is read again up to kMostRetries times before it is called damaged.
ReadVerdict judgeRead(bool failed, bool changedWhileRead, bool writtenLately, int retriesSoFar);

// What the window says, in words for the user, while a followed file cannot be shown. `name`
// is the file's name, `folder` and `path` as the user knows them; all made safe to show.
std::string waitingText(const std::string& name, const std::string& folder);
std::string replacingText(const std::string& name);
std::string damagedText(const std::string& path, const std::string& problem);

}  // namespace tessavine::pgfview_shared
