#include "font_face.h"

#include <algorithm>
#include <charconv>
#include <optional>
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

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::string faceLine(FT_Long index, FT_Face face) {
    const std::string family = face->family_name ? face->family_name : "";
    const std::string style = face->style_name ? face->style_name : "";
    const char* postScript = FT_Get_Postscript_Name(face);
    return std::to_string(index) + ": " + family + (style.empty() ? "" : " " + style) +
           (postScript ? " (" + std::string(postScript) + ")" : "");
}

bool hasName(FT_Face face, const std::string& wanted) {
    const std::string family = face->family_name ? face->family_name : "";
    const std::string style = face->style_name ? face->style_name : "";
    const char* postScript = FT_Get_Postscript_Name(face);
    const std::string asked = lowered(wanted);
    return asked == lowered(family) || asked == lowered(family + " " + style) ||
           (postScript && asked == lowered(postScript));
}

std::optional<FT_Long> readIndex(const std::string& text) {
    FT_Long index = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size() || index < 0) {
        return std::nullopt;
    }
    return index;
}

}  // namespace

std::vector<std::string> FontFace::describeFaces(const std::filesystem::path& path) {
    FontFace first = open(path);
    std::vector<std::string> lines;
    const FT_Long count = first.get()->num_faces;
    for (FT_Long i = 0; i < count; ++i) {
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(first.library_.get(), first.data_.data(),
                               static_cast<FT_Long>(first.data_.size()), i, &face) != 0) {
            lines.push_back(std::to_string(i) + ": (a face FreeType cannot read)");
            continue;
        }
        lines.push_back(faceLine(i, face));
        FT_Done_Face(face);
    }
    return lines;
}

FontFace FontFace::open(const std::filesystem::path& path, const std::string& wantedFace,
                        std::size_t roomLeft) {
    FontFace font;
    font.data_ = readFontFile(path, roomLeft);

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        throw ConversionError("the font engine could not start; the computer may be out of memory");
    }
    font.library_.reset(library);

    const auto openFace = [&](FT_Long index) {
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(library, font.data_.data(), static_cast<FT_Long>(font.data_.size()),
                               index, &face) != 0) {
            throw ConversionError(quoted(path) +
                                  " is not a font this converter can read; choose a TrueType or "
                                  "OpenType font (.ttf, .otf, .ttc)");
        }
        font.face_.reset(face);
    };
    openFace(0);
    if (!wantedFace.empty()) {
        const FT_Long count = font.face_->num_faces;
        std::string faces;
        std::optional<FT_Long> found = readIndex(wantedFace);
        for (FT_Long i = 0; i < count; ++i) {
            openFace(i);
            faces += (faces.empty() ? "" : "; ") + faceLine(i, font.face_.get());
            if (!found && hasName(font.face_.get(), wantedFace)) {
                found = i;
            }
        }
        if (!found || *found >= count) {
            throw ConversionError(quoted(path) + " has no face \"" + wantedFace + "\"; its " +
                                  std::to_string(count) +
                                  (count == 1 ? " face is " : " faces are ") + faces +
                                  ". Give --face an index or a name from these");
        }
        openFace(*found);
    }
    FT_Face face = font.face_.get();
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
