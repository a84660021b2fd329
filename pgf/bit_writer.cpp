#include "bit_writer.h"

#include <stdexcept>

namespace tessavine::pgf {

void BitWriter::write(std::uint32_t value, int bitCount) {
    if (bitCount < 0 || bitCount > 32) {
        throw std::invalid_argument("a bit field holds 0 to 32 bits");
    }
    if (bitCount == 0) {
        return;
    }
    const auto count = static_cast<std::size_t>(bitCount);
    const std::uint64_t field = value & ((std::uint64_t{1} << count) - 1);
    const std::size_t shift = bitCount_ % 8;
    std::uint64_t shifted = field << shift;
    bytes_.resize((bitCount_ + count + 7) / 8, 0);
    for (std::size_t at = bitCount_ / 8; shifted != 0; ++at) {
        bytes_[at] = static_cast<std::uint8_t>(bytes_[at] | (shifted & 0xFFu));
        shifted >>= 8;
    }
    bitCount_ += count;
}

void BitWriter::padTo(std::size_t bits) {
    while (bitCount_ % bits != 0) {
        write(0, 1);
    }
}

}  // namespace tessavine::pgf
