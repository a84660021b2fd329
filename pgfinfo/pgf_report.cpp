#include "pgf_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "core/shown_text.h"
#include "east_asian_coverage.h"
#include "pgf/firmware_slots.h"
#include "pgf/format_limits.h"
#include "pgf/slot_characters.h"

namespace tessavine::pgfinfo {
namespace {

constexpr int kLargestQuarterPixelAdvance = 31;  // some renderers keep advances in a signed byte

std::string points(std::int32_t value26Dot6) {
    char text[32];
    std::snprintf(text, sizeof text, "%d (%.2f)", value26Dot6, value26Dot6 / 64.0);
    return text;
}

std::string codeText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string share(long long used, long long most) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld of %lld (%.0f%%)", used, most,
                  most > 0 ? 100.0 * static_cast<double>(used) / static_cast<double>(most) : 0.0);
    return text;
}

void printHeader(std::ostream& out, const pgf::PgfHeader& h) {
    out << "font name        " << shownText(h.fontName) << "\n"
        << "style            " << shownText(h.fontType) << "\n"
        << "revision/version " << h.revision << " / " << h.version << ", header " << h.headerSize
        << " bytes, " << int{h.bitsPerPixel} << " bits per pixel\n"
        << "size             " << points(h.hSize) << " x " << points(h.vSize) << " pt at "
        << h.hResolution / 64 << " x " << h.vResolution / 64 << " dpi\n"
        << "characters       " << codeText(h.firstGlyph) << " to " << codeText(h.lastGlyph)
        << ", charmap " << h.charMapLength << " x " << h.charMapBpe << " bits\n"
        << "glyphs           " << h.charPointerLength << ", pointers of " << h.charPointerBpe
        << " bits; shadows " << h.shadowMapLength << " x " << h.shadowMapBpe << " bits, scale "
        << h.shadowScaleX << "/" << h.shadowScaleY << "\n"
        << "ascender         " << points(h.maxAscender) << ", descender " << points(h.maxDescender)
        << "\n"
        << "max left x adj.  " << points(h.maxLeftXAdjust) << ", max base y adj. "
        << points(h.maxBaseYAdjust) << "\n"
        << "min centre x adj " << points(h.minCenterXAdjust) << ", max top y adj. "
        << points(h.maxTopYAdjust) << "\n"
        << "max advance      " << points(h.maxAdvanceH) << " x " << points(h.maxAdvanceV) << "\n"
        << "max size         " << points(h.maxSizeW) << " x " << points(h.maxSizeH) << "\n"
        << "max glyph bitmap " << h.maxGlyphWidth << " x " << h.maxGlyphHeight << " px\n"
        << "metric tables    dimension " << int{h.dimTableLength} << ", x-adjust "
        << int{h.xAdjustTableLength} << ", y-adjust " << int{h.yAdjustTableLength} << ", advance "
        << int{h.advanceTableLength} << "\n";
}

// `slot`: the firmware slot the file stands in for, whose set it is held against.
void printCoverage(std::ostream& out, const pgf::PgfFile& font, int slot) {
    struct Block {
        const char* name;
        char32_t first;
        char32_t last;
    };
    static constexpr std::array<Block, 11> blocks{{{"Basic Latin", 0x0020, 0x007E},
                                                   {"Latin-1", 0x00A0, 0x00FF},
                                                   {"Latin Extended-A", 0x0100, 0x017F},
                                                   {"Latin Extended-B", 0x0180, 0x024F},
                                                   {"Greek", 0x0370, 0x03FF},
                                                   {"Cyrillic", 0x0400, 0x04FF},
                                                   {"Latin Ext. Add.", 0x1E00, 0x1EFF},
                                                   {"Punctuation", 0x2000, 0x206F},
                                                   {"Arrows", 0x2190, 0x21FF},
                                                   {"Geometric Shapes", 0x25A0, 0x25FF},
                                                   {"beyond these", 0, 0}}};
    out << "\ncoverage\n";
    std::size_t inBlocks = 0;
    for (const Block& block : blocks) {
        if (block.last == 0) {
            // Whatever the named blocks leave: other scripts, signs and private use.
            const auto beyond = font.glyphs.size() - std::min(inBlocks, font.glyphs.size());
            out << "  beyond these       " << beyond << " glyphs\n";
            continue;
        }
        int present = 0;
        for (char32_t code = block.first; code <= block.last; ++code) {
            present += font.glyphIndexOf(code) ? 1 : 0;
        }
        inBlocks += static_cast<std::size_t>(present);
        char line[96];
        std::snprintf(line, sizeof line, "  %-18s %3d of %3u\n", block.name, present,
                      static_cast<unsigned>(block.last - block.first + 1));
        out << line;
    }
    const auto wanted = pgf::slotCharacters(slot).codes;
    const auto missing = std::count_if(wanted.begin(), wanted.end(),
                                       [&](char32_t code) { return !font.glyphIndexOf(code); });
    out << (slot == pgf::kBigFontSlot ? "  jpn0's set         " : "  PSP latin set      ")
        << share(static_cast<long long>(wanted.size()) - missing,
                 static_cast<long long>(wanted.size()))
        << (font.glyphIndexOf(U'_') ? "" : "; NO underscore, which the PSP needs") << "\n";
    printEastAsianCoverage(out, font);
}

