#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessavine::pgf {

// Which font drew which characters of a file made from several fonts (a main font and its
// fallbacks). The PGF format has no field for it, so it travels in a small block after the glyph
// data's trailing zeros: every reader finds glyphs through the pointer table and takes the glyph
// data as "the rest of the file", so bytes past the last record are never looked at; the PSP's
// full open loads them with the file, which the converter's budget line counts. Files of one
// font carry no block and stay as they were.
//
// Layout, little-endian: "TSVSRC1" and a zero byte; a u16 count of fonts; for each, a u8 name
// length, the name's UTF-8 bytes and a u16 count of runs of u16 first and last codes; zero bytes
// to a multiple of 4; then a u32 length of all that and "TSVS", the last 8 bytes of the file.
struct FontSource {
    std::string name;                                 // the font's file name, at most 255 bytes
    std::vector<std::pair<char16_t, char16_t>> runs;  // ascending, first and last code of each
};

// Bounds on what a block may name, so that a crafted block cannot make a reader do more work
// than a real one ever asks. The converter takes a main font and at most 63 fallbacks; a name is
// a file name, which no file system lets pass 255 bytes (the length byte cannot count further);
// and the runs of all fonts together cover distinct 16-bit codes, so there are at most 65,536.
inline constexpr std::size_t kMostFontSources = 64;
inline constexpr std::size_t kLongestFontSourceName = 255;
inline constexpr std::size_t kMostFontSourceRuns = 0x10000;

// The block for these sources, to append to a file; empty for fewer than two sources.
std::vector<std::uint8_t> encodeFontSources(const std::vector<FontSource>& sources);

// The sources a file's block names; nothing for a file without one, or whose block is damaged
// or beyond the bounds above.
std::optional<std::vector<FontSource>> readFontSources(std::span<const std::uint8_t> file);

// The same, and for a block that is there (it begins and ends as one) but is damaged or beyond
// the bounds, a short reason to show in place of its list. Such a block is refused whole rather
// than cut short: a list cut at some font would tell the reader wrongly where the rest came from.
struct FontSourcesRead {
    std::optional<std::vector<FontSource>> sources;
    std::string problem;
};
FontSourcesRead readFontSourcesBlock(std::span<const std::uint8_t> file);

// Runs of consecutive codes, for FontSource::runs.
std::vector<std::pair<char16_t, char16_t>> runsOf(const std::vector<char32_t>& ascending);

}  // namespace tessavine::pgf
