#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "bit_reader.h"

namespace tessavine::pgf {

// The bitmap code of PGF glyphs: a stream of 4-bit codes. Code 0-7 repeats the next nibble
// code+1 times; code 8-15 is followed by 16-code literal nibbles.

// Codes the values (each 0-15) as nibbles, one per element. Greedy: a run of 2 to 8 equal values
// becomes a repeat, everything else gathers into literal groups of up to 8.
std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> values);

// encodeRunLength and packNibbles in one pass.
std::vector<std::uint8_t> encodeRunLengthPacked(std::span<const std::uint8_t> values);

// The number of nibbles encodeRunLength would give, without building them.
std::size_t runLengthCodeSize(std::span<const std::uint8_t> values);

// Packs nibbles into bytes, the first nibble in the low half of each byte.
std::vector<std::uint8_t> packNibbles(std::span<const std::uint8_t> nibbles);

// Decodes exactly `count` values; a repeat or literal group that would overshoot is cut short.
std::vector<std::uint8_t> decodeRunLength(BitReader& reader, std::size_t count);

}  // namespace tessavine::pgf
