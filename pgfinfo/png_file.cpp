#include "png_file.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "core/file_platform.h"
#include "core/std_file_system.h"

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
    // Made in memory, then written beside the name and renamed over it: no half-written
    // picture, and a link standing at the name is replaced rather than written through.
    png_alloc_size_t size = 0;
    const int sized = png_image_write_to_memory(&description, nullptr, &size, 0, rgb.data(),
                                                image.width() * 3, nullptr);
    std::string png(sized != 0 ? size : 0, '\0');
    const int written =
        sized != 0 && png_image_write_to_memory(&description, png.data(), &size, 0, rgb.data(),
                                                image.width() * 3, nullptr);
    const std::string message = written == 0 ? description.message : "";
    png_image_free(&description);
    if (written == 0) {
        throw std::runtime_error("cannot make the picture " + path.string() + ": " + message);
    }
    png.resize(size);
    StdFileSystem files;
    if (const std::string problem = files.writeFileReplacing(platform::utf8FromPath(path), png);
        !problem.empty()) {
        throw std::runtime_error(problem);
    }
}

}  // namespace tessavine::pgfinfo
