// The picture the shared drawing paints into, without any toolkit: rectangles and lines cover
// exactly the pixels they name, opacities round as worked out by hand, and magnifying keeps
// every pixel a square.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "psp_screen/rgba_image.h"

namespace tessavine::psp_screen {
namespace {

constexpr Rgba kBlack{0, 0, 0};
constexpr Rgba kWhite{255, 255, 255};

std::set<std::pair<int, int>> whitePixels(const RgbaImage& image) {
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == kWhite) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

TEST(RgbaImage, ShapesCoverExactlyTheirPixelsAndAreClipped) {
    struct Case {
        const char* what;
        void (*draw)(RgbaImage&);
        std::set<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        {"fill 2 × 2 at (1, 1)",
         [](RgbaImage& i) {
             i.fillRect({1, 1, 2, 2}, kWhite);
         },
         {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
        {"outline of 3 × 3: its ring, not its middle",
         [](RgbaImage& i) {
             i.strokeRect({0, 0, 3, 3}, kWhite);
         },
         {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {"outline of 1 × 1",
         [](RgbaImage& i) {
             i.strokeRect({2, 2, 1, 1}, kWhite);
         },
         {{2, 2}}},
        {"outline of nothing",
         [](RgbaImage& i) {
             i.strokeRect({2, 2, 0, 3}, kWhite);
         },
         {}},
        {"line with both ends",
         [](RgbaImage& i) { i.horizontalLine(1, 3, 0, kWhite); },
         {{1, 0}, {2, 0}, {3, 0}}},
        {"fill beyond every edge",
         [](RgbaImage& i) {
             i.fillRect({-5, 3, 100, 100}, kWhite);
         },
         {{0, 3}, {1, 3}, {2, 3}, {3, 3}}},
        {"line off the picture", [](RgbaImage& i) { i.horizontalLine(-9, 9, 4, kWhite); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RgbaImage image(4, 4, kBlack);
        c.draw(image);
        EXPECT_EQ(whitePixels(image), c.expected);
    }
}

TEST(RgbaImage, OpacityRoundsToTheNearestLevel) {
    // under, over, opacity of 255 → expected, worked out by hand: (u·(255−a) + o·a + 127) / 255
    // and, for 4-bit levels, (u·(15−l) + o·l + 7) / 15.
    struct Case {
        int under, over, opacity, mixed;
    };
    for (const Case c : {Case{0, 255, 136, 136}, Case{100, 200, 17, 107}, Case{255, 0, 1, 254},
                         Case{10, 20, 0, 10}, Case{10, 20, 300, 20}}) {
        RgbaImage image(1, 1, {static_cast<std::uint8_t>(c.under), 0, 0});
        image.mix(0, 0, {static_cast<std::uint8_t>(c.over), 0, 0}, c.opacity);
        EXPECT_EQ(image.pixel(0, 0).red, c.mixed) << c.under << " " << c.over << " " << c.opacity;
    }
    for (const Case c : {Case{0, 255, 8, 136}, Case{100, 200, 1, 107}, Case{255, 0, 15, 0},
                         Case{52, 255, 7, 147}, Case{10, 20, 0, 10}, Case{10, 20, 99, 20}}) {
        RgbaImage image(1, 1, {static_cast<std::uint8_t>(c.under), 0, 0});
        image.blend(0, 0, {static_cast<std::uint8_t>(c.over), 0, 0}, c.opacity);
        EXPECT_EQ(image.pixel(0, 0).red, c.mixed) << c.under << " " << c.over << " " << c.opacity;
    }
    // Drawing outside the picture changes nothing and does not fault.
    RgbaImage image(1, 1, kBlack);
    image.mix(1, 0, kWhite, 255);
    image.blend(0, -1, kWhite, 15);
    image.setPixel(-1, -1, kWhite);
    EXPECT_EQ(image.pixel(0, 0), kBlack);
}

TEST(RgbaImage, MagnifiedPixelsStaySquares) {
    RgbaImage image(3, 2, kBlack);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(
                x, y, {static_cast<std::uint8_t>(x * 100), static_cast<std::uint8_t>(y * 200), 7});
        }
    }
    for (int factor = 1; factor <= 4; ++factor) {
        SCOPED_TRACE(factor);
        const RgbaImage big = image.magnified(factor);
        ASSERT_EQ(big.size(), (Size{3 * factor, 2 * factor}));
        for (int y = 0; y < big.height(); ++y) {
            for (int x = 0; x < big.width(); ++x) {
                EXPECT_EQ(big.pixel(x, y), (Rgba{static_cast<std::uint8_t>(x / factor * 100),
                                                 static_cast<std::uint8_t>(y / factor * 200), 7}));
            }
        }
    }
}

}  // namespace
}  // namespace tessavine::psp_screen
