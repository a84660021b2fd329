#include "shadow_sharing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <stdexcept>

namespace tessavine::pgf {
namespace {

constexpr int kGrid = 12;       // cells per side of the coarse picture two shadows are compared by
constexpr int kBoxWeight = 16;  // ink the halo's edge carries per pixel it moves or grows
constexpr std::size_t kCells = static_cast<std::size_t>(kGrid * kGrid);

using Cells = std::array<std::uint16_t, kCells>;

struct Frame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
};

// Where the halo lies and how much ink it holds: all a first guess at a distance needs, small
// enough that the guesses for thousands of shadows stay in the processor's cache.
struct Outline {
    int left = 0, top = 0, right = 0, bottom = 0;
    int size = 0;  // width plus height, the weight of the edges' moves
    int ink = 0;
};

// Every distinct shadow's outline, its ink summed by grid rows and by grid columns, and its grid
// of cells, each kept in an array of its own so that the comparisons that stop early read only
// what they need.
struct Signatures {
    std::vector<Outline> outline;
    std::vector<std::array<int, 2 * kGrid>> lines;  // row sums, then column sums
    std::vector<Cells> cells;
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
void addSignature(Signatures& to, const GlyphImage& s, const Frame& frame) {
    std::array<int, kCells> sums{};
    std::array<int, 256> columnOf{};
    const int columns = std::min(s.width, static_cast<int>(columnOf.size()));
    for (int x = 0; x < columns; ++x) {
        columnOf[static_cast<std::size_t>(x)] =
            std::min(kGrid - 1, (s.left + x - frame.left) * kGrid / frame.width);
    }
    int ink = 0;
    for (int y = 0; y < s.height; ++y) {
        const int frameY = frame.top - (s.top - y);
        const int row = std::min(kGrid - 1, frameY * kGrid / frame.height);
        const std::uint8_t* pixels = s.pixels.data() + static_cast<std::ptrdiff_t>(y) * s.width;
        int* cellRow = sums.data() + row * kGrid;
        for (int x = 0; x < s.width; ++x) {
            const int column = x < columns ? columnOf[static_cast<std::size_t>(x)] : kGrid - 1;
            cellRow[column] += pixels[x];
            ink += pixels[x];
        }
    }
    to.outline.push_back(
        {s.left, s.top, s.left + s.width, s.top - s.height, s.width + s.height, ink});
    std::array<int, 2 * kGrid> lines{};
    Cells cells{};
    for (std::size_t i = 0; i < kCells; ++i) {
        // A cell covers at most 22 × 22 pixels of a frame the format's offsets and sides allow.
        if (sums[i] > std::numeric_limits<std::uint16_t>::max()) {
            throw std::invalid_argument("a shadow lies outside the offsets a PGF font can hold");
        }
        cells[i] = static_cast<std::uint16_t>(sums[i]);
        lines[i / kGrid] += sums[i];
        lines[kGrid + i % kGrid] += sums[i];
    }
    to.lines.push_back(lines);
    to.cells.push_back(cells);
}

// The part of the distance the boxes make: each edge's move, weighted by both boxes' size.
long boxDistance(const Outline& a, const Outline& b) {
    const int edges = std::abs(a.left - b.left) + std::abs(a.top - b.top) +
                      std::abs(a.right - b.right) + std::abs(a.bottom - b.bottom);
    return long{kBoxWeight} * edges * (a.size + b.size);
}

long cellDistance(const Cells& a, const Cells& b) {
    int sum = 0;  // at most 144 cells of 16 bits
    for (std::size_t i = 0; i < kCells; ++i) {
        sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
    }
    return sum;
}

// How unlike shadows `a` and `b` look: the ink moved between grid cells and the halo's edges
// moved, weighted by the boxes' size. Exact when below `bound`, else any value at or above it.
// With thousands of glyphs most comparisons are with owners farther than the nearest one found,
// and cheaper sums bound the ink's part from below (the ink moved between cells is at least the
// difference in all the ink, and at least that between rows or between columns), so most pairs
// are settled without reading their cells. A nearer pair's distance is exact, so the owners are
// the same as with the full distance.
long distanceBelow(const Signatures& s, std::size_t a, std::size_t b, long bound) {
    long sum = boxDistance(s.outline[a], s.outline[b]);
    if (sum + std::abs(s.outline[a].ink - s.outline[b].ink) >= bound) {
        return bound;
    }
    const auto& linesA = s.lines[a];
    const auto& linesB = s.lines[b];
    int rows = 0, columns = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kGrid); ++i) {
        rows += std::abs(linesA[i] - linesB[i]);
        columns += std::abs(linesA[kGrid + i] - linesB[kGrid + i]);
    }
    if (sum + std::max(rows, columns) >= bound) {
        return bound;
    }
    return sum + cellDistance(s.cells[a], s.cells[b]);
}

