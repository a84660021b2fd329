#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pgf/pgf_reader.h"
#include "pgf/slot_characters.h"
#include "psp_screen/grouped_digits.h"

namespace tessavine::pgfview_shared {

// The firmware slot a file name stands for: "ltn7.pgf" (any case) is slot 7; any other name,
// nothing.
std::optional<int> slotOfFileName(std::string_view fileName);

// What the side panel tells about an open file: names as the file holds them (UTF-8, not yet
// made safe to show), sizes held against the firmware font of the slot.
struct FontSummary {
    std::string name;
    std::string style;
    double emPixels = 0;  // the nominal size at the header's resolution
    std::size_t glyphCount = 0;
    std::vector<char32_t> missing;  // of the set its slot needs (pgf::slotCharacters)
    std::string wantedSet;          // that set in the side panel's words: "the PSP's set"
    std::size_t fileBytes = 0;
    std::size_t openBytes = 0;  // what the PSP allocates to open it the usual way
    int slot = 0;               // the firmware slot it is measured against
    bool slotFromName = false;  // false: the file name names no slot, slot 0 is assumed
    std::string slotFile;       // the firmware font it is measured against: "ltn0.pgf", "jpn0.pgf"
    std::size_t slotFileBytes = 0;
    std::size_t slotOpenBytes = 0;
    // For a file the converter drew from several fonts: each font's file name and how many
    // characters it drew, with the first of their runs of codes ("U+0370-0377, ...").
    struct Source {
        std::string font;
        std::size_t characters = 0;
        std::string runs;
    };
    std::vector<Source> sources;
    std::string sourcesProblem;  // why the list of fonts drawn from is not shown; empty: it is

    bool fileTooBig() const { return fileBytes > slotFileBytes; }
    bool openTooBig() const { return openBytes > slotOpenBytes; }
};

// The characters a file of this name is held against: those of the slot it stands for, or of
// slot 0 when it stands for none, as its sizes are. The side panel's "missing" list and both
// viewers' character tables take them from here.
pgf::SlotCharacters wantedCharacters(std::string_view fileName);

// The set a slot's font is held against, as the side panel names it: "the PSP's set" for a
// latin slot, "jpn0's set" for the big font.
std::string setWords(int slot);

FontSummary summarize(const pgf::PgfFile& font, std::string_view fileName, std::size_t fileBytes);

// 1234567 as "1,234,567".
using psp_screen::groupedDigits;

// "47,460 bytes" and "of the firmware's 69,108 (69%)": a size against the firmware's, the share
// rounded to whole percent.
std::string bytesText(std::size_t count);
std::string ofFirmwareText(std::size_t used, std::size_t budget);

// "U+0141  Ł": a character's code and the character, UTF-8.
std::string codeAndCharacter(char32_t code);

// What a cell of the character table tells when the mouse rests on it: its code and character,
// and for one of the PSP's characters the font lacks, what the PSP draws in its place.
std::string tableCellTip(char32_t code, bool missing);

}  // namespace tessavine::pgfview_shared
