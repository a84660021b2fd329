#pragma once

#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/main_controls.h"
#include "core/prompts.h"
#include "core/settings_record.h"

namespace tessavine {

inline constexpr const char* kSettingsFileName = "settings.bin";

// settings.bin: the 24 entries in order, each a 2-byte little-endian length and that many bytes
// of Windows-1252 text. Nothing else.
std::string encodeSettings(const SettingsRecord& record);

struct DecodedSettings {
    SettingsRecord record;
    int entriesRead = 0;  // entries wholly inside the bytes; the rest keep the initial values
};
DecodedSettings decodeSettings(std::string_view bytes);

// Start-up: reads settings.bin from the program folder (never creating it) and applies it to
// the controls. A file that exists but cannot be read, or that is no ordinary file (a pipe, a
// device), leaves the initial values and is reported through `prompts`; bytes past what the 24
// entries can hold are never read. Temporary files left by a save that was cut short are
// removed.
void restoreSettings(FileSystem& fileSystem, const std::string& programFolder,
                     MainControls& controls, Prompts& prompts);

// Shutdown: writes the controls to settings.bin (a new temporary file renamed over the old one;
// a symbolic link named settings.bin is replaced, and the file it led to is left as it was).
// A failure is shown through `prompts` with the platform's description of it; the caller ends
// the program all the same. Returns true when saved.
bool storeSettings(FileSystem& fileSystem, const std::string& programFolder,
                   const MainControls& controls, Prompts& prompts);

}  // namespace tessavine
