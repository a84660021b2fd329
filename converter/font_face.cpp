#include "font_face.h"

#include <fstream>
#include <system_error>

#include "conversion_error.h"

namespace tessavine::converter {
namespace {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::vector<FT_Byte> readFontFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw ConversionError("the font " + quoted(path) +
                              " does not exist; check its name and that it is in the working "
                              "folder");
    }
    if (std::filesystem::is_directory(path, error)) {
        throw ConversionError(quoted(path) +
                              " is a folder, not a font file; name a .ttf or .otf "
                              "file");
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        throw ConversionError("cannot open the font " + quoted(path) +
                              "; check that you may read it");
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        throw ConversionError("cannot read the font " + quoted(path) + "; check the disk");
    }
    std::vector<FT_Byte> data(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size));
    if (!in) {
        throw ConversionError("cannot read the font " + quoted(path) + "; check the disk");
    }
    return data;
}

}  // namespace

FontFace FontFace::open(const std::filesystem::path& path) {
    FontFace font;
    font.data_ = readFontFile(path);

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
