// Fonts of more glyphs than a shadow id can name: written, read back, each glyph's shadow checked.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"
#include "pgf/shadow_sharing.h"
#include "pgf_invariants.h"

namespace tessavine::pgf {
namespace {

GlyphImage box(int family, bool variant) {
    GlyphImage image;
    image.width = 4 + family % 10;
    image.height = 4 + family / 10 % 10;
    image.left = family % 7 - 3;
    image.top = family / 7 % 9 + 2;
    image.pixels.assign(static_cast<std::size_t>(image.width * image.height), 9);
    image.pixels[0] = variant ? 10 : 9;
    return image;
}

PgfFont fontOf(const std::vector<GlyphImage>& shadows) {
    PgfFont font;
    font.name = "Shared";
    font.style = "Regular";
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        PgfGlyph glyph;
        glyph.code = static_cast<char16_t>(0x20 + i);
        glyph.image = {1, 1, 0, 1, {15}};
        glyph.metrics = {{64, 64}, {0, -32}, {64, 18}, {128, 1094}};
        glyph.shadow = shadows[i];
        font.glyphs.push_back(glyph);
    }
    return font;
}

struct SharingCase {
    const char* name;
    int families;
    bool variants;  // each family twice: as is and with one pixel a shade darker
    std::size_t shadowRecords;
};

// Each glyph's shadow as read back is one of the shadows written, of its own shape family, and
// the earliest glyphs (ASCII in a real font) keep their very own.
TEST(SharedShadows, EveryGlyphGetsItsOwnOrTheNearestShadow) {
    const SharingCase cases[] = {
        {"AtTheLimit", 511, false, 511},          // one each, no sharing
        {"IdenticalOnesShare", 300, false, 300},  // 600 glyphs, each shadow twice
        {"NearOnesShare", 300, true, 511},        // 600 different shadows, 300 shapes
        {"ThousandsOfGlyphs", 700, true, 511},    // 1400 glyphs, more shapes than ids
    };
    for (const SharingCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<GlyphImage> shadows;
        std::vector<int> familyOf;
        const int copies = c.shadowRecords == 511 && !c.variants ? 1 : 2;
        for (int copy = 0; copy < copies; ++copy) {
            for (int f = 0; f < c.families; ++f) {
                shadows.push_back(box(f, c.variants && copy == 1));
                familyOf.push_back(f);
            }
        }
        const PgfFont font = fontOf(shadows);
        const std::vector<std::uint8_t> bytes = writePgf(font);
        const PgfFile file = readPgf(bytes);
        expectWellFormed(file, bytes.size());
        EXPECT_EQ(file.header.shadowMapLength, static_cast<std::int32_t>(c.shadowRecords));
        ASSERT_EQ(file.glyphs.size(), shadows.size());
        // The shapes some glyph still draws with its very own shadow.
        std::vector<bool> shapeKept(static_cast<std::size_t>(c.families), false);
        for (std::size_t i = 0; i < shadows.size(); ++i) {
            if (file.glyphs[i].shadow == shadows[i]) {
                shapeKept[static_cast<std::size_t>(familyOf[i])] = true;
            }
        }
        for (std::size_t i = 0; i < shadows.size(); ++i) {
            const GlyphImage& back = file.glyphs[i].shadow;
            if (i < 255 || !c.variants) {
                EXPECT_EQ(back, shadows[i]) << "glyph " << i;
            }
            // A glyph whose shape has a shadow record gets that shape, off at most by the one
            // pixel that tells the variants apart; the others some neighbouring shape.
            const GlyphImage& family = box(familyOf[i], false);
            const bool sameShape = back.width == family.width && back.height == family.height &&
                                   back.left == family.left && back.top == family.top;
            EXPECT_EQ(sameShape, shapeKept[static_cast<std::size_t>(familyOf[i])]) << "glyph " << i;
        }
        // Every id is spent on a different shape while shapes are left without one.
        EXPECT_EQ(std::count(shapeKept.begin(), shapeKept.end(), true),
                  std::min<std::ptrdiff_t>(c.families, 511));
    }
}

// Below the limit identical shadows share only when asked (a chosen set); the window's files keep
// one shadow per glyph, as the firmware's do. Either way each glyph draws its own shadow.
TEST(SharedShadows, IdenticalOnesShareBelowTheLimitOnlyWhenAsked) {
    std::vector<GlyphImage> shadows;
    for (int copy = 0; copy < 2; ++copy) {
        for (int f = 0; f < 200; ++f) {
            shadows.push_back(box(f, false));
        }
    }
    for (const bool share : {false, true}) {
        PgfFont font = fontOf(shadows);
        font.shareIdenticalShadows = share;
        const std::vector<std::uint8_t> bytes = writePgf(font);
        const PgfFile file = readPgf(bytes);
        expectWellFormed(file, bytes.size());
        EXPECT_EQ(file.header.shadowMapLength, share ? 200 : 400);
        for (std::size_t i = 0; i < shadows.size(); ++i) {
            EXPECT_EQ(file.glyphs[i].shadow, shadows[i]) << "glyph " << i;
        }
    }
}

// Two shadows share only when they are the same in every respect: size, place and ink. Each
// case differs from the first shadow in one respect alone.
TEST(SharedShadows, OnlyShadowsAlikeInEveryRespectShare) {
    const GlyphImage first{2, 3, 0, 5, {1, 2, 3, 4, 5, 6}};
    struct Case {
        const char* name;
        GlyphImage second;
        bool shares;
    };
    const Case cases[] = {
        {"the same", first, true},
        {"one row lower", {2, 3, 0, 4, {1, 2, 3, 4, 5, 6}}, false},
        {"one column further right", {2, 3, 1, 5, {1, 2, 3, 4, 5, 6}}, false},
        {"the same ink, three wide", {3, 2, 0, 5, {1, 2, 3, 4, 5, 6}}, false},
        {"one pixel darker", {2, 3, 0, 5, {1, 2, 3, 4, 5, 7}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<GlyphImage> shadows = {first, c.second};
        EXPECT_EQ(shareShadows(shadows, 511, true),
                  (std::vector<std::size_t>{0, c.shares ? 0u : 1u}));
        // Below the limit without being asked, nothing shares.
        EXPECT_EQ(shareShadows(shadows, 511, false), (std::vector<std::size_t>{0, 1}));
    }
}

// Past the limit the earliest half keep theirs and the remaining owners are the shadows farthest
// from every owner so far. Six one-pixel shadows along a line at these columns, four owners:
// 0 and 1 keep theirs; 70 is farthest from them, then 31 (30 from 1, 39 from 70) before 30.
TEST(SharedShadows, OwnersSpreadOverTheShapes) {
    std::vector<GlyphImage> shadows;
    for (const int left : {0, 1, 2, 30, 31, 70}) {
        shadows.push_back({1, 1, left, 1, {15}});
    }
    EXPECT_EQ(shareShadows(shadows, 4), (std::vector<std::size_t>{0, 1, 1, 4, 4, 5}));
    // Identical ones share before any likeness is weighed.
    shadows.insert(shadows.begin() + 3, shadows[5]);
    EXPECT_EQ(shareShadows(shadows, 4), (std::vector<std::size_t>{0, 1, 1, 3, 5, 5, 3}));

    // Boxes alike, the ink decides, over the whole box: two owners, the first and the farthest.
    // Two pixels wide: the third is nearer the first (14 apart) than the second (15 apart).
    const std::vector<GlyphImage> columns = {
        {2, 1, 0, 1, {15, 0}}, {2, 1, 0, 1, {0, 15}}, {2, 1, 0, 1, {15, 14}}};
    EXPECT_EQ(shareShadows(columns, 2), (std::vector<std::size_t>{0, 1, 0}));
    // Twelve rows tall, the grid's size: ink in the last row is as far from the next-to-last as
    // from the first, so the third takes the first owner (the earlier of two as near).
    std::vector<GlyphImage> rows;
    for (const int inkRow : {0, 10, 11}) {
        GlyphImage shadow{1, 12, 0, 12, std::vector<std::uint8_t>(12, 0)};
        shadow.pixels[static_cast<std::size_t>(inkRow)] = 15;
        rows.push_back(shadow);
    }
    EXPECT_EQ(shareShadows(rows, 2), (std::vector<std::size_t>{0, 1, 0}));
}

// Glyphs named to keep their own shadow do, even far beyond the earliest 255 and among shapes
// that would otherwise take a neighbour's; the rest is shared as before, within the 511 records.
TEST(SharedShadows, NamedGlyphsKeepTheirOwnShadow) {
    std::vector<GlyphImage> shadows;
    for (int copy = 0; copy < 2; ++copy) {
        for (int f = 0; f < 700; ++f) {
            shadows.push_back(box(f, copy == 1));
        }
    }
    PgfFont font = fontOf(shadows);
    const std::vector<std::size_t> kept = {1399, 1000, 702, 699};
    for (const std::size_t i : kept) {
        font.ownShadowFirst.push_back(font.glyphs[i].code);
    }
    font.ownShadowFirst.push_back(0xFFFD);  // a character the font lacks is passed over
    const std::vector<std::uint8_t> bytes = writePgf(font);
    const PgfFile file = readPgf(bytes);
    expectWellFormed(file, bytes.size());
    EXPECT_EQ(file.header.shadowMapLength, 511);
    for (const std::size_t i : kept) {
        EXPECT_EQ(file.glyphs[i].shadow, shadows[i]) << "glyph " << i;
    }
    // Without the list the same glyphs take a neighbour's.
    PgfFont plain = fontOf(shadows);
    const std::vector<std::uint8_t> plainBytes = writePgf(plain);
    const PgfFile plainFile = readPgf(plainBytes);
    std::size_t ownWithout = 0;
    for (const std::size_t i : kept) {
        ownWithout += plainFile.glyphs[i].shadow == shadows[i] ? 1u : 0u;
    }
    EXPECT_LT(ownWithout, kept.size());
}

// The sharing as its rules state it, the slow way: shadows alike in every respect share; of the
// rest the earliest half of `most` own theirs, then the one farthest from every owner so far (the
// earliest of those as far) until `most` are owners; every other takes its nearest owner (the
// earliest made of two as near). Unlike is the ink moved between the cells of a 12 × 12 grid over
// the box holding every shadow, plus 16 for each pixel an edge of the box moves, times both boxes'
// width and height.
std::vector<std::size_t> shareTheSlowWay(const std::vector<GlyphImage>& shadows, std::size_t most) {
    std::vector<std::size_t> distinct, distinctOf(shadows.size());
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        const auto same = std::find_if(distinct.begin(), distinct.end(),
                                       [&](std::size_t d) { return shadows[d] == shadows[i]; });
        distinctOf[i] = static_cast<std::size_t>(same - distinct.begin());
        if (same == distinct.end()) {
            distinct.push_back(i);
        }
    }
    int left = 1000, right = -1000, top = -1000, bottom = 1000;
    for (const GlyphImage& s : shadows) {
        left = std::min(left, s.left);
        right = std::max(right, s.left + s.width);
        top = std::max(top, s.top);
        bottom = std::min(bottom, s.top - s.height);
    }
    const int frameWidth = std::max(1, right - left), frameHeight = std::max(1, top - bottom);
    std::vector<std::array<long, 144>> cells(distinct.size());
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        const GlyphImage& s = shadows[distinct[d]];
        cells[d].fill(0);
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const int row = std::min(11, (top - s.top + y) * 12 / frameHeight);
                const int column = std::min(11, (s.left + x - left) * 12 / frameWidth);
                cells[d][static_cast<std::size_t>(row * 12 + column)] += s.at(x, y);
            }
        }
    }
    const auto distance = [&](std::size_t a, std::size_t b) {
        const GlyphImage& p = shadows[distinct[a]];
        const GlyphImage& q = shadows[distinct[b]];
        long sum = 16L *
                   (std::abs(p.left - q.left) + std::abs(p.top - q.top) +
                    std::abs(p.left + p.width - q.left - q.width) +
                    std::abs(p.top - p.height - q.top + q.height)) *
                   (p.width + p.height + q.width + q.height);
        for (std::size_t i = 0; i < 144; ++i) {
            sum += std::abs(cells[a][i] - cells[b][i]);
        }
        return sum;
    };
    std::vector<bool> isOwner(distinct.size(), false);
    std::vector<long> nearest(distinct.size(), std::numeric_limits<long>::max());
    std::vector<std::size_t> nearestOwner(distinct.size(), 0);
    std::size_t owners = 0;
    const auto take = [&](std::size_t d) {
        isOwner[d] = true;
        ++owners;
        for (std::size_t other = 0; other < distinct.size(); ++other) {
            if (distance(d, other) < nearest[other]) {
                nearest[other] = distance(d, other);
                nearestOwner[other] = d;
            }
        }
    };
    for (std::size_t d = 0; owners < std::min(most / 2, distinct.size()); ++d) {
        take(d);
    }
    while (owners < std::min(most, distinct.size())) {
        std::size_t farthest = 0;
        long gap = -1;
        for (std::size_t d = 0; d < distinct.size(); ++d) {
            if (!isOwner[d] && nearest[d] > gap) {
                gap = nearest[d];
                farthest = d;
            }
        }
        take(farthest);
    }
    std::vector<std::size_t> owner(shadows.size());
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        const std::size_t d = distinctOf[i];
        owner[i] = distinct[isOwner[d] || distinct.size() <= most ? d : nearestOwner[d]];
    }
    return owner;
}

