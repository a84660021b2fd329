#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessavine::pgf {

// Reads fields of 1 to 32 bits, least significant bit first, from a byte range. Reading past the
// end throws PgfReadError, so a damaged file can never make a reader run off its buffer.
class BitReader {
  public:
    explicit BitReader(std::span<const std::uint8_t> bytes, std::size_t startBit = 0)
        : bytes_(bytes), position_(startBit) {}

    std::uint32_t read(int bitCount);
    std::int32_t readSigned(int bitCount);

    std::size_t position() const { return position_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_;
};

}  // namespace tessavine::pgf