// Which font drew which characters, when the converter drew them from several.
void printSources(std::ostream& out, const pgf::PgfFile& font) {
    if (!font.sourcesProblem.empty()) {
        out << "\ndrawn from\n  " << font.sourcesProblem << "\n";
    }
    if (!font.sources) {
        return;
    }
    constexpr std::size_t kRunsShown = 12;
    out << "\ndrawn from\n";
    for (const pgf::FontSource& source : *font.sources) {
        std::size_t count = 0;
        std::string runs;
        for (std::size_t r = 0; r < source.runs.size(); ++r) {
            const auto [first, last] = source.runs[r];
            count += static_cast<std::size_t>(last - first) + 1;
            if (r < kRunsShown) {
                runs += (r ? "," : "") + codeText(first) +
                        (last > first ? "-" + codeText(last).substr(2) : "");
            } else if (r == kRunsShown) {
                runs += ",...";
            }
        }
        out << "  " << shownText(source.name) << ": " << count
            << (count == 1 ? " character " : " characters ") << runs << "\n";
    }
}

struct Extremes {
    int widest = 0, tallest = 0;
    int leftMost = std::numeric_limits<int>::max(), rightMost = std::numeric_limits<int>::min();
    int topMost = std::numeric_limits<int>::min(), bottomMost = std::numeric_limits<int>::max();
    std::size_t longestRecord = 0;
    std::int32_t widestAdvance = 0;
    int inlineMetrics = 0;
};

Extremes findExtremes(const pgf::PgfFile& font) {
    Extremes e;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        for (const pgf::GlyphImage* image : {&font.glyphs[i].image, &font.glyphs[i].shadow}) {
            if (image->width == 0) {
                continue;
            }
            e.widest = std::max(e.widest, image->width);
            e.tallest = std::max(e.tallest, image->height);
            e.leftMost = std::min(e.leftMost, image->left);
            e.rightMost = std::max(e.rightMost, image->left);
            e.topMost = std::max(e.topMost, image->top);
            e.bottomMost = std::min(e.bottomMost, image->top);
        }
        const auto& record = font.records[i];
        e.longestRecord = std::max({e.longestRecord, record.recordBytes, record.shadowRecordBytes});
        e.widestAdvance = std::max(e.widestAdvance, font.glyphs[i].metrics.advance.horizontal);
        e.inlineMetrics +=
            ((record.flags & pgf::kAllMetricsIndexed) != pgf::kAllMetricsIndexed) ? 1 : 0;
    }
    return e;
}

