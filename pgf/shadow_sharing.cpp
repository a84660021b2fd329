#include "shadow_sharing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <tuple>

namespace tessavine::pgf {
namespace {

constexpr int kGrid = 12;       // cells per side of the coarse picture two shadows are compared by
constexpr int kBoxWeight = 16;  // ink the halo's edge carries per pixel it moves or grows

// Where the halo lies (the box) and how its ink spreads over a grid laid over a common frame.
struct Signature {
    std::array<int, kGrid * kGrid> cells{};
    int left = 0, top = 0, width = 0, height = 0;
};

struct Frame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
};

// The box, in shadow pixels from the pen and baseline, that holds every shadow.
Frame frameOf(std::span<const GlyphImage> shadows) {
    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    int top = std::numeric_limits<int>::min(), bottom = std::numeric_limits<int>::max();
    for (const GlyphImage& s : shadows) {
        left = std::min(left, s.left);
        right = std::max(right, s.left + s.width);
        top = std::max(top, s.top);
        bottom = std::min(bottom, s.top - s.height);
    }
    return {left, top, std::max(1, right - left), std::max(1, top - bottom)};
}

// Ink summed over a grid laid over the common frame, and the box's sides.
Signature signatureOf(const GlyphImage& s, const Frame& frame) {
    Signature signature{{}, s.left, s.top, s.width, s.height};
    auto& cells = signature.cells;
    for (int y = 0; y < s.height; ++y) {
        const int frameY = frame.top - (s.top - y);
        const int row = std::min(kGrid - 1, frameY * kGrid / frame.height);
        for (int x = 0; x < s.width; ++x) {
            const int frameX = s.left + x - frame.left;
            const int column = std::min(kGrid - 1, frameX * kGrid / frame.width);
            cells[static_cast<std::size_t>(row * kGrid + column)] +=
                s.pixels[static_cast<std::size_t>(y * s.width + x)];
        }
    }
    return signature;
}

// How unlike two shadows look: the ink moved between grid cells and the halo's edges moved,
// weighted by the boxes' size. Exact when below `bound`, else any value at or above it: with
// thousands of glyphs most comparisons are with owners farther than the nearest one found, and
// every term is positive, so the sum can stop once it reaches the bound. The result for a nearer
// pair is exact, so the choice of owners is the same as with the full distance.
long distanceBelow(const Signature& a, const Signature& b, long bound) {
    const int edges = std::abs(a.left - b.left) + std::abs(a.top - b.top) +
                      std::abs(a.left + a.width - b.left - b.width) +
                      std::abs(a.top - a.height - b.top + b.height);
    long sum = long{kBoxWeight} * edges * (a.height + a.width + b.height + b.width);
    constexpr auto kSide = static_cast<std::size_t>(kGrid);
    for (std::size_t row = 0; row < kSide && sum < bound; ++row) {
        for (std::size_t column = 0; column < kSide; ++column) {
            const std::size_t i = row * kSide + column;
            sum += std::abs(a.cells[i] - b.cells[i]);
        }
    }
    return sum;
}

}  // namespace

std::vector<std::size_t> shareShadows(std::span<const GlyphImage> shadows, std::size_t most,
                                      bool shareIdentical, std::span<const std::size_t> keepOwn) {
    std::vector<std::size_t> owner(shadows.size());
    // Files within the limit keep one shadow per glyph, as the firmware's own fonts do, so the
    // files of up to 511 glyphs stay byte for byte what they were before sharing existed.
    if (shadows.size() <= most && !shareIdentical) {
        for (std::size_t i = 0; i < owner.size(); ++i) {
            owner[i] = i;
        }
        return owner;
    }
    // Identical shadows first: they share without any change to what the PSP draws.
    std::map<std::tuple<int, int, int, int, std::vector<std::uint8_t>>, std::size_t> firstOf;
    std::vector<std::size_t> distinct;
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        const GlyphImage& s = shadows[i];
        const auto [found, added] =
            firstOf.try_emplace(std::make_tuple(s.width, s.height, s.left, s.top, s.pixels), i);
        owner[i] = found->second;
        if (added) {
            distinct.push_back(i);
        }
    }
    if (distinct.size() <= most || most == 0) {
        return owner;
    }

    const Frame frame = frameOf(shadows);
    std::vector<Signature> signature(distinct.size());
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        signature[d] = signatureOf(shadows[distinct[d]], frame);
    }
    // The earliest keep their own; then, one at a time, the shadow farthest from every owner
    // so far becomes an owner, so the owners spread over all the shapes there are.
    std::vector<bool> isOwner(distinct.size(), false);
    std::vector<long> nearest(distinct.size(), std::numeric_limits<long>::max());
    std::vector<std::size_t> nearestOwner(distinct.size(), 0);
    const auto makeOwner = [&](std::size_t d) {
        isOwner[d] = true;
        for (std::size_t other = 0; other < distinct.size(); ++other) {
            const long gap = distanceBelow(signature[d], signature[other], nearest[other]);
            if (gap < nearest[other]) {
                nearest[other] = gap;
                nearestOwner[other] = d;
            }
        }
    };
    std::map<std::size_t, std::size_t> distinctIndex;
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        distinctIndex[distinct[d]] = d;
    }
    std::size_t owners = 0;
    const auto take = [&](std::size_t d) {
        if (!isOwner[d] && owners < most) {
            makeOwner(d);
            ++owners;
        }
    };
    for (const std::size_t glyph : keepOwn) {
        if (glyph < shadows.size()) {
            take(distinctIndex[owner[glyph]]);
        }
    }
    for (std::size_t d = 0; owners < most / 2; ++d) {
        take(d);
    }
    while (owners < most) {
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
    std::vector<std::size_t> ownerOfDistinct(distinct.size());
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        ownerOfDistinct[d] = distinct[isOwner[d] ? d : nearestOwner[d]];
    }
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        owner[i] = ownerOfDistinct[distinctIndex[owner[i]]];
    }
    return owner;
}

}  // namespace tessavine::pgf
