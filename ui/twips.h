#pragma once

#include <QLine>
#include <QRect>

namespace tessavine {

// The window is laid out in twips; 15 twips make one device-independent pixel, so on a high-DPI
// screen Qt scales the whole window evenly.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace tessavine
