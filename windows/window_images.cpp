#include "windows/window_images.h"

#include <shlwapi.h>

#include "windows/gdiplus_api.h"

#include "ui/window_description.h"

namespace tessavine {

namespace {

std::unique_ptr<Gdiplus::Bitmap> decodeResource(const std::string& imageName) {
    const std::wstring name = imageResourceName(imageName);
    HRSRC found = FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(nullptr, found);
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    IStream* stream = SHCreateMemStream(bytes, size);
    if (stream == nullptr) {
        return nullptr;
    }
    // Decoded at once into memory of its own: the stream goes, the bitmap stays.
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    std::unique_ptr<Gdiplus::Bitmap> copy;
    if (decoded && decoded->GetLastStatus() == Gdiplus::Ok) {
        const auto width = static_cast<INT>(decoded->GetWidth());
        const auto height = static_cast<INT>(decoded->GetHeight());
        copy.reset(decoded->Clone(0, 0, width, height, PixelFormat32bppARGB));
    }
    decoded.reset();
    stream->Release();
    return copy;
}

}  // namespace

std::wstring imageResourceName(const std::string& imageName) {
    std::wstring name;
    for (const char c : imageName) {
        if (c >= 'a' && c <= 'z') {
            name.push_back(static_cast<wchar_t>(c - 'a' + 'A'));
        } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            name.push_back(static_cast<wchar_t>(c));
        } else {
            name.push_back(L'_');
        }
    }
    return name;
}

WindowImages::WindowImages() {
    for (const ControlDescription& control : mainWindowControls()) {
        for (const std::string* image : {&control.image, &control.denseImage}) {
            if (!image->empty()) {
                bitmaps_[*image] = decodeResource(*image);
            }
        }
    }
}

WindowImages::~WindowImages() = default;

void WindowImages::draw(HDC dc, const std::string& imageName, const RECT& place) const {
    const auto found = bitmaps_.find(imageName);
    if (found == bitmaps_.end() || !found->second) {
        return;
    }
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
    // Edge pixels are repeated, not blended with transparent black, at the picture's border.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    Gdiplus::Bitmap& bitmap = *found->second;
    graphics.DrawImage(
        &bitmap,
        Gdiplus::Rect(place.left, place.top, place.right - place.left, place.bottom - place.top), 0,
        0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()),
        Gdiplus::UnitPixel, &attributes);
}

}  // namespace tessavine
