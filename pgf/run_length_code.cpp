#include "run_length_code.h"

#include <algorithm>

namespace tessavine::pgf {
namespace {

constexpr std::size_t kLongestGroup = 8;

// The greedy walk both the encoder and the size count share: `repeat(value, count)` for a run of
// 2 to 8 equal values, `literals(first, count)` for a group of 1 to 8 values starting at `first`.
// A stretch of equal values becomes repeats of 8 and one shorter repeat; a single value left over
// joins the pending literal group, which is emitted when it is full or a repeat begins.
template <typename Repeat, typename Literals>
void walkRuns(std::span<const std::uint8_t> values, Repeat repeat, Literals literals) {
    const std::size_t size = values.size();
    std::size_t literalStart = 0;  // the pending literal group is values[literalStart, at)
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t value = values[at];
        std::size_t end = at + 1;
        while (end < size && values[end] == value) {
            ++end;
        }
        while (end - at >= 2) {
            if (at > literalStart) {
                literals(literalStart, at - literalStart);
            }
            const std::size_t run = std::min(end - at, kLongestGroup);
            repeat(value, run);
            at += run;
            literalStart = at;
        }
        if (at < end) {
            ++at;
            if (at - literalStart == kLongestGroup) {
                literals(literalStart, kLongestGroup);
                literalStart = at;
            }
        }
    }
    if (at > literalStart) {
        literals(literalStart, at - literalStart);
    }
}

}  // namespace

std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> values) {
    std::vector<std::uint8_t> out;
    out.reserve(values.size() + values.size() / 8 + 2);
    walkRuns(
        values,
        [&](std::uint8_t value, std::size_t count) {
            out.push_back(static_cast<std::uint8_t>(count - 1));
            out.push_back(value);
        },
        [&](std::size_t first, std::size_t count) {
            out.push_back(static_cast<std::uint8_t>(16 - count));
            const auto begin = values.begin() + static_cast<std::ptrdiff_t>(first);
            out.insert(out.end(), begin, begin + static_cast<std::ptrdiff_t>(count));
        });
    return out;
}

std::vector<std::uint8_t> encodeRunLengthPacked(std::span<const std::uint8_t> values) {
    // No value ever takes more than two nibbles (a literal group of one); room for that.
    std::vector<std::uint8_t> bytes(values.size() + 1, 0);
    std::size_t nibbles = 0;
    const auto put = [&](std::uint32_t nibble) {
        bytes[nibbles / 2] =
            static_cast<std::uint8_t>(bytes[nibbles / 2] | nibble << (nibbles % 2 * 4));
        ++nibbles;
    };
    walkRuns(
        values,
        [&](std::uint8_t value, std::size_t count) {
            put(static_cast<std::uint32_t>(count - 1));
            put(value);
        },
        [&](std::size_t first, std::size_t count) {
            put(static_cast<std::uint32_t>(16 - count));
            for (std::size_t i = first; i < first + count; ++i) {
                put(values[i]);
            }
        });
    bytes.resize((nibbles + 1) / 2);
    return bytes;
}

std::size_t runLengthCodeSize(std::span<const std::uint8_t> values) {
    std::size_t nibbles = 0;
    walkRuns(
        values, [&](std::uint8_t, std::size_t) { nibbles += 2; },
        [&](std::size_t, std::size_t count) { nibbles += 1 + count; });
    return nibbles;
}

std::vector<std::uint8_t> packNibbles(std::span<const std::uint8_t> nibbles) {
    std::vector<std::uint8_t> bytes((nibbles.size() + 1) / 2, 0);
    for (std::size_t i = 0; i < nibbles.size(); ++i) {
        const auto nibble = static_cast<std::uint8_t>(nibbles[i] & 0x0Fu);
        bytes[i / 2] =
            static_cast<std::uint8_t>(bytes[i / 2] | (i % 2 == 0 ? nibble : nibble << 4));
    }
    return bytes;
}

std::vector<std::uint8_t> decodeRunLength(BitReader& reader, std::size_t count) {
    std::vector<std::uint8_t> values;
    values.reserve(count);
    while (values.size() < count) {
        const std::uint32_t code = reader.read(4);
        if (code < 8) {
            const auto value = static_cast<std::uint8_t>(reader.read(4));
            const std::size_t repeat = std::min<std::size_t>(code + 1, count - values.size());
            values.insert(values.end(), repeat, value);
        } else {
            for (std::uint32_t i = 0; i < 16 - code && values.size() < count; ++i) {
                values.push_back(static_cast<std::uint8_t>(reader.read(4)));
            }
        }
    }
    return values;
}

}  // namespace tessavine::pgf
