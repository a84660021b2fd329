#pragma once

#include <string>

#include "conversion_parameters.h"
#include "font_converter.h"
#include "pgf/firmware_slots.h"
#include "pgf/pgf_font.h"

namespace tessavine::converter {

// The firmware font the file is measured against: its slot's, or ltn0's without --slot (the
// window's file goes to ltn0.pgf and is copied from there).
const pgf::FirmwareSlot& budgetSlot(const ConversionParameters& parameters);

// What the PSP needs to open the file against what it gives the firmware's font of the slot, in
// one line: the file (a full open takes it whole and 12 bytes) and the stingy open (the tables).
std::string budgetLine(const ConversionResult& result, const pgf::FirmwareSlot& slot);

// Throws ConversionError when the file is larger than the slot's firmware file or needs more
// memory for a stingy open, naming how many characters too many it holds: the written font's
// glyphs in code order are cut until the rest fits.
void checkWithinFirmwareSize(const pgf::PgfFont& font, const ConversionResult& result,
                             const pgf::FirmwareSlot& slot);

}  // namespace tessavine::converter
