#include "core/font_size_check.h"

#include <cstdint>
#include <exception>
#include <span>

#include "pgf/firmware_slots.h"

namespace tessavine {
namespace {

std::size_t metricTableBytes(const pgf::PgfSections& sections) {
    return sections.dimensionTable + sections.xAdjustTable + sections.yAdjustTable +
           sections.advanceTable;
}

}  // namespace

FontSizeComparison compareWithFirmware(const pgf::PgfSections& sections, int slot, int fontScale) {
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(slot);
    FontSizeComparison comparison;
    comparison.fileBytes = sections.total();
    comparison.firmwareFileBytes = firmware.fileBytes;
    comparison.openBytes = pgf::stingyOpenBytes(sections);
    comparison.firmwareOpenBytes = firmware.stingyOpenBytes;
    if (!comparison.larger()) {
        comparison.largestFittingScale = fontScale;
        return comparison;
    }
    // In whole numbers, so that the bounds hold exactly: at scale s in place of S the bitmaps
    // and the metric tables take (glyphData + metric) · s / S. Bitmaps grow faster than that
    // with the scale, so a smaller scale shrinks the file at least as much as this counts: the
    // scale named keeps the font within, if anything with bytes to spare.
    const auto scaleNow = static_cast<std::uint64_t>(fontScale);
    const std::uint64_t metric = metricTableBytes(sections);
    const std::uint64_t scaled = sections.glyphData + metric;
    const std::uint64_t fixedFile = comparison.fileBytes - scaled;
    const std::uint64_t fixedOpen = comparison.openBytes - metric;
    for (int scale = fontScale - 1; scale >= kLowestFontScale; --scale) {
        const auto s = static_cast<std::uint64_t>(scale);
        if (fixedFile * scaleNow + scaled * s <= firmware.fileBytes * scaleNow &&
            fixedOpen * scaleNow + metric * s <= firmware.stingyOpenBytes * scaleNow) {
            comparison.largestFittingScale = scale;
            break;
        }
    }
    return comparison;
}

std::optional<FontSizeComparison> compareWithFirmware(const std::string& pgfBytes, int slot,
                                                      int fontScale) {
    try {
        const pgf::PgfFile file = pgf::readPgf(
            std::span(reinterpret_cast<const std::uint8_t*>(pgfBytes.data()), pgfBytes.size()));
        return compareWithFirmware(file.sections, slot, fontScale);
    } catch (const std::exception&) {  // the coverage line already tells why it is unreadable
        return std::nullopt;
    }
}

}  // namespace tessavine
