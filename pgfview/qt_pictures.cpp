#include "qt_pictures.h"

#include <cstring>

namespace tessavine::pgfview {

QImage toQImage(const psp_screen::RgbaImage& picture) {
    static_assert(sizeof(psp_screen::Rgba) == 4, "pixels are handed to Qt as packed RGBA");
    QImage image(picture.width(), picture.height(), QImage::Format_RGBA8888);
    const auto rowBytes = static_cast<std::size_t>(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(image.scanLine(y),
                    picture.pixels().data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width()),
                    rowBytes);
    }
    // The window and its tests work in 32-bit RGB, as the pictures are opaque.
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage screenImage(const pgf::PgfFile& font, const psp_screen::ScreenLayout& layout,
                   const psp_screen::Palette& palette) {
    return toQImage(psp_screen::renderScreen(font, layout, palette));
}

QImage characterTableImage(const pgf::PgfFile& font,
                           std::span<const psp_screen::TableEntry> entries,
                           const psp_screen::Palette& palette) {
    return toQImage(psp_screen::renderCharacterTable(font, entries, palette));
}

QImage magnify(const QImage& image, int factor) {
    if (factor <= 1) {
        return image;
    }
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace tessavine::pgfview
