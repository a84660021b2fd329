#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/input_limits.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tessavine::converter {

// A FreeType library with one font face loaded from a file: for a collection (.ttc, .otc), the
// face asked for, else its first. The file is read into memory first, so any file name the
// platform can open works.
class FontFace {
  public:
    // `face` picks a face of a collection by its index ("1") or its name ("WenQuanYi Zen Hei
    // Sharp", matched against the family with and without its style and the PostScript name,
    // case aside); empty: the first face. Throws ConversionError when the file is missing,
    // unreadable or no font FreeType knows, or has no such face (naming the faces it has), or
    // when it is larger than `roomLeft` bytes: what the conversion's fonts together may still
    // take (kLargestFontBytesTogether less the fonts already open).
    static FontFace open(const std::filesystem::path& path, const std::string& face = {},
                         std::size_t roomLeft = kLargestFontBytesTogether);

    std::size_t bytes() const { return data_.size(); }

    // One line per face of the file: its index, family, style and PostScript name.
    static std::vector<std::string> describeFaces(const std::filesystem::path& path);

    FT_Face get() const { return face_.get(); }

  private:
    struct LibraryCloser {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    struct FaceCloser {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };

    FontFace() = default;

    // Declared in the order they must be created; destroyed the other way round.
    std::unique_ptr<FT_LibraryRec_, LibraryCloser> library_;
    std::vector<FT_Byte> data_;
    std::unique_ptr<FT_FaceRec_, FaceCloser> face_;
};

}  // namespace tessavine::converter
