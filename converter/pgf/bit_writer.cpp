#include "bit_writer.h"

#include <stdexcept>

namespace tessavine::pgf {

void BitWriter::write(std::uint32_t value, int bitCount) {
    if (bitCount < 0 || bitCount > 32) {
        throw std::invalid_argument("a bit field holds 0 to 32 bits");
    }
    for (int bit = 0; bit < bitCount; ++bit) {
        if (bitCount_ % 8 == 0) {
            bytes_.push_back(0);
        }
        if ((value >> bit) & 1u) {
            bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (1u << (bitCount_ % 8)));
        }
        ++bitCount_;
    }
}

void BitWriter::padTo(std::size_t bits) {
    while (bitCount_ % bits != 0) {
        write(0, 1);
    }
}

}  // namespace tessavine::pgf
