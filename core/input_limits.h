#pragma once

#include <cstddef>

namespace tessavine {

// The most bytes a file of each kind may have before the programs refuse it unread. Each bound
// lies far above any real file of its kind and far below what would exhaust memory, so a crafted
// or sparse file is named and refused instead of read whole.

// A TrueType/OpenType font or collection the converter loads into memory. The largest fonts in
// use, CJK collections with tens of thousands of glyphs, stay below 128 MB.
inline constexpr std::size_t kLargestFontFileBytes = 256u * 1024 * 1024;

// All the fonts of one conversion together: the main font and its --fallback fonts, which are
// held in memory at once. Two of the largest fonts in use fit; ten large ones given by mistake
// are refused before they take gigabytes.
inline constexpr std::size_t kLargestFontBytesTogether = 512u * 1024 * 1024;

// A PGF font. The firmware's largest, the Japanese jpn0.pgf, is about 1.6 MB; our converter
// writes at most 447 glyphs whose records the format caps at 16,383 bytes each (14-bit size),
// under 15 MB in all.
inline constexpr std::size_t kLargestPgfFileBytes = 16u * 1024 * 1024;

// A backup's note, backup-info.txt: a few lines naming a folder, a time and sixteen fonts.
inline constexpr std::size_t kLargestNoteBytes = 64u * 1024;

}  // namespace tessavine