void printLimits(std::ostream& out, const pgf::PgfFile& font) {
    const Extremes e = findExtremes(font);
    const pgf::PgfHeader& h = font.header;
    out << "\nlimits (used of allowed)\n"
        << "  shadow records        " << share(h.shadowMapLength, pgf::kMostShadows) << "\n"
        << "  bitmap width          " << share(e.widest, pgf::kLargestBitmapSide) << "\n"
        << "  bitmap height         " << share(e.tallest, pgf::kLargestBitmapSide) << "\n"
        << "  left offsets          " << e.leftMost << " to " << e.rightMost
        << " (allowed -64 to 63)\n"
        << "  top offsets           " << e.bottomMost << " to " << e.topMost
        << " (allowed -64 to 63)\n"
        << "  longest record        "
        << share(static_cast<long long>(e.longestRecord), pgf::kLargestRecordBytes) << " bytes\n"
        << "  dimension table       " << share(h.dimTableLength, pgf::kMostTableEntries) << "\n"
        << "  x-adjust table        " << share(h.xAdjustTableLength, pgf::kMostTableEntries) << "\n"
        << "  y-adjust table        " << share(h.yAdjustTableLength, pgf::kMostTableEntries) << "\n"
        << "  advance table         " << share(h.advanceTableLength, pgf::kMostTableEntries) << "\n"
        << "  glyphs with inline metrics " << e.inlineMetrics << "\n"
        << "  widest advance        " << share(e.widestAdvance / 64, kLargestQuarterPixelAdvance)
        << " px (some renderers)\n"
        << "  charmap entries       " << share(h.charMapLength, 65535) << "\n";
}

// The pair of firmware slots (sans, serif) this file can stand in for: the size class nearest
// its nominal size, and its style.
struct SlotMatch {
    const pgf::FirmwareSlot& sans;
    const pgf::FirmwareSlot& serif;
    bool sizeMatches;
};

SlotMatch matchSlots(const pgf::PgfHeader& h) {
    const std::int32_t large = pgf::firmwareSlot(0).nominalSize;
    const std::int32_t small = pgf::firmwareSlot(8).nominalSize;
    const bool isSmall = std::abs(h.hSize - small) < std::abs(h.hSize - large);
    const bool bold = h.fontType.find("Bold") != std::string::npos;
    const bool italic = h.fontType.find("Italic") != std::string::npos ||
                        h.fontType.find("Oblique") != std::string::npos;
    const int sans = (isSmall ? 8 : 0) + (italic ? 2 : 0) + (bold ? 4 : 0);
    return {pgf::firmwareSlot(sans), pgf::firmwareSlot(sans + 1),
            h.hSize == (isSmall ? small : large)};
}

// A line metric as 26.6, pixels and em, for setting side by side.
std::string lineMetric(std::int32_t value, double emPixels) {
    char text[48];
    std::snprintf(text, sizeof text, "%d (%.2f px, %.3f em)", value, value / 64.0,
                  value / 64.0 / emPixels);
    return text;
}

// jpn0.pgf has no sans and serif pair: a file of that name stands in for it alone.
void printBigFontComparison(std::ostream& out, const pgf::PgfFile& font, std::size_t fileSize) {
    const pgf::PgfHeader& h = font.header;
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(pgf::kBigFontSlot);
    const double emPixels = h.hSize / 36.0;
    const double firmwareEm = firmware.nominalSize / 36.0;
    char heading[96];
    std::snprintf(heading, sizeof heading,
                  "\ncompared with the firmware's jpn0.pgf (the big font: %.3f pt, %.0f px em)\n",
                  firmware.nominalSize / 64.0, firmwareEm);
    out << heading;
    if (h.hSize != firmware.nominalSize) {
        out << "  this file's size differs; the line metrics compare per em\n";
    }
    char line[160];
    std::snprintf(line, sizeof line, "  %-20s %-30s %s\n", "", "this file", "firmware");
    out << line;
    const auto row = [&](const char* name, std::int32_t ours, std::int32_t theirs) {
        std::snprintf(line, sizeof line, "  %-20s %-30s %s\n", name,
                      lineMetric(ours, emPixels).c_str(), lineMetric(theirs, firmwareEm).c_str());
        out << line;
    };
    row("ascender", h.maxAscender, firmware.maxAscender);
    row("descender", h.maxDescender, firmware.maxDescender);
    row("max top y adjust", h.maxTopYAdjust, firmware.maxTopYAdjust);
    out << "  max glyph bitmap     " << h.maxGlyphWidth << " x " << h.maxGlyphHeight << " px (jpn0 "
        << firmware.maxGlyphWidth << " x " << firmware.maxGlyphHeight << ")\n";
    const std::size_t stingy = pgf::stingyOpenBytes(font.sections);
    out << "  stingy-open memory   "
        << share(static_cast<long long>(stingy), static_cast<long long>(firmware.stingyOpenBytes))
        << " bytes of jpn0's budget"
        << (stingy > firmware.stingyOpenBytes ? ": OVER, some games may fail to open it" : "")
        << "\n";
    out << "  file size            "
        << share(static_cast<long long>(fileSize), static_cast<long long>(firmware.fileBytes))
        << " bytes of jpn0's"
        << (fileSize > firmware.fileBytes
                ? ": OVER, a game that reads it whole may run out of memory"
                : "")
        << "\n";
}

