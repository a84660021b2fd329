#include "font_summary.h"

#include <cctype>
#include <cstdio>

#include "core/utf8.h"
#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "pgf/slot_characters.h"
#include "psp_screen/character_table.h"

namespace tessavine::pgfview_shared {
namespace {

constexpr std::size_t kRunsShown = 6;

std::string codeText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::vector<FontSummary::Source> sourcesOf(const pgf::PgfFile& font) {
    std::vector<FontSummary::Source> sources;
    if (!font.sources) {
        return sources;
    }
    for (const pgf::FontSource& source : *font.sources) {
        FontSummary::Source summary{source.name, 0, {}};
        std::size_t shown = 0;
        for (const auto& [first, last] : source.runs) {
            summary.characters += static_cast<std::size_t>(last - first) + 1;
            if (shown == kRunsShown) {
                continue;  // only counted: text for runs never shown is work for nothing
            }
            summary.runs += (shown == 0 ? "" : ", ") + codeText(first);
            if (last > first) {
                summary.runs += "-" + codeText(last).substr(2);
            }
            ++shown;
        }
        if (source.runs.size() > kRunsShown) {
            summary.runs += ", ...";
        }
        sources.push_back(std::move(summary));
    }
    return sources;
}

}  // namespace

std::optional<int> slotOfFileName(std::string_view fileName) {
    return pgf::slotOfFileName(fileName);
}

pgf::SlotCharacters wantedCharacters(std::string_view fileName) {
    return pgf::slotCharacters(slotOfFileName(fileName).value_or(0));
}

std::string setWords(int slot) {
    return slot == pgf::kBigFontSlot ? "jpn0's set" : "the PSP's set";
}

FontSummary summarize(const pgf::PgfFile& font, std::string_view fileName, std::size_t fileBytes) {
    FontSummary summary;
    summary.name = font.header.fontName;
    summary.style = font.header.fontType;
    summary.emPixels = font.header.hSize / 64.0 * font.header.hResolution / 64.0 / 72.0;
    summary.glyphCount = font.glyphs.size();
    summary.fileBytes = fileBytes;
    summary.openBytes = pgf::stingyOpenBytes(font.sections);
    const std::optional<int> slot = slotOfFileName(fileName);
    summary.slot = slot.value_or(0);
    summary.slotFromName = slot.has_value();
    const pgf::SlotCharacters wanted = wantedCharacters(fileName);
    summary.missing = psp_screen::missingCharacters(font, wanted.codes);
    summary.wantedSet = setWords(summary.slot);
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(summary.slot);
    summary.slotFile = std::string(firmware.fileName);
    summary.slotFileBytes = firmware.fileBytes;
    summary.slotOpenBytes = firmware.stingyOpenBytes;
    summary.sources = sourcesOf(font);
    summary.sourcesProblem = font.sourcesProblem;
    return summary;
}

std::string bytesText(std::size_t count) {
    return groupedDigits(count) + " bytes";
}

std::string ofFirmwareText(std::size_t used, std::size_t budget) {
    const double percent =
        budget == 0 ? 0.0 : 100.0 * static_cast<double>(used) / static_cast<double>(budget);
    char share[32];
    std::snprintf(share, sizeof share, "%.0f", percent);
    return "of the firmware's " + groupedDigits(budget) + " (" + share + "%)";
}

std::string codeAndCharacter(char32_t code) {
    std::string text = codeText(code) + "  ";
    appendUtf8(text, code);
    return text;
}

std::string tableCellTip(char32_t code, bool missing) {
    return codeAndCharacter(code) + (missing ? " \u2014 missing; the PSP shows _ instead" : "");
}

}  // namespace tessavine::pgfview_shared
