#include "font_face.h"

#include <system_error>

#include "conversion_error.h"
#include "core/file_platform.h"
#include "core/input_limits.h"

namespace tessavine::converter {
namespace {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

// Through an open that never waits and a size taken from the open file: a named pipe given as
// the font would otherwise hang the converter (and the window waiting for it), and a sparse file
// of gigabytes would be read into memory whole.
std::vector<FT_Byte> readFontFile(const std::filesystem::path& path, std::size_t roomLeft) {
    platform::InputFile in = platform::InputFile::open(path, true);
    switch (in.opened()) {
        case platform::InputFile::Opened::Ok:
            break;
        case platform::InputFile::Opened::Missing:
            throw ConversionError("the font " + quoted(path) +
                                  " does not exist; check its name and that it is in the working "
                                  "folder");
        case platform::InputFile::Opened::NotAFile:
        case platform::InputFile::Opened::Link: {
            std::error_code error;
            if (std::filesystem::is_directory(path, error)) {
                throw ConversionError(quoted(path) +
                                      " is a folder, not a font file; name a .ttf or .otf "
                                      "file");
            }
            throw ConversionError(quoted(path) +
                                  " is not an ordinary file but a pipe or a device; name a .ttf "
                                  "or .otf file");
        }
        case platform::InputFile::Opened::Failed:
            throw ConversionError("cannot open the font " + quoted(path) +
                                  "; check that you may read it");
    }
    if (in.size() > kLargestFontFileBytes) {
        throw ConversionError("the font " + quoted(path) + " is " + std::to_string(in.size()) +
                              " bytes long, more than the " +
                              std::to_string(kLargestFontFileBytes) +
                              " bytes of the largest font this converter reads; choose another "
                              "font");
    }
    if (in.size() > roomLeft) {
        throw ConversionError("the font " + quoted(path) + " is " + std::to_string(in.size()) +
                              " bytes long; with the fonts before it that is more than the " +
                              std::to_string(kLargestFontBytesTogether) +
                              " bytes one conversion reads in all; name fewer or smaller "
                              "--fallback fonts");
    }
    std::vector<FT_Byte> data(static_cast<std::size_t>(in.size()));
    std::size_t done = 0;
    while (done < data.size()) {
        const std::ptrdiff_t got =
            in.read(reinterpret_cast<char*>(data.data()) + done, data.size() - done);
        if (got <= 0) {
            throw ConversionError("cannot read the font " + quoted(path) + "; check the disk");
        }
        done += static_cast<std::size_t>(got);
    }
    return data;
}

}  // namespace

FontFace FontFace::open(const std::filesystem::path& path, std::size_t roomLeft) {
    FontFace font;
    font.data_ = readFontFile(path, roomLeft);

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        throw ConversionError("the font engine could not start; the computer may be out of memory");
    }
    font.library_.reset(library);

    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, font.data_.data(), static_cast<FT_Long>(font.data_.size()), 0,
                           &face) != 0) {
        throw ConversionError(quoted(path) +
                              " is not a font this converter can read; choose a TrueType or "
                              "OpenType font (.ttf, .otf, .ttc)");
    }
    font.face_.reset(face);
    if (!FT_IS_SCALABLE(face)) {
        throw ConversionError(quoted(path) +
                              " is a bitmap font, which cannot be scaled; choose a TrueType or "
                              "OpenType font");
    }
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        throw ConversionError(quoted(path) +
                              " has no Unicode character map, so its letters cannot be found; "
                              "choose another font");
    }
    return font;
}

}  // namespace tessavine::converter
