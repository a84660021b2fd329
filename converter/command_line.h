#pragma once

#include <span>
#include <string>

#include "conversion_parameters.h"

namespace tessavine::converter {

struct CommandLine {
    enum class Action { Convert, ShowHelp, ShowVersion, ListFaces };
    Action action = Action::Convert;
    std::string fontPath;    // with ListFaces: the font whose faces to list
    std::string outputPath;  // with wholeSet: the folder for ltn0.pgf to ltn15.pgf
    ConversionParameters parameters;
    bool wholeSet = false;
    // With wholeSet, further faces of the font's family; empty: made from the others.
    std::string boldFontPath;
    std::string italicFontPath;
    std::string boldItalicFontPath;
};

// Reads the words after the program name:
//   FONT OUTPUT <scale>[b][i]h<width> b<blur>i<intensity>
// or a single --help or --version, or --faces FONT. Options the window never passes may stand
// anywhere among the words: --slot N, --set (OUTPUT is then a folder),
// --bold/--italic/--bold-italic FONT,
// --font-line-metrics, --ascender PX, --descender PX. Numbers are read the way the window reads its
// decimal fields, so trailing text after a number is ignored and an empty number is 0. Throws
// ConversionError for words that cannot be read or numbers out of range.
CommandLine readCommandLine(std::span<const std::string> words);

// The text --help prints.
std::string usageText();

}  // namespace tessavine::converter
