#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace tessavine::pgf {

// The character sets a font can be made with, by the names the converter's --chars takes. Each
// name stands for a fixed list of code points, all within the 16-bit codes a PGF charmap holds:
//   psp          the 447 characters every Tessavine font has held: the firmware set plus
//                Latin Extended-A (pspLatinCharacters)
//   firmware     the 324 characters of the firmware's own ltn0.pgf
//   ascii        U+0020-007E
//   latin1       the printable characters of ISO 8859-1: ascii and U+00A0-00FF
//   latin-ext-a  U+0100-017F
//   latin-ext-b  U+0180-024F (Romanian ș ț, Pinyin ǎ ǐ, African letters)
//   greek        the 135 assigned code points of Greek and Coptic, U+0370-03FF; not the
//                polytonic Greek Extended block (name U+1F00-1FFF for it)
//   cyrillic     U+0400-04FF
//   vietnamese   the 134 precomposed letters Vietnamese writes beyond ascii: every vowel with
//                each tone mark, ă â ê ô ơ ư and đ, in both cases
//   arrows       U+2190-21FF
//   shapes       the Geometric Shapes U+25A0-25FF (○ △ □ …) and × U+00D7, the signs games
//                draw for the PSP's buttons
//   punctuation  the visible General Punctuation: U+2010-2027 and U+2030-205E (dashes,
//                quotes, daggers, bullets, ellipsis, per mille, primes, guillemets, ‼ ⁇)
//   buttons      ○ × △ □ ◯ ● ▲ ■ and the arrows ← ↑ → ↓, which games draw for the PSP's buttons
// and the East Asian sets, each with the buttons (cjk_set_tables.h has the codecs' repertoires):
//   jis0208      JIS X 0208 (6,879)
//   japanese     jis0208, ascii, half-width katakana U+FF61-FF9F and what Windows' code page 932
//                adds (NEC's row 13, the IBM kanji): 7,490, the default of the big font jpn0
//   gb2312       GB 2312, simplified Chinese;  big5  Big5, traditional Chinese
//   ksx1001      KS X 1001, Korean: 2,350 Hangul, the hanja and signs
//   hangul       all 11,172 Hangul syllables;  kana  hiragana and katakana
//   cjk-punctuation  U+3000-303F;  fullwidth  U+FF00-FFEF
struct NamedCharacterSet {
    std::string_view name;
    std::string_view description;  // for --help
};

std::span<const NamedCharacterSet> namedCharacterSets();

// The set's code points in ascending order; empty for a name that is no set.
std::vector<char32_t> namedCharacterSet(std::string_view name);

}  // namespace tessavine::pgf
