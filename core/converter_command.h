#pragma once

#include <string>
#include <vector>

#include "core/main_controls.h"
#include "core/process_starter.h"

namespace tessavine {

inline constexpr const char* kConverterFileName = "ttf2pgf.exe";
inline constexpr const char* kConverterOutputName = "ltn0.pgf";

// What the converter is told: field texts as they stand after the range corrections, and the
// states of the two style boxes.
struct ConverterTexts {
    std::string fontname1;
    std::string height1;
    std::string horizontal1;
    std::string blur1;
    std::string intensity1;
    int boldState = kUnticked;
    int italicizeState = kUnticked;
};

// "bi", "b", "i" or nothing; a box counts only when its state is exactly ticked.
std::string styleLetters(int boldState, int italicizeState);

// The command line, character for character, e.g.
//   ttf2pgf.exe "Example.ttf" ltn0.pgf 24bh0.8 b2.5i1.2
// Nothing is trimmed or escaped; the font name goes between its pair of double quotes as typed.
std::string converterCommandLine(const ConverterTexts& texts);

// The same words as a list for a start without a shell: the font name is one word, without the
// quotes.
std::vector<std::string> converterArguments(const ConverterTexts& texts);

// The converter of the program folder, started in the program folder so that its relative font
// and output names are the program folder's files.
ProcessCommand converterCommand(const ConverterTexts& texts, const std::string& programFolder);

}  // namespace tessavine
