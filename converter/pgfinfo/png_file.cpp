#include "png_file.h"

#include <png.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace tessavine::pgfinfo {

void writePng(const std::filesystem::path& path, const RgbImage& image) {
    static_assert(sizeof(Rgb) == 3, "pixels are handed to libpng as packed RGB");
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width());
    description.height = static_cast<png_uint_32>(image.height());
    description.format = PNG_FORMAT_RGB;
    const int written = png_image_write_to_file(&description, path.string().c_str(), 0,
                                                image.pixels().data(), image.width() * 3, nullptr);
    const std::string message = description.message;
    png_image_free(&description);
    if (written == 0) {
        throw std::runtime_error("cannot write the picture " + path.string() + ": " + message);
    }
}

}  // namespace tessavine::pgfinfo
