#include "shadow_maker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tessavine::converter {
namespace {

constexpr int kHalo = 4;            // shadow pixels of room around the ink
constexpr int kLongestKernel = 32;  // beyond this the kernel's tail is all outside the box
constexpr double kSharpestSigma = 0.05;

int floorHalf(int value) {
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}
int ceilHalf(int value) {
    return -floorHalf(-value);
}

std::vector<float> gaussianKernel(double sigma) {
    if (sigma < kSharpestSigma) {
        return {1.0f};
    }
    const int radius = std::min(kLongestKernel, static_cast<int>(std::ceil(3 * sigma)));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        sum += std::exp(-(i * i) / (2 * sigma * sigma));
    }
    for (int i = -radius; i <= radius; ++i) {
        kernel[static_cast<std::size_t>(i + radius)] =
            static_cast<float>(std::exp(-(i * i) / (2 * sigma * sigma)) / sum);
    }
    return kernel;
}

// Blurs each row of `in` (width × rows values) into `out`, one kernel tap at a time so the inner
// loop runs over contiguous values.
void blurRows(const float* in, float* out, int width, int rows, const std::vector<float>& kernel) {
    const int radius = static_cast<int>(kernel.size() / 2);
    std::fill(out, out + static_cast<std::ptrdiff_t>(width) * rows, 0.0f);
    for (int y = 0; y < rows; ++y) {
        const float* source = in + static_cast<std::ptrdiff_t>(y) * width;
        float* target = out + static_cast<std::ptrdiff_t>(y) * width;
        for (int k = -radius; k <= radius; ++k) {
            const float weight = kernel[static_cast<std::size_t>(k + radius)];
            const int first = std::max(0, -k);
            const int end = std::min(width, width - k);
            for (int x = first; x < end; ++x) {
                target[x] += weight * source[x + k];
            }
        }
    }
}

// Blurs each column: every output row is a weighted sum of whole input rows.
void blurColumns(const float* in, float* out, int width, int rows,
                 const std::vector<float>& kernel) {
    const int radius = static_cast<int>(kernel.size() / 2);
    std::fill(out, out + static_cast<std::ptrdiff_t>(width) * rows, 0.0f);
    for (int y = 0; y < rows; ++y) {
        float* target = out + static_cast<std::ptrdiff_t>(y) * width;
        // The halo's rows are still empty and add nothing.
        for (int k = std::max(-radius, kHalo - y); k <= std::min(radius, rows - 1 - kHalo - y);
             ++k) {
            const float weight = kernel[static_cast<std::size_t>(k + radius)];
            const float* source = in + static_cast<std::ptrdiff_t>(y + k) * width;
            for (int x = 0; x < width; ++x) {
                target[x] += weight * source[x];
            }
        }
    }
}

}  // namespace

pgf::GlyphImage makeShadow(const pgf::GlyphImage& glyph, double blur, double intensity) {
    if (glyph.width == 0 || glyph.height == 0) {
        return {};
    }
    // Glyph pixel (x, y) lies at column left + x and row y - top, rows counted down from the
    // baseline; shadow pixels halve both.
    const int firstColumn = floorHalf(glyph.left) - kHalo;
    const int endColumn = ceilHalf(glyph.left + glyph.width) + kHalo;
    const int firstRow = floorHalf(-glyph.top) - kHalo;
    const int endRow = ceilHalf(glyph.height - glyph.top) + kHalo;
    const int width = endColumn - firstColumn;
    const int height = endRow - firstRow;

    // Each shadow pixel sums the opacity of the glyph pixels over it, row by row, as before; an
    // empty glyph pixel adds nothing, and the opacity of each level is looked up.
    static constexpr std::array<float, 256> kOpacity = [] {
        std::array<float, 256> opacity{};
        for (std::size_t level = 0; level < opacity.size(); ++level) {
            opacity[level] = static_cast<float>(level) / 60.0f;
        }
        return opacity;
    }();
    std::vector<float> opacity(static_cast<std::size_t>(width * height), 0.0f);
    std::vector<int> columnOf(static_cast<std::size_t>(glyph.width));
    for (int x = 0; x < glyph.width; ++x) {
        columnOf[static_cast<std::size_t>(x)] = floorHalf(glyph.left + x) - firstColumn;
    }
    for (int y = 0; y < glyph.height; ++y) {
        float* row = opacity.data() +
                     static_cast<std::ptrdiff_t>(floorHalf(y - glyph.top) - firstRow) * width;
        const std::uint8_t* pixels =
            glyph.pixels.data() + static_cast<std::ptrdiff_t>(y) * glyph.width;
        for (int x = 0; x < glyph.width; ++x) {
            if (pixels[x] != 0) {
                row[columnOf[static_cast<std::size_t>(x)]] += kOpacity[pixels[x]];
            }
        }
    }
    const std::vector<float> kernel = gaussianKernel(blur / 2);  // in shadow pixels
    if (kernel.size() > 1) {
        // Only the rows under the ink hold anything before the blur spreads it.
        std::vector<float> rowsBlurred(opacity.size(), 0.0f);
        const auto inkRows = static_cast<std::ptrdiff_t>(kHalo) * width;
        blurRows(opacity.data() + inkRows, rowsBlurred.data() + inkRows, width, height - 2 * kHalo,
                 kernel);
        blurColumns(rowsBlurred.data(), opacity.data(), width, height, kernel);
    }

    pgf::GlyphImage shadow{width, height, firstColumn, -firstRow, {}};
    shadow.pixels.reserve(opacity.size());
    const auto scale = static_cast<float>(intensity * 15);
    for (const float value : opacity) {
        const float level = std::clamp(value * scale, 0.0f, 15.0f);
        shadow.pixels.push_back(static_cast<std::uint8_t>(level + 0.5f));
    }
    return shadow;
}

}  // namespace tessavine::converter
