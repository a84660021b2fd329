#include "shadow_maker.h"

#include <algorithm>
#include <cmath>
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

std::vector<double> gaussianKernel(double sigma) {
    if (sigma < kSharpestSigma) {
        return {1.0};
    }
    const int radius = std::min(kLongestKernel, static_cast<int>(std::ceil(3 * sigma)));
    std::vector<double> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        const double weight = std::exp(-(i * i) / (2 * sigma * sigma));
        kernel[static_cast<std::size_t>(i + radius)] = weight;
        sum += weight;
    }
    for (double& weight : kernel) {
        weight /= sum;
    }
    return kernel;
}

// One pass of the separable blur along rows (step 1) or columns (step = width).
std::vector<double> blurAlong(const std::vector<double>& in, int width, int height, bool rows,
                              const std::vector<double>& kernel) {
    const int radius = static_cast<int>(kernel.size() / 2);
    std::vector<double> out(in.size(), 0.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int sx = rows ? x + k : x;
                const int sy = rows ? y : y + k;
                if (sx >= 0 && sx < width && sy >= 0 && sy < height) {
                    sum += kernel[static_cast<std::size_t>(k + radius)] *
                           in[static_cast<std::size_t>(sy * width + sx)];
                }
            }
            out[static_cast<std::size_t>(y * width + x)] = sum;
        }
    }
    return out;
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

    std::vector<double> opacity(static_cast<std::size_t>(width * height), 0.0);
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const int column = floorHalf(glyph.left + x) - firstColumn;
            const int row = floorHalf(y - glyph.top) - firstRow;
            opacity[static_cast<std::size_t>(row * width + column)] += glyph.at(x, y) / 60.0;
        }
    }
    const std::vector<double> kernel = gaussianKernel(blur / 2);  // in shadow pixels
    if (kernel.size() > 1) {
        opacity = blurAlong(blurAlong(opacity, width, height, true, kernel), width, height, false,
                            kernel);
    }

    pgf::GlyphImage shadow{width, height, firstColumn, -firstRow, {}};
    shadow.pixels.reserve(opacity.size());
    for (const double value : opacity) {
        const double level = std::clamp(value * intensity, 0.0, 1.0) * 15;
        shadow.pixels.push_back(static_cast<std::uint8_t>(std::lround(level)));
    }
    return shadow;
}

}  // namespace tessavine::converter
