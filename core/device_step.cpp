#include "core/device_step.h"

#include <chrono>

#include "core/font_backup.h"
#include "core/font_set_copy.h"
#include "core/font_slots.h"
#include "core/paths.h"
#include "core/result_texts.h"

namespace tessavine {
namespace {

// Device-relative names, written with backslashes as on the PSP's own drives; joinPath turns
// them into the platform's form.
constexpr const char* kMemoryStickMark = "PSP\\GAME";
constexpr const char* kFlash0Mark = "kd";
constexpr const char* kFontFolderTest = "font\\";
constexpr const char* kFontFolder = "font";

}  // namespace

std::optional<std::string> findDeviceRoot(const FileSystem& fileSystem,
                                          const std::vector<std::string>& candidateRoots) {
    for (const std::string& root : candidateRoots) {
        const bool memoryStick = fileSystem.folderExists(joinPath(root, kMemoryStickMark));
        const bool flash0 = fileSystem.folderExists(joinPath(root, kFlash0Mark));
        if (memoryStick || flash0) {
            return root;
        }
    }
    return std::nullopt;
}

bool carriesMark(const FileSystem& fileSystem, const std::string& root) {
    return fileSystem.folderExists(joinPath(root, kMemoryStickMark)) ||
           fileSystem.folderExists(joinPath(root, kFlash0Mark));
}

std::string deviceFontFolder(const std::string& root) {
    return joinPath(root, kFontFolder);
}

DeviceKind deviceKind(const FileSystem& fileSystem, const std::string& root) {
    const bool flash0 = fileSystem.folderExists(joinPath(root, kFlash0Mark));
    const bool memoryStick = fileSystem.folderExists(joinPath(root, kMemoryStickMark));
    return (flash0 && !memoryStick) ? DeviceKind::flash0 : DeviceKind::memoryStick;
}

DeviceQuestion deviceQuestion(DeviceKind kind, const std::string& root) {
    if (kind == DeviceKind::flash0) {
        return {"Copy font file(s) to FLASH0?",
                "Do you want to copy the font file(s) to FLASH0:\\font\\"};
    }
    return {"Copy font file(s) to Memory Stick?",
            "Do you want to copy the font file(s) to " + joinPath(root, kFontFolderTest)};
}

void copyFontsToDevice(FileSystem& fileSystem, const FreeSpace& freeSpace, Prompts& prompts,
                       Timer& timer1, const std::string& programFolder,
                       const std::vector<std::string>& candidateRoots, ResultNotices* notices,
                       const std::vector<char32_t>& missingAscii) {
    const std::optional<std::string> root = findDeviceRoot(fileSystem, candidateRoots);
    if (!root) {
        return;
    }
    timer1.stop();  // no further tick while the question waits for its answer
    const DeviceQuestion question = deviceQuestion(deviceKind(fileSystem, *root), *root);
    // A font without some basic letters converts "successfully", and the PSP would then show "_"
    // in every menu: say so while the user can still answer No.
    if (!missingAscii.empty()) {
        prompts.showWarning(missingAsciiWarning(missingAscii));
    }
    const bool consent = prompts.askYesNo(question.title, question.text);

    // The question may stay open for a long time. A card pulled or a mount undone meanwhile
    // leaves an ordinary folder of this computer at the root, which must receive nothing.
    if (!carriesMark(fileSystem, *root)) {
        if (consent) {
            prompts.showMessage("The PSP at " + *root +
                                " is gone: it was disconnected while the question was open, so "
                                "nothing was copied. Connect it again, then press Execute "
                                "again.");
        } else if (notices != nullptr) {
            notices->showNotice(nothingCopiedNotice());
        }
        return;
    }
    if (!fileSystem.folderExists(joinPath(*root, kFontFolderTest))) {
        const std::string error = fileSystem.createFolder(joinPath(*root, kFontFolder));
        if (!error.empty()) {
            prompts.showMessage(
                std::string("The font folder could not be made on the PSP") +
                (consent ? ", so no font files were copied to it" : "") +
                ". Check that the PSP is still connected and not write-protected.\n\n" + error);
            return;
        }
    }
    if (!consent) {
        if (notices != nullptr) {
            notices->showNotice(nothingCopiedNotice());
        }
        return;
    }
    FontSetCopy copy{{},
                     deviceFontFolder(*root),
                     joinPath(programFolder, kBackupFolderName),
                     "the PSP",
                     "press Execute again"};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::string source = joinPath(programFolder, slotFileName(slot));
        if (fileSystem.fileExists(source)) {
            copy.sources.push_back(source);
        }
    }
    const FontSetCopyOutcome outcome =
        copyFontSet(fileSystem, freeSpace, copy, std::chrono::system_clock::now());
    const std::string said = outcome.completed.empty() || outcome.error.empty()
                                 ? outcome.completed + outcome.error
                                 : outcome.completed + "\n\n" + outcome.error;
    if (!said.empty()) {
        prompts.showMessage(said);
    }
    if (outcome.error.empty() && notices != nullptr) {
        notices->showNotice(
            copyNotice(copy.sources.size(), copy.destinationFolder, outcome.backupFolder));
    }
}

}  // namespace tessavine
