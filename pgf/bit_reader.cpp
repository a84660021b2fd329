#include "bit_reader.h"

#include "pgf_read_error.h"

#include <stdexcept>

namespace tessavine::pgf {

std::uint32_t BitReader::read(int bitCount) {
    if (bitCount < 0 || bitCount > 32) {
        throw std::invalid_argument("a bit field holds 0 to 32 bits");
    }
    const auto count = static_cast<std::size_t>(bitCount);
    if (position_ + count > bytes_.size() * 8) {
        throw PgfReadError("the file ends in the middle of a table or glyph");
    }
    std::uint32_t value = 0;
    for (std::size_t bit = 0; bit < count; ++bit) {
        const std::size_t at = position_ + bit;
        const std::uint32_t set = (static_cast<std::uint32_t>(bytes_[at / 8]) >> (at % 8)) & 1u;
        value |= static_cast<std::uint32_t>(set) << bit;
    }
    position_ += count;
    return value;
}

std::int32_t BitReader::readSigned(int bitCount) {
    const std::uint32_t raw = read(bitCount);
    if (bitCount > 0 && bitCount < 32 && (raw >> (bitCount - 1)) & 1u) {
        return static_cast<std::int32_t>(raw) - (std::int32_t{1} << bitCount);
    }
    return static_cast<std::int32_t>(raw);
}

}  // namespace tessavine::pgf
