#include "run_length_code.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// Bit j set when values[first + j] differs from the value before it, for up to 64 values: eight
// compared at a time, so that runs are found from the bits rather than value by value (a glyph's
// antialiased edges make a run end at about every other value, which branches mispredict).
std::uint64_t changes(std::span<const std::uint8_t> values, std::size_t first, std::size_t count) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    constexpr std::uint64_t kGather = 0x0102040810204080u;  // each byte's top bit to one bit
    std::uint64_t bits = 0;
    std::size_t j = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; j + 8 <= count; j += 8) {
            std::uint64_t now, before;
            std::memcpy(&now, values.data() + first + j, sizeof now);
            std::memcpy(&before, values.data() + first + j - 1, sizeof before);
            const std::uint64_t differ = now ^ before;
            const std::uint64_t high = (((differ & kLow7) + kLow7) | differ) & ~kLow7;
            bits |= ((high >> 7) * kGather >> 56) << j;
        }
    }
    for (; j < count; ++j) {
        bits |= std::uint64_t{values[first + j] != values[first + j - 1]} << j;
    }
    return bits;
}

// Calls run(start, length) for each run of equal values, in order.
template <typename Run>
void forEachRun(std::span<const std::uint8_t> values, Run run) {
    std::size_t start = 0;
    for (std::size_t first = 1; first < values.size(); first += 64) {
        const std::size_t count = std::min<std::size_t>(64, values.size() - first);
        for (std::uint64_t bits = changes(values, first, count); bits != 0; bits &= bits - 1) {
            const std::size_t at = first + static_cast<std::size_t>(std::countr_zero(bits));
            run(start, at - start);
            start = at;
        }
    }
    if (!values.empty()) {
        run(start, values.size() - start);
    }
}

// walkRuns's code, found run by run rather than value by value: the pending literal values are
// emitted in groups of 8 and one shorter group when a repeat begins or the values end, which
// gives the same groups as emitting each group the moment it fills.
template <typename Repeat, typename Literals>
void walkRunsFast(std::span<const std::uint8_t> values, Repeat repeat, Literals literals) {
    const auto emitLiterals = [&](std::size_t first, std::size_t end) {
        for (; end - first > kLongestGroup; first += kLongestGroup) {
            literals(first, kLongestGroup);
        }
        if (end > first) {
            literals(first, end - first);
        }
    };
    std::size_t literalStart = 0;
    forEachRun(values, [&](std::size_t at, std::size_t length) {
        if (length >= 2) {
            emitLiterals(literalStart, at);
            std::size_t left = length;
            for (; left >= 2; left -= std::min(left, kLongestGroup)) {
                repeat(values[at], std::min(left, kLongestGroup));
            }
            literalStart = at + length - left;  // a value left over starts the next literal group
        }
    });
    emitLiterals(literalStart, values.size());
}

// Nibbles gathered in a 64-bit word, the first in the low half of the first byte, and stored
// eight bytes at a time.
class NibblePacker {
  public:
    explicit NibblePacker(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    void put(std::uint64_t nibble) {
        word_ |= nibble << (4 * filled_);
        if (++filled_ == 16) {
            store(8);
        }
    }

    // The number of bytes stored.
    std::size_t finish() {
        store((filled_ + 1) / 2);
        return stored_;
    }

  private:
    void store(int count) {
        for (int i = 0; i < count; ++i) {
            bytes_[stored_++] = static_cast<std::uint8_t>(word_ >> (8 * i));
        }
        word_ = 0;
        filled_ = 0;
    }

    std::vector<std::uint8_t>& bytes_;
    std::size_t stored_ = 0;
    std::uint64_t word_ = 0;
    int filled_ = 0;
};

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
    std::vector<std::uint8_t> bytes(values.size() + 1);
    NibblePacker packer(bytes);
    walkRunsFast(
        values,
        [&](std::uint8_t value, std::size_t count) {
            packer.put(count - 1);
            packer.put(value);
        },
        [&](std::size_t first, std::size_t count) {
            packer.put(16 - count);
            for (std::size_t i = first; i < first + count; ++i) {
                packer.put(values[i]);
            }
        });
    bytes.resize(packer.finish());
    return bytes;
}

std::size_t runLengthCodeSize(std::span<const std::uint8_t> values) {
    // The walk's nibbles summed run by run: a run of L equal values gives L / 8 repeats and one
    // more when L % 8 is 2 or more, and one literal value when L % 8 is 1 (a run of one, or the
    // value left over after the repeats); the literal values between repeats gather in groups of
    // 8. Runs of one and longer ones alternate unpredictably, so the sums are kept without
    // branches.
    std::size_t repeats = 0, literals = 0, groups = 0;
    std::size_t pending = 0;  // literal values since the last repeat
    forEachRun(values, [&](std::size_t, std::size_t length) {
        const std::size_t rest = length % kLongestGroup;
        const std::size_t leftOver = rest == 1 ? 1 : 0;
        const std::size_t longer = 0 - std::size_t{length >= 2};  // all ones for a repeat
        repeats += length / kLongestGroup + (rest >= 2 ? 1 : 0);
        literals += leftOver;
        groups += longer & ((pending + kLongestGroup - 1) / kLongestGroup);
        pending = (longer & leftOver) | (~longer & (pending + 1));
    });
    groups += (pending + kLongestGroup - 1) / kLongestGroup;
    return 2 * repeats + literals + groups;
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
