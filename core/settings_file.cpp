#include "core/settings_file.h"

#include <cstddef>

#include "core/paths.h"
#include "core/windows1252.h"

namespace tessavine {
namespace {

// The two length bytes cannot count further; a longer text keeps its first 65,535 bytes
// (one byte is one character in the file's code page, so no character is cut in two).
constexpr std::size_t kLongestEntry = 0xFFFF;
// The most a settings file can hold; anything after it is never read.
constexpr std::size_t kLargestSettingsFile = kSettingsEntryCount * (2 + kLongestEntry);

std::string settingsPath(const std::string& programFolder) {
    return joinPath(programFolder, kSettingsFileName);
}

}  // namespace

std::string encodeSettings(const SettingsRecord& record) {
    std::string bytes;
    for (const std::string& entry : record) {
        std::string text = utf8ToWindows1252(entry);
        if (text.size() > kLongestEntry) {
            text.resize(kLongestEntry);
        }
        bytes += static_cast<char>(text.size() & 0xFFu);
        bytes += static_cast<char>(text.size() >> 8);
        bytes += text;
    }
    return bytes;
}

DecodedSettings decodeSettings(std::string_view bytes) {
    DecodedSettings decoded;
    std::size_t at = 0;
    for (std::string& entry : decoded.record) {
        if (bytes.size() - at < 2) {
            break;
        }
        const std::size_t length =
            static_cast<unsigned char>(bytes[at]) |
            (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
        at += 2;
        if (bytes.size() - at < length) {
            break;  // the file ends inside this entry: neither it nor any later one is taken
        }
        entry = windows1252ToUtf8(bytes.substr(at, length));
        at += length;
        ++decoded.entriesRead;
    }
    return decoded;
}

void restoreSettings(FileSystem& fileSystem, const std::string& programFolder,
                     MainControls& controls, Prompts& prompts) {
    fileSystem.removeStaleTemporaryFiles(settingsPath(programFolder));
    std::string error;
    const std::optional<std::string> bytes =
        fileSystem.readFileAtMost(settingsPath(programFolder), kLargestSettingsFile, error);
    if (!bytes) {
        if (!error.empty()) {
            prompts.showMessage(
                "Your saved settings could not be read, so Tessavine starts with "
                "its usual values.\n\n" +
                error);
        }
        return;
    }
    const DecodedSettings decoded = decodeSettings(*bytes);
    applySettingsRecord(decoded.record, decoded.entriesRead, controls);
}

bool storeSettings(FileSystem& fileSystem, const std::string& programFolder,
                   const MainControls& controls, Prompts& prompts) {
    const std::string bytes = encodeSettings(buildSettingsRecord(controls));
    const std::string error = fileSystem.writeFileReplacing(settingsPath(programFolder), bytes);
    if (!error.empty()) {
        prompts.showMessage(
            "Your settings could not be saved; the next start will not show "
            "the values you used this time.\n\n" +
            error);
        return false;
    }
    return true;
}

}  // namespace tessavine
