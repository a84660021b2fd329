#include "firmware_budget.h"

#include <cstdio>

#include "conversion_error.h"
#include "pgf/pgf_header.h"
#include "pgf/pgf_writer.h"

namespace tessavine::converter {
namespace {

struct Measure {
    std::size_t fileBytes = 0;
    std::size_t stingyBytes = 0;
};

Measure measure(const std::vector<std::uint8_t>& file) {
    return {file.size(), pgf::stingyOpenBytes(pgf::decodeHeader(file))};
}

bool fits(const Measure& m, const pgf::FirmwareSlot& slot) {
    return m.fileBytes <= slot.fileBytes && m.stingyBytes <= slot.stingyOpenBytes;
}

std::string slotName(const pgf::FirmwareSlot& slot) {
    return std::string(slot.fileName);
}

}  // namespace

const pgf::FirmwareSlot& budgetSlot(const ConversionParameters& parameters) {
    return pgf::firmwareSlot(parameters.slot.value_or(0));
}

std::string budgetLine(const ConversionResult& result, const pgf::FirmwareSlot& slot) {
    const std::size_t file = result.pgf.size();
    char text[400];
    std::snprintf(
        text, sizeof text,
        "%zu glyphs (%zu shadows); to open it the PSP needs %zu bytes (stingy) or %zu "
        "(full); the firmware's %s: %zu and %zu%s",
        result.glyphCount, result.shadowCount, result.stingyOpenBytes,
        file + pgf::kFullOpenExtraBytes, slotName(slot).c_str(), slot.stingyOpenBytes,
        slot.fileBytes + pgf::kFullOpenExtraBytes,
        fits({file, result.stingyOpenBytes}, slot) ? "" : " (larger than the firmware's)");
    return text;
}

void checkWithinFirmwareSize(const pgf::PgfFont& font, const ConversionResult& result,
                             const pgf::FirmwareSlot& slot) {
    const Measure whole{result.pgf.size(), result.stingyOpenBytes};
    if (fits(whole, slot)) {
        return;
    }
    // The largest run of glyphs from the lowest code on that fits: files only grow with glyphs.
    std::size_t fitting = 0;
    std::size_t tooMany = font.glyphs.size();
    while (tooMany - fitting > 1) {
        const std::size_t middle = fitting + (tooMany - fitting) / 2;
        pgf::PgfFont part = font;
        part.glyphs.resize(middle);
        if (fits(measure(pgf::writePgf(part)), slot)) {
            fitting = middle;
        } else {
            tooMany = middle;
        }
    }
    char text[600];
    std::snprintf(text, sizeof text,
                  "the font is %zu character%s over the firmware's %s (file %zu of %zu bytes, "
                  "stingy open %zu of %zu bytes); %zu characters fit, so drop %zu (for example "
                  "with --chars %s or a shorter list), or leave out --within-firmware-size",
                  font.glyphs.size() - fitting, font.glyphs.size() - fitting == 1 ? "" : "s",
                  slotName(slot).c_str(), whole.fileBytes, slot.fileBytes, whole.stingyBytes,
                  slot.stingyOpenBytes, fitting, font.glyphs.size() - fitting,
                  slot.number == pgf::kBigFontSlot ? "jis0208" : "firmware");
    throw ConversionError(text);
}

}  // namespace tessavine::converter
