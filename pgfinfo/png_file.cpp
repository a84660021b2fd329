#include "png_file.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "console/platform.h"

namespace tessavine::pgfinfo {

void writePng(const std::filesystem::path& path, const psp_screen::RgbaImage& image) {
    // The pictures are opaque: written as RGB, a quarter smaller than with their alpha.
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels().size() * 3);
    for (const psp_screen::Rgba& pixel : image.pixels()) {
        rgb.insert(rgb.end(), {pixel.red, pixel.green, pixel.blue});
    }
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width());
    description.height = static_cast<png_uint_32>(image.height());
    description.format = PNG_FORMAT_RGB;
    std::FILE* file = console::openForWriting(path);
    if (file == nullptr) {
        throw std::runtime_error("cannot write the picture " + path.string() +
                                 ": cannot create it; check that the folder exists and that "
                                 "you may write there");
    }
    const int written =
        png_image_write_to_stdio(&description, file, 0, rgb.data(), image.width() * 3, nullptr);
    const bool closed = std::fclose(file) == 0;
    const std::string message = written == 0 ? description.message : "the disk may be full";
    png_image_free(&description);
    if (written == 0 || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);  // no half-written picture
        throw std::runtime_error("cannot write the picture " + path.string() + ": " + message);
    }
}

}  // namespace tessavine::pgfinfo