// The sharing passes over groups of shadows of one box and settles most pairs from cheap sums
// before it reads their cells; none of that may change an owner. Shadows of a few boxes that
// differ in place by a pixel (the same shape a row lower is another box) and of many inks,
// against the slow way.
TEST(SharedShadows, TheFastPickIsTheSlowPick) {
    std::mt19937 random(26);
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    for (const std::size_t most : {8u, 64u, 511u}) {
        SCOPED_TRACE(most);
        std::vector<GlyphImage> shadows;
        for (int i = 0; i < 600; ++i) {
            // Boxes a pixel apart in one respect alone: width, height, top or left.
            const int box = pick(random) % 24;
            GlyphImage shadow{9 + box % 2, 10 + box / 2 % 2, -(box / 12), 12 + box / 4 % 3, {}};
            for (int p = 0; p < shadow.width * shadow.height; ++p) {
                // Mostly one of a few shapes, sometimes a pixel apart, so that owners are near.
                const int shape = i % 7;
                const int level = (p * (shape + 3) / 7 + shape) % 16;
                shadow.pixels.push_back(
                    static_cast<std::uint8_t>(pick(random) % 9 == 0 ? pick(random) % 16 : level));
            }
            shadows.push_back(shadow);
        }
        shadows.push_back(shadows[5]);  // identical ones still share first
        EXPECT_EQ(shareShadows(shadows, most, true), shareTheSlowWay(shadows, most));
    }
    // Shadows unlike only within the grid's cells (24 pixels square: cells of 2 × 2) look the
    // same to the sharing: more of them than owners, so that all left are at distance 0.
    std::vector<std::array<std::uint8_t, 4>> orders;  // the 24 orders of the levels 1 to 4
    std::array<std::uint8_t, 4> levels = {1, 2, 3, 4};
    do {
        orders.push_back(levels);
    } while (std::next_permutation(levels.begin(), levels.end()));
    std::vector<GlyphImage> alike;
    for (std::size_t i = 0; i < 100; ++i) {
        GlyphImage shadow{24, 24, 0, 24, std::vector<std::uint8_t>(576, 0)};
        for (const auto& [cell, order] : {std::pair{0, orders[i % 24]}, {77, orders[i / 24]}}) {
            for (std::size_t p = 0; p < 4; ++p) {
                const int x = cell % 12 * 2 + static_cast<int>(p % 2);
                const int y = cell / 12 * 2 + static_cast<int>(p / 2);
                shadow.pixels[static_cast<std::size_t>(y * 24 + x)] = order[p];
            }
        }
        alike.push_back(shadow);
    }
    EXPECT_EQ(shareShadows(alike, 8, true), shareTheSlowWay(alike, 8));
}

}  // namespace
}  // namespace tessavine::pgf
