#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/free_space.h"
#include "core/main_controls.h"
#include "core/prompts.h"
#include "core/result_notices.h"

namespace tessavine {

enum class DeviceKind { memoryStick, flash0 };

// The first root, in the order given, that carries a PSP mark: a "PSP/GAME" folder (Memory
// Stick) or a "kd" folder (FLASH0). Both marks are looked at for every root tried.
std::optional<std::string> findDeviceRoot(const FileSystem& fileSystem,
                                          const std::vector<std::string>& candidateRoots);

// True while `root` still carries a PSP mark. A card pulled or a mount undone leaves an ordinary
// folder of this computer at the root, which must receive nothing.
bool carriesMark(const FileSystem& fileSystem, const std::string& root);

// The folder on the device at `root` that holds the PSP's fonts.
std::string deviceFontFolder(const std::string& root);

// FLASH0 only when the root has "kd" and no "PSP/GAME"; a root with both is a Memory Stick.
DeviceKind deviceKind(const FileSystem& fileSystem, const std::string& root);

// The title and the text of the question before the copy.
struct DeviceQuestion {
    std::string title;
    std::string text;
};
DeviceQuestion deviceQuestion(DeviceKind kind, const std::string& root);

// Offers the program folder's font slot files to the first PSP found: stops Timer1 once a device
// is found, asks, makes the device's font folder if it is missing (whatever the answer), and on
// Yes copies every slot file present into it as one set: the fonts it replaces are backed up
// below the program folder first, and the device ends up with all new fonts or all old ones.
// A device whose mark is gone by the time the answer comes is left alone; on Yes a message says
// so. Any failure is shown. When the fonts lack basic characters (`missingAscii`), a warning
// naming them comes before the question; the notices, when given, tell what was copied where.
void copyFontsToDevice(FileSystem& fileSystem, const FreeSpace& freeSpace, Prompts& prompts,
                       Timer& timer1, const std::string& programFolder,
                       const std::vector<std::string>& candidateRoots,
                       ResultNotices* notices = nullptr,
                       const std::vector<char32_t>& missingAscii = {});

}  // namespace tessavine
