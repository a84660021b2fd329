#include "bitmap_encoding.h"

#include "run_length_code.h"

namespace tessavine::pgf {

EncodedBitmap encodeBitmap(const GlyphImage& image) {
    if (image.pixels.empty()) {
        return {};
    }
    const std::vector<std::uint8_t> byColumns = pixelsInOrder(image, BitmapOrder::Columns);
    if (runLengthCodeSize(byColumns) < runLengthCodeSize(image.pixels)) {
        return {BitmapOrder::Columns, encodeRunLengthPacked(byColumns)};
    }
    return {BitmapOrder::Rows, encodeRunLengthPacked(image.pixels)};
}

void decodeBitmap(BitReader& reader, BitmapOrder order, GlyphImage& image) {
    const std::size_t count =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    placePixels(image, decodeRunLength(reader, count), order);
}

}  // namespace tessavine::pgf
