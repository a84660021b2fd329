#include "read_verdict.h"

namespace tessavine::pgfview_shared {

ReadVerdict judgeRead(bool failed, bool changedWhileRead, bool writtenLately, int retriesSoFar) {
    if (!failed && !changedWhileRead) {
        return ReadVerdict::Show;
    }
    if ((changedWhileRead || writtenLately) && retriesSoFar < kMostRetries) {
        return ReadVerdict::LookAgain;
    }
    return failed ? ReadVerdict::Damaged : ReadVerdict::Show;
}

std::string waitingText(const std::string& name, const std::string& folder) {
    return "Waiting for " + name + " \u2014 there is no such file in " + folder +
           " yet. Convert a font and it shows here.";
}

std::string replacingText(const std::string& name) {
    return name + " is being replaced\u2026";
}

std::string damagedText(const std::string& path, const std::string& problem) {
    return path + " is not a PSP font that can be shown: " + problem +
           ".\nConvert the font again, or open or drop another .pgf file.";
}

}  // namespace tessavine::pgfview_shared
