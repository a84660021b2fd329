#include "shadow_sharing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessavine::pgf {
namespace {

constexpr int kGrid = 12;       // cells per side of the coarse picture two shadows are compared by
constexpr int kBoxWeight = 16;  // ink the halo's edge carries per pixel it moves or grows
constexpr std::size_t kCells = static_cast<std::size_t>(kGrid * kGrid);

using Cells = std::array<std::uint16_t, kCells>;
// A cell covers at most 22 × 22 pixels of 15 (7,260) in a frame the format's offsets and sides
// allow; the cell sums stay below 2^15 so that the differences can be summed as signed values.
constexpr int kMostInCell = std::numeric_limits<std::int16_t>::max();

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
Frame frameOf(Shadows shadows) {
    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    int top = std::numeric_limits<int>::min(), bottom = std::numeric_limits<int>::max();
    for (const GlyphImage* shadow : shadows) {
        const GlyphImage& s = *shadow;
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
        if (sums[i] > kMostInCell) {
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

// The ink moved between the cells of two shadows. This sum is most of the sharing's time, and
// compilers leave its plain form to slow widening code, so on x86 each difference is taken as two
// subtractions that stop at 0 (one of them is 0) and summed by pairs, eight cells at a time.
long cellDistance(const Cells& a, const Cells& b) {
#if defined(__SSE2__)
    static_assert(kCells % 8 == 0);
    __m128i sum = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(1);
    for (std::size_t i = 0; i < kCells; i += 8) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a.data() + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.data() + i));
        const __m128i difference = _mm_or_si128(_mm_subs_epu16(x, y), _mm_subs_epu16(y, x));
        sum = _mm_add_epi32(sum, _mm_madd_epi16(difference, ones));  // below 2^15: see kMostInCell
    }
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));
    return _mm_cvtsi128_si32(sum);
#else
    long sum = 0;
    for (std::size_t i = 0; i < kCells; ++i) {
        sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
    }
    return sum;
#endif
}

// How unlike shadows `a` and `b` look, their boxes' part being `box`: exact when below `bound`,
// else any value at or above it. With thousands of glyphs most
// comparisons are with owners farther than the nearest one found, and cheaper sums bound the
// ink's part from below (the ink moved between cells is at least the difference in all the ink,
// and at least that between rows or between columns), so most pairs are settled without reading
// their cells. A nearer pair's distance is exact, so the owners are the same as with the full
// distance.
long distanceBelow(const Signatures& s, std::size_t a, std::size_t b, long box, long bound) {
    if (box + std::abs(s.outline[a].ink - s.outline[b].ink) >= bound) {
        return bound;
    }
    const auto& linesA = s.lines[a];
    const auto& linesB = s.lines[b];
    int rows = 0, columns = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kGrid); ++i) {
        rows += std::abs(linesA[i] - linesB[i]);
        columns += std::abs(linesA[kGrid + i] - linesB[kGrid + i]);
    }
    if (box + std::max(rows, columns) >= bound) {
        return bound;
    }
    return box + cellDistance(s.cells[a], s.cells[b]);
}

// Shadows of the same box, which every owner's box is as far from: most CJK ideographs share a
// few boxes, so a whole group is passed over when the new owner's box alone is farther than the
// group's farthest member is from its owner.
struct BoxGroup {
    Outline box;
    std::size_t begin = 0, end = 0;                    // the members' places in the grouped order
    long farthest = std::numeric_limits<long>::max();  // of the members that are not owners
    std::size_t farthestMember = 0;                    // the earliest that far, by first use
};

// Picks the owners: the earliest keep their own; then, one at a time, the shadow farthest from
// every owner so far becomes an owner, so the owners spread over all the shapes there are. Each
// distinct shadow takes the nearest owner, the earliest made of two as near.
class OwnerPicker {
  public:
    OwnerPicker(Shadows shadows, const std::vector<std::size_t>& distinct) {
        // The distinct shadows in groups of one box, each group in the order of first use.
        std::map<std::array<int, 4>, std::vector<std::size_t>> byBox;
        for (std::size_t d = 0; d < distinct.size(); ++d) {
            const GlyphImage& s = *shadows[distinct[d]];
            byBox[{s.left, s.top, s.width, s.height}].push_back(d);
        }
        const Frame frame = frameOf(shadows);
        signature_.outline.reserve(distinct.size());
        signature_.lines.reserve(distinct.size());
        signature_.cells.reserve(distinct.size());
        for (const auto& [box, members] : byBox) {
            BoxGroup group;
            group.begin = distinctOf_.size();
            for (const std::size_t d : members) {
                distinctOf_.push_back(d);
                addSignature(signature_, *shadows[distinct[d]], frame);
            }
            group.end = distinctOf_.size();
            group.box = signature_.outline[group.begin];
            group.farthestMember = group.begin;
            groups_.push_back(group);
        }
        placeOf_.resize(distinct.size());
        for (std::size_t place = 0; place < distinctOf_.size(); ++place) {
            placeOf_[distinctOf_[place]] = place;
        }
        isOwner_.assign(distinct.size(), false);
        nearest_.assign(distinct.size(), std::numeric_limits<long>::max());
        nearestOwner_.assign(distinct.size(), 0);
    }