// Where the first of each set of identical shadows is found: ordered by size, place and ink,
// without copying any ink.
struct ShadowOrder {
    std::span<const GlyphImage> shadows;
    bool operator()(std::size_t a, std::size_t b) const {
        const GlyphImage& x = shadows[a];
        const GlyphImage& y = shadows[b];
        if (x.width != y.width)
            return x.width < y.width;
        if (x.height != y.height)
            return x.height < y.height;
        if (x.left != y.left)
            return x.left < y.left;
        if (x.top != y.top)
            return x.top < y.top;
        if (x.pixels.size() != y.pixels.size())
            return x.pixels.size() < y.pixels.size();
        return !x.pixels.empty() &&
               std::memcmp(x.pixels.data(), y.pixels.data(), x.pixels.size()) < 0;
    }
};

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
    std::map<std::size_t, std::size_t, ShadowOrder> firstOf(ShadowOrder{shadows});
    std::vector<std::size_t> distinct;
    std::vector<std::size_t> distinctIndex(shadows.size());
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        const auto [found, added] = firstOf.try_emplace(i, distinct.size());
        if (added) {
            distinct.push_back(i);
        }
        distinctIndex[i] = found->second;
        owner[i] = distinct[found->second];
    }
    if (distinct.size() <= most || most == 0) {
        return owner;
    }

    const Frame frame = frameOf(shadows);
    Signatures signature;
    signature.outline.reserve(distinct.size());
    signature.lines.reserve(distinct.size());
    signature.cells.reserve(distinct.size());
    for (const std::size_t glyph : distinct) {
        addSignature(signature, shadows[glyph], frame);
    }
    // The earliest keep their own; then, one at a time, the shadow farthest from every owner
    // so far becomes an owner, so the owners spread over all the shapes there are.
    std::vector<bool> isOwner(distinct.size(), false);
    std::vector<long> nearest(distinct.size(), std::numeric_limits<long>::max());
    std::vector<std::size_t> nearestOwner(distinct.size(), 0);
    std::size_t farthest = 0;  // of the shadows without an owner, after the last owner was made
    const auto makeOwner = [&](std::size_t d) {
        isOwner[d] = true;
        long gap = -1;
        for (std::size_t other = 0; other < distinct.size(); ++other) {
            const long distance = distanceBelow(signature, d, other, nearest[other]);
            if (distance < nearest[other]) {
                nearest[other] = distance;
                nearestOwner[other] = d;
            }
            if (!isOwner[other] && nearest[other] > gap) {
                gap = nearest[other];
                farthest = other;
            }
        }
    };
    std::size_t owners = 0;
    const auto take = [&](std::size_t d) {
        if (!isOwner[d] && owners < most) {
            makeOwner(d);
            ++owners;
        }
    };
    for (const std::size_t glyph : keepOwn) {
        if (glyph < shadows.size()) {
            take(distinctIndex[glyph]);
        }
    }
    for (std::size_t d = 0; owners < most / 2; ++d) {
        take(d);
    }
    while (owners < most) {
        take(farthest);
    }
    std::vector<std::size_t> ownerOfDistinct(distinct.size());
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        ownerOfDistinct[d] = distinct[isOwner[d] ? d : nearestOwner[d]];
    }
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        owner[i] = ownerOfDistinct[distinctIndex[i]];
    }
    return owner;
}

}  // namespace tessavine::pgf
