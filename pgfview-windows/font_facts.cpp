#include "font_facts.h"

#include <cctype>
#include <cstdio>

#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "psp_screen/character_table.h"

namespace tessavine::pgfview_windows {
namespace {

// 1234567 as "1,234,567".
std::string grouped(std::size_t count) {
    const std::string digits = std::to_string(count);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

std::string againstBudget(std::size_t used, std::size_t budget, bool& over) {
    const double percent =
        budget == 0 ? 0.0 : 100.0 * static_cast<double>(used) / static_cast<double>(budget);
    char share[32];
    std::snprintf(share, sizeof share, "%.0f", percent);
    over = over || used > budget;
    return grouped(used) + " bytes, " + share + "% of the firmware's " + grouped(budget) +
           (used > budget ? "  (TOO BIG)" : "");
}

}  // namespace

int slotOfFileName(const std::string& fileName) {
    std::string lower;
    for (const char c : fileName) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower.size() < 8 || lower.size() > 9 || lower.rfind("ltn", 0) != 0 ||
        lower.substr(lower.size() - 4) != ".pgf") {
        return -1;
    }
    const std::string number = lower.substr(3, lower.size() - 7);
    for (const char c : number) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return -1;
        }
    }
    const int slot = std::stoi(number);
    return slot < pgf::kSlotCount ? slot : -1;
}

FontFacts describeFont(const pgf::PgfFile& font, const std::string& fileName,
                       std::size_t fileBytes) {
    FontFacts facts;
    facts.missing = psp_screen::missingCharacters(font, pgf::pspLatinCharacters());
    const int named = slotOfFileName(fileName);
    const int slot = named < 0 ? 0 : named;
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(slot);
    char em[32];
    std::snprintf(em, sizeof em, "%.2f px",
                  font.header.hSize / 64.0 * font.header.hResolution / 64.0 / 72.0);

    std::string& text = facts.text;
    text += "Font: " + font.header.fontName + "\n";
    text += "Style: " + font.header.fontType + "\n";
    text += std::string("Em size: ") + em + "\n";
    text += "Glyphs: " + std::to_string(font.glyphs.size()) + "\n";
    text += "Missing: " +
            (facts.missing.empty() ? std::string("none of the PSP's set")
                                   : std::to_string(facts.missing.size()) + " of the PSP's set") +
            "\n";
    text += "Compared with: ltn" + std::to_string(slot) + ".pgf" + (named < 0 ? " (assumed)" : "") +
            "\n";
    text += "File size: " + againstBudget(fileBytes, firmware.fileBytes, facts.overBudget) + "\n";
    text += "Open memory: " +
            againstBudget(pgf::stingyOpenBytes(font.sections), firmware.stingyOpenBytes,
                          facts.overBudget) +
            "\n";
    if (font.sources) {
        for (const pgf::FontSource& source : *font.sources) {
            std::size_t characters = 0;
            for (const auto& [first, last] : source.runs) {
                characters += static_cast<std::size_t>(last - first) + 1;
            }
            text +=
                "Drawn from: " + source.name + ", " + std::to_string(characters) + " characters\n";
        }
    }
    return facts;
}

}  // namespace tessavine::pgfview_windows
