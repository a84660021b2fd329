// A damaged settings.bin, read at start-up from a real file and saved again at shutdown: the
// start must never fail, and what is saved must read back as what the window showed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "core/file_platform.h"
#include "core/main_controls.h"
#include "core/prompts.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "fuzz_check.h"

namespace {

using namespace tessavine;

class Controls final : public MainControls {
  public:
    std::string text(TextField field) const override { return texts_[index(field)]; }
    void setText(TextField field, const std::string& text) override { texts_[index(field)] = text; }
    int boldState() const override { return bold_; }
    void setBoldState(int state) override { bold_ = state; }
    int italicizeState() const override { return italic_; }
    void setItalicizeState(int state) override { italic_ = state; }
    int slotBoxState(int box) const override { return boxes_[static_cast<std::size_t>(box)]; }
    void setSlotBoxState(int box, int state) override {
        boxes_[static_cast<std::size_t>(box)] = state;
    }
    bool sameAs(const Controls& other) const {
        return texts_ == other.texts_ && bold_ == other.bold_ && italic_ == other.italic_ &&
               boxes_ == other.boxes_;
    }

  private:
    static std::size_t index(TextField field) { return static_cast<std::size_t>(field); }
    std::array<std::string, 6> texts_{};
    int bold_ = kUnticked;
    int italic_ = kUnticked;
    std::array<int, kSlotCount + 1> boxes_{};
};

class Messages final : public Prompts {
  public:
    void showMessage(const std::string&) override { ++shown; }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void showWarning(const std::string&) override { ++shown; }
    int shown = 0;
};

// One folder per fuzzing process, made on first use and removed at the end.
struct ScratchFolder {
    ScratchFolder() {
        std::random_device random;
        do {
            path = std::filesystem::temp_directory_path() /
                   ("tessavine-settings-fuzz-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path));
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

const std::filesystem::path& programFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = platform::utf8FromPath(programFolder());
    std::ofstream(programFolder() / kSettingsFileName, std::ios::binary | std::ios::trunc) << bytes;

    StdFileSystem fileSystem;
    Controls controls;
    Messages messages;
    restoreSettings(fileSystem, folder, controls, messages);
    FUZZ_CHECK(messages.shown == 0);  // an ordinary file of any content is no read error

    const DecodedSettings decoded = decodeSettings(bytes);
    FUZZ_CHECK(decoded.entriesRead >= 0 && decoded.entriesRead <= kSettingsEntryCount);

    // Saved and read back, the window shows the same again.
    FUZZ_CHECK(storeSettings(fileSystem, folder, controls, messages));
    Controls reread;
    restoreSettings(fileSystem, folder, reread, messages);
    FUZZ_CHECK(messages.shown == 0);
    FUZZ_CHECK(reread.sameAs(controls));

    const std::string saved = encodeSettings(buildSettingsRecord(controls));
    const DecodedSettings again = decodeSettings(saved);
    FUZZ_CHECK(again.entriesRead == kSettingsEntryCount);
    FUZZ_CHECK(encodeSettings(again.record) == saved);
    return 0;
}