void printFirmwareComparison(std::ostream& out, const pgf::PgfFile& font, std::size_t fileSize) {
    const pgf::PgfHeader& h = font.header;
    const SlotMatch match = matchSlots(h);
    const pgf::FirmwareSlot& firmware = match.sans;
    // 26.6 points at 128 dpi to pixels: / 64 × 128 / 72.
    const double emPixels = h.hSize / 36.0;
    const double firmwareEm = firmware.nominalSize / 36.0;
    char line[160];
    out << "\ncompared with the firmware's ltn" << match.sans.number << ".pgf and ltn"
        << match.serif.number << ".pgf (sans, serif: " << (firmware.small ? "small " : "")
        << firmware.style << ", " << points(firmware.nominalSize) << " pt)\n";
    if (!match.sizeMatches) {
        out << "  this file's size differs; the line metrics compare per em\n";
    }
    std::snprintf(line, sizeof line, "  %-20s %-30s %s\n", "", "this file", "firmware");
    out << line;
    const auto row = [&](const char* name, std::int32_t ours, std::int32_t theirs) {
        std::snprintf(line, sizeof line, "  %-20s %-30s %s\n", name,
                      lineMetric(ours, emPixels).c_str(), lineMetric(theirs, firmwareEm).c_str());
        out << line;
    };
    row("ascender", h.maxAscender, firmware.maxAscender);
    row("descender", h.maxDescender, firmware.maxDescender);
    row("vertical advance", h.maxAdvanceV, firmware.maxAdvanceV);
    row("max top y adjust", h.maxTopYAdjust, firmware.maxTopYAdjust);
    const std::size_t stingy = pgf::stingyOpenBytes(font.sections);
    out << "  max glyph bitmap     " << h.maxGlyphWidth << " x " << h.maxGlyphHeight << " px (ltn"
        << firmware.number << " " << firmware.maxGlyphWidth << " x " << firmware.maxGlyphHeight
        << ", ltn" << match.serif.number << " " << match.serif.maxGlyphWidth << " x "
        << match.serif.maxGlyphHeight << ")\n";
    for (const pgf::FirmwareSlot* slot : {&match.sans, &match.serif}) {
        out << "  stingy-open memory   "
            << share(static_cast<long long>(stingy), static_cast<long long>(slot->stingyOpenBytes))
            << " bytes of ltn" << slot->number << "'s budget"
            << (stingy > slot->stingyOpenBytes ? ": OVER, some games may fail to open it" : "")
            << "\n";
    }
    out << "  file size            "
        << share(static_cast<long long>(fileSize), static_cast<long long>(firmware.fileBytes))
        << " bytes of ltn" << firmware.number << "'s\n";
}

}  // namespace

void printReport(std::ostream& out, const pgf::PgfFile& font, std::size_t fileSize,
                 std::string_view fileName) {
    printHeader(out, font.header);
    const std::optional<int> slot = pgf::slotOfFileName(fileName);
    printCoverage(out, font, slot.value_or(0));
    printSources(out, font);
    printLimits(out, font);
    if (slot == pgf::kBigFontSlot) {
        printBigFontComparison(out, font, fileSize);
    } else {
        printFirmwareComparison(out, font, fileSize);
    }
}

}  // namespace tessavine::pgfinfo
