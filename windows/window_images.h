#pragma once

#include <map>
#include <memory>
#include <string>

#include "windows/win32.h"

namespace Gdiplus {
class Bitmap;
}

namespace tessavine {

// The main window's pictures, decoded by GDI+ from the image files of ui/images that the
// program carries as resources, and drawn stretched to a rectangle with high-quality filtering.
// GDI+ must be running while an object of this class exists.
class WindowImages {
  public:
    WindowImages();
    ~WindowImages();
    WindowImages(const WindowImages&) = delete;
    WindowImages& operator=(const WindowImages&) = delete;

    // Draws the image of that file name; nothing when it could not be decoded.
    void draw(HDC dc, const std::string& imageName, const RECT& place) const;

  private:
    std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>> bitmaps_;
};

// The resource name an image file of ui/images is carried under: upper case, every character
// other than a letter or digit an underscore ("banner@2x.png" is "BANNER_2X_PNG").
std::wstring imageResourceName(const std::string& imageName);

}  // namespace tessavine
