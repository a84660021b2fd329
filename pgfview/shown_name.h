#pragma once

#include <QString>
#include <string>

#include "core/shown_text.h"

namespace tessavine::pgfview {

// A name from a font file or a folder, with the characters that would act instead of showing
// written as escapes (see shownText); labels that show it are plain text, so markup in a name
// shows as typed.
inline QString shownName(const std::string& fromFile) {
    return QString::fromStdString(shownText(fromFile));
}

inline QString shownName(const QString& fromFile) {
    return shownName(fromFile.toStdString());
}

}  // namespace tessavine::pgfview
