#include "firmware_slots.h"

#include <stdexcept>
#include <string>

namespace tessavine::pgf {
namespace {

constexpr std::int32_t kLargeSize = 0x288;  // 10.125 pt: an 18 px em at 128 dpi
constexpr std::int32_t kSmallSize = 0x1C0;  // 7 pt: a 12.44 px em

constexpr std::array<std::string_view, kSlotCount> kLatinFileNames{
    "ltn0.pgf",  "ltn1.pgf",  "ltn2.pgf",  "ltn3.pgf",  "ltn4.pgf",  "ltn5.pgf",
    "ltn6.pgf",  "ltn7.pgf",  "ltn8.pgf",  "ltn9.pgf",  "ltn10.pgf", "ltn11.pgf",
    "ltn12.pgf", "ltn13.pgf", "ltn14.pgf", "ltn15.pgf",
};

constexpr FirmwareSlot slot(int number, const char* style, std::size_t fileBytes,
                            std::size_t stingyBytes, std::array<std::int32_t, 10> maxima,
                            int glyphWidth, int glyphHeight) {
    FirmwareSlot s;
    s.number = number;
    s.fileName = kLatinFileNames[static_cast<std::size_t>(number)];
    s.serif = number % 2 == 1;
    s.italic = (number / 2) % 2 == 1;
    s.bold = (number / 4) % 2 == 1;
    s.small = number >= 8;
    s.style = style;
    s.nominalSize = s.small ? kSmallSize : kLargeSize;
    s.fileBytes = fileBytes;
    s.stingyOpenBytes = stingyBytes;
    s.maxAscender = maxima[0];
    s.maxDescender = maxima[1];
    s.maxLeftXAdjust = maxima[2];
    s.maxBaseYAdjust = maxima[3];
    s.minCenterXAdjust = maxima[4];
    s.maxTopYAdjust = maxima[5];
    s.maxAdvanceH = maxima[6];
    s.maxAdvanceV = maxima[7];
    s.maxSizeW = maxima[8];
    s.maxSizeH = maxima[9];
    s.maxGlyphWidth = glyphWidth;
    s.maxGlyphHeight = glyphHeight;
    return s;
}

// Sizes measured on a PSP opening its own fonts; header values as the firmware files carry them.
constexpr std::array<FirmwareSlot, kSlotCount> kSlots{{
    slot(0, "Regular", 69108, 16680, {863, -196, 195, 1202, -727, 18, 1585, 1094, 1455, 1222}, 23,
         20),
    slot(1, "Regular", 65124, 16920, {863, -196, 212, 1154, -727, 18, 1585, 1094, 1455, 1175}, 23,
         20),
    slot(2, "Italic", 72948, 16872, {863, -196, 358, 1202, -770, 18, 1585, 1094, 1541, 1222}, 25,
         20),
    slot(3, "Italic", 67700, 17112, {863, -196, 305, 1154, -770, 18, 1585, 1094, 1541, 1175}, 25,
         20),
    slot(4, "Bold", 72828, 16648, {863, -196, 185, 1271, -754, 18, 1625, 1094, 1509, 1299}, 24, 21),
    slot(5, "Bold", 68220, 16928, {863, -196, 210, 1180, -754, 18, 1625, 1094, 1509, 1210}, 24, 20),
    slot(6, "Bold Italic", 77032, 16792, {863, -196, 334, 1271, -811, 18, 1625, 1094, 1622, 1299},
         27, 21),
    slot(7, "Bold Italic", 71144, 17160, {863, -196, 276, 1180, -811, 18, 1625, 1094, 1622, 1210},
         27, 20),
    slot(8, "Regular", 41000, 16192, {576, -131, 130, 801, -485, 12, 1057, 730, 970, 814}, 16, 14),
    slot(9, "Regular", 40164, 16476, {576, -131, 141, 770, -485, 12, 1057, 730, 970, 784}, 16, 14),
    slot(10, "Italic", 42692, 16300, {576, -131, 239, 801, -514, 12, 1057, 730, 1028, 814}, 17, 14),
    slot(11, "Italic", 41488, 16656, {576, -131, 204, 770, -514, 12, 1057, 730, 1028, 784}, 17, 14),
    slot(12, "Bold", 43136, 16176, {576, -131, 124, 847, -503, 12, 1084, 730, 1006, 865}, 17, 15),
    slot(13, "Bold", 41772, 16436, {576, -131, 140, 786, -503, 12, 1084, 730, 1006, 806}, 17, 14),
    slot(14, "Bold Italic", 45184, 16272, {576, -131, 223, 847, -541, 12, 1084, 730, 1082, 865}, 18,
         15),
    slot(15, "Bold Italic", 43044, 16704, {576, -131, 184, 786, -541, 12, 1084, 730, 1082, 806}, 18,
         14),
}};

// jpn0.pgf as a PSP reports it: an 18 px em, line metrics of its own, 1,581,700 bytes, and 145,844
// bytes for a usual open (full metric tables, ~510 shadows, a charmap over U+0020-FFFF). The
// vertical advance is not among what a PSP reports; a CJK font advances one em down a column,
// so it is the distance from ascender to descender, 18 px.
constexpr FirmwareSlot bigFont() {
    FirmwareSlot s;
    s.number = kBigFontSlot;
    s.fileName = "jpn0.pgf";
    s.style = "Regular";
    s.nominalSize = kLargeSize;
    s.fileBytes = 1581700;
    s.stingyOpenBytes = 145844;
    s.maxAscender = 1013;
    s.maxDescender = -139;
    s.maxLeftXAdjust = 1008;
    s.maxBaseYAdjust = 1204;
    s.minCenterXAdjust = -580;
    s.maxTopYAdjust = 1151;
    s.maxAdvanceH = 1198;
    s.maxAdvanceV = 1013 + 139;
    s.maxSizeW = 1161;
    s.maxSizeH = 1251;
    s.maxGlyphWidth = 19;
    s.maxGlyphHeight = 20;
    return s;
}

constexpr FirmwareSlot kBigFont = bigFont();

}  // namespace

const std::array<FirmwareSlot, kSlotCount>& firmwareSlots() {
    return kSlots;
}

const FirmwareSlot& firmwareSlot(int number) {
    if (number == kBigFontSlot) {
        return kBigFont;
    }
    if (number < 0 || number >= kSlotCount) {
        throw std::out_of_range("there is no font slot " + std::to_string(number) +
                                "; the slots are 0 to 15 and jpn0");
    }
    return kSlots[static_cast<std::size_t>(number)];
}

std::optional<int> slotOfFileName(std::string_view fileName) {
    std::string lower;
    for (const char c : fileName) {
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (lower == kBigFont.fileName) {
        return kBigFontSlot;
    }
    for (const FirmwareSlot& slot : kSlots) {
        if (lower == slot.fileName) {
            return slot.number;
        }
    }
    return std::nullopt;
}

std::size_t stingyOpenBytes(const PgfSections& sections) {
    return sections.dimensionTable + sections.xAdjustTable + sections.yAdjustTable +
           sections.advanceTable + sections.shadowMap + sections.charMap + sections.charPointers;
}

}  // namespace tessavine::pgf

namespace tessavine::pgf {

std::size_t stingyOpenBytes(const PgfHeader& header) {
    const auto packed = [](std::int64_t entries, std::int64_t bits) {
        return static_cast<std::size_t>((entries * bits + 31) / 32 * 4);
    };
    return 8 * (std::size_t{header.dimTableLength} + header.xAdjustTableLength +
                header.yAdjustTableLength + header.advanceTableLength) +
           packed(header.shadowMapLength, header.shadowMapBpe) +
           packed(header.charMapLength, header.charMapBpe) +
           packed(header.charPointerLength, header.charPointerBpe);
}

}  // namespace tessavine::pgf
