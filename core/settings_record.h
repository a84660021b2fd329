#pragma once

#include <array>
#include <string>

#include "core/main_controls.h"

namespace tessavine {

// The window's contents between runs of the program: 24 text entries.
//  0 fontname1, 1 height1, 2 horizontal1, 3 advance1, 4 blur1, 5 intensity1 (texts as they stand)
//  6 bold1, 7 italicize1 (the state as a decimal whole number)
//  8..22 Check1(1)..Check1(15) ("1" when ticked, otherwise "0")
// 23 always empty.
inline constexpr int kSettingsEntryCount = 24;
using SettingsRecord = std::array<std::string, kSettingsEntryCount>;

SettingsRecord buildSettingsRecord(const MainControls& controls);

// Applies the first `entriesRead` entries to the controls; entries past that leave the
// controls' initial values in place. Check1(0) and the Create All box are never touched.
void applySettingsRecord(const SettingsRecord& record, int entriesRead, MainControls& controls);

}  // namespace tessavine
