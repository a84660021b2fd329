#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessavine::pgf {

// Appends fields of 1 to 32 bits to a byte buffer, least significant bit first: a field's lowest
// bit lands at the lowest free bit position, and positions run from bit 0 of byte 0 upward.
class BitWriter {
  public:
    void write(std::uint32_t value, int bitCount);
    // Pads with zero bits up to the next multiple of `bits` (8 or 32), counted from the start.
    void padTo(std::size_t bits);

    std::size_t bitCount() const { return bitCount_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> takeBytes() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t bitCount_ = 0;
};

}  // namespace tessavine::pgf
