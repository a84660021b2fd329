#pragma once

#include <QRect>

#include "ui/window_description.h"

namespace tessavine {

// A place of the window's description as Qt's rectangle in device-independent pixels; on a
// high-DPI screen Qt scales the whole window evenly.
constexpr QRect toQRect(const TwipsRect& place) {
    return QRect(twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
                 twipsToPixels(place.height));
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return toQRect({left, top, width, height});
}

}  // namespace tessavine
