#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessavine::pgf {

// Every multi-byte number in a PGF file is little-endian, whatever the machine.

inline void putU16(std::span<std::uint8_t> out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFFu);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

inline void putS32(std::span<std::uint8_t> out, std::size_t at, std::int32_t value) {
    putU32(out, at, static_cast<std::uint32_t>(value));
}

inline std::uint16_t getU16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

inline std::uint32_t getU32(std::span<const std::uint8_t> in, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    }
    return value;
}

inline std::int32_t getS32(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::int32_t>(getU32(in, at));
}

}  // namespace tessavine::pgf
