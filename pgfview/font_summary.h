#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfview {

// The firmware slot a file name stands for: "ltn7.pgf" is slot 7, "jpn0.pgf" the big font
// (pgf::kBigFontSlot); any other name, nothing.
std::optional<int> slotOfFileName(const QString& fileName);

// What the side panel tells about an open file.
struct FontSummary {
    QString name;
    QString style;
    double emPixels = 0;  // the nominal size at the header's resolution
    std::size_t glyphCount = 0;
    std::vector<char32_t> missing;  // of the set its slot needs
    QString wantedSet;              // that set as the panel names it: "the PSP's set"
    std::size_t fileBytes = 0;
    std::size_t openBytes = 0;  // what the PSP allocates to open it the usual way
    int slot = 0;               // the firmware slot it is measured against
    bool slotFromName = false;  // false: the file name names no slot, slot 0 is assumed
    QString slotFile;           // the firmware file it is measured against: "ltn0.pgf", "jpn0.pgf"
    std::size_t slotFileBytes = 0;
    std::size_t slotOpenBytes = 0;
    // For a file the converter drew from several fonts: each font's file name and how many
    // characters it drew, with their runs of codes ("U+0370-0377, ...").
    struct Source {
        QString font;
        std::size_t characters = 0;
        QString runs;
    };
    std::vector<Source> sources;
    QString sourcesProblem;  // why the list of fonts drawn from is not shown; empty: it is
};

FontSummary summarize(const pgf::PgfFile& font, const QString& fileName, std::size_t fileBytes);

// The summary as rich text for the side panel; sizes over the firmware's are marked.
QString summaryHtml(const FontSummary& summary);

// The characters as "U+0141 Ł" items, one a line.
QString describeCharacters(const std::vector<char32_t>& characters);

}  // namespace tessavine::pgfview
