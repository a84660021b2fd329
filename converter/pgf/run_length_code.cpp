#include "run_length_code.h"

#include <algorithm>

namespace tessavine::pgf {
namespace {

constexpr std::size_t kLongestGroup = 8;

void flushLiterals(std::vector<std::uint8_t>& out, std::vector<std::uint8_t>& pending) {
    if (pending.empty()) {
        return;
    }
    out.push_back(static_cast<std::uint8_t>(16 - pending.size()));
    out.insert(out.end(), pending.begin(), pending.end());
    pending.clear();
}

}  // namespace

std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> values) {
    std::vector<std::uint8_t> out;
    out.reserve(values.size() / 2 + 8);
    std::vector<std::uint8_t> pending;
    std::size_t at = 0;
    while (at < values.size()) {
        std::size_t run = 1;
        while (run < kLongestGroup && at + run < values.size() && values[at + run] == values[at]) {
            ++run;
        }
        if (run >= 2) {
            flushLiterals(out, pending);
            out.push_back(static_cast<std::uint8_t>(run - 1));
            out.push_back(values[at]);
            at += run;
        } else {
            pending.push_back(values[at]);
            if (pending.size() == kLongestGroup) {
                flushLiterals(out, pending);
            }
            ++at;
        }
    }
    flushLiterals(out, pending);
    return out;
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
