#include "line_metrics.h"

#include <cmath>
#include <cstdlib>

#include "pgf/firmware_slots.h"

namespace tessavine::converter {
namespace {

constexpr int kFirmwareEm = 18;
// 7 pt against 10.125 pt (= 81/8 pt): the small fonts' em is 56/81 of the large ones'.
constexpr int kSmallEmNumerator = 56;
constexpr int kSmallEmDenominator = 81;
constexpr int kPointsPer26Dot6Pixel = 36;  // 64 × 72 / 128: a pixel at 128 dpi in 26.6 points

std::int32_t toUnits(double pixels) {
    return static_cast<std::int32_t>(std::lround(pixels * 64));
}

}  // namespace

bool isSmallSlot(const ConversionParameters& parameters) {
    return parameters.slot && pgf::firmwareSlot(*parameters.slot).small;
}

double emPixels(const ConversionParameters& parameters) {
    if (isSmallSlot(parameters)) {
        return parameters.fontScale * static_cast<double>(kSmallEmNumerator) / kSmallEmDenominator;
    }
    return parameters.fontScale;
}

std::int32_t nominalSize(const ConversionParameters& parameters) {
    const std::int64_t large = std::int64_t{parameters.fontScale} * kPointsPer26Dot6Pixel;
    if (!isSmallSlot(parameters)) {
        return static_cast<std::int32_t>(large);
    }
    // Rounded to the nearest unit in whole numbers, so 18 gives the firmware's 448 exactly.
    return static_cast<std::int32_t>((2 * large * kSmallEmNumerator + kSmallEmDenominator) /
                                     (2 * kSmallEmDenominator));
}

std::int32_t scaleFromFirmwareEm(std::int32_t valueAt18, int fontScale) {
    const std::int64_t magnitude =
        (2 * std::llabs(valueAt18) * std::int64_t{fontScale} + kFirmwareEm) / (2 * kFirmwareEm);
    return static_cast<std::int32_t>(valueAt18 < 0 ? -magnitude : magnitude);
}

LineMetrics chooseLineMetrics(const ConversionParameters& parameters, std::int32_t fontAscender,
                              std::int32_t fontDescender) {
    LineMetrics metrics;
    if (parameters.lineMetrics == LineMetricsSource::Firmware) {
        // Every large latin slot has the same line metrics, and every small one; the big font
        // has its own.
        const bool bigFont = parameters.slot == pgf::kBigFontSlot;
        const pgf::FirmwareSlot& latin = pgf::firmwareSlot(isSmallSlot(parameters) ? 8 : 0);
        const pgf::FirmwareSlot& firmware = bigFont ? pgf::firmwareSlot(pgf::kBigFontSlot) : latin;
        const int scale = parameters.fontScale;
        metrics.ascender = scaleFromFirmwareEm(firmware.maxAscender, scale);
        metrics.descender = scaleFromFirmwareEm(firmware.maxDescender, scale);
        metrics.verticalAdvance = scaleFromFirmwareEm(firmware.maxAdvanceV, scale);
        // jpn0's largest top bearing (18 px) is its glyphs', not a layout rule: its glyphs hang
        // from the pen's line as the latin fonts' do.
        metrics.topBearing = scaleFromFirmwareEm(latin.maxTopYAdjust, scale);
        metrics.hangFromPenLine = true;
    } else {
        metrics.ascender = fontAscender;
        metrics.descender = fontDescender;
        metrics.verticalAdvance = fontAscender - fontDescender;
        metrics.hangFromPenLine = false;
    }
    if (parameters.ascender) {
        metrics.ascender = toUnits(*parameters.ascender);
    }
    if (parameters.descender) {
        metrics.descender = toUnits(*parameters.descender);
    }
    if (parameters.ascender || parameters.descender) {
        metrics.verticalAdvance = metrics.ascender - metrics.descender;
    }
    return metrics;
}

}  // namespace tessavine::converter