    // Makes distinct shadow `d` an owner unless it is one or `most` are made.
    void take(std::size_t d, std::size_t most) {
        const std::size_t place = placeOf_[d];
        if (isOwner_[place] || owners_ >= most) {
            return;
        }
        isOwner_[place] = true;
        ++owners_;
        for (BoxGroup& group : groups_) {
            const long box = boxDistance(signature_.outline[place], group.box);
            // No member comes nearer, and the group's farthest stays; but the owner's own group
            // (the only one of box distance 0) is always gone through, since the owner itself
            // may have been its farthest, at distance 0 from an owner of the same cells.
            if (box >= group.farthest && box != 0) {
                continue;
            }
            group.farthest = -1;
            for (std::size_t other = group.begin; other < group.end; ++other) {
                long& nearest = nearest_[other];
                if (box < nearest) {
                    const long distance = distanceBelow(signature_, place, other, box, nearest);
                    if (distance < nearest) {
                        nearest = distance;
                        nearestOwner_[other] = place;
                    }
                }
                if (!isOwner_[other] &&
                    (nearest > group.farthest ||
                     (nearest == group.farthest &&
                      distinctOf_[other] < distinctOf_[group.farthestMember]))) {
                    group.farthest = nearest;
                    group.farthestMember = other;
                }
            }
        }
    }

    std::size_t owners() const { return owners_; }

    // The shadow farthest from every owner, the earliest of those as far.
    std::size_t farthest() const {
        const BoxGroup* best = &groups_.front();
        for (const BoxGroup& group : groups_) {
            if (group.farthest > best->farthest ||
                (group.farthest == best->farthest &&
                 distinctOf_[group.farthestMember] < distinctOf_[best->farthestMember])) {
                best = &group;
            }
        }
        return distinctOf_[best->farthestMember];
    }

    // The distinct shadow whose record distinct shadow `d` uses.
    std::size_t ownerOf(std::size_t d) const {
        const std::size_t place = placeOf_[d];
        return distinctOf_[isOwner_[place] ? place : nearestOwner_[place]];
    }

  private:
    Signatures signature_;
    std::vector<BoxGroup> groups_;
    std::vector<std::size_t> distinctOf_;  // by place in the grouped order
    std::vector<std::size_t> placeOf_;     // by distinct shadow
    std::vector<bool> isOwner_;            // this and the rest by place
    std::vector<long> nearest_;
    std::vector<std::size_t> nearestOwner_;
    std::size_t owners_ = 0;
};

// Where the first of each set of identical shadows is found: ordered by size, place and ink,
// without copying any ink.
struct ShadowOrder {
    Shadows shadows;
    bool operator()(std::size_t a, std::size_t b) const {
        const GlyphImage& x = *shadows[a];
        const GlyphImage& y = *shadows[b];
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
    std::vector<const GlyphImage*> pointers;
    pointers.reserve(shadows.size());
    for (const GlyphImage& shadow : shadows) {
        pointers.push_back(&shadow);
    }
    return shareShadows(pointers, most, shareIdentical, keepOwn);
}

std::vector<std::size_t> shareShadows(Shadows shadows, std::size_t most, bool shareIdentical,
                                      std::span<const std::size_t> keepOwn) {
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

    OwnerPicker picker(shadows, distinct);
    for (const std::size_t glyph : keepOwn) {
        if (glyph < shadows.size()) {
            picker.take(distinctIndex[glyph], most);
        }
    }
    for (std::size_t d = 0; picker.owners() < most / 2; ++d) {
        picker.take(d, most);
    }
    while (picker.owners() < most) {
        picker.take(picker.farthest(), most);
    }
    std::vector<std::size_t> ownerOfDistinct(distinct.size());
    for (std::size_t d = 0; d < distinct.size(); ++d) {
        ownerOfDistinct[d] = distinct[picker.ownerOf(d)];
    }
    for (std::size_t i = 0; i < shadows.size(); ++i) {
        owner[i] = ownerOfDistinct[distinctIndex[i]];
    }
    return owner;
}

}  // namespace tessavine::pgf
