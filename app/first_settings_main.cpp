// make_first_settings OUT: writes the settings.bin a first start of the program reads, with the
// window's initial values and the bundled font as the font name, so that a first Execute
// converts at once. Runs at build time and needs no window; the build copies its output into
// the program folder only where no settings.bin is there yet.
#include <array>
#include <fstream>
#include <iostream>
#include <string>

#include "core/settings_file.h"
#include "core/settings_record.h"
#include "ui/initial_texts.h"

namespace {

// The controls as a freshly created window holds them: the initial texts, nothing ticked but
// Check1(0).
class InitialControls final : public tessavine::MainControls {
  public:
    InitialControls() {
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            texts_[i] = tessavine::kInitialFieldTexts[i];
        }
    }
    std::string text(tessavine::TextField field) const override {
        return texts_[static_cast<std::size_t>(field)];
    }
    void setText(tessavine::TextField field, const std::string& text) override {
        texts_[static_cast<std::size_t>(field)] = text;
    }
    int boldState() const override { return tessavine::kUnticked; }
    void setBoldState(int) override {}
    int italicizeState() const override { return tessavine::kUnticked; }
    void setItalicizeState(int) override {}
    int slotBoxState(int index) const override {
        return index == 0 ? tessavine::kTicked : tessavine::kUnticked;
    }
    void setSlotBoxState(int, int) override {}

  private:
    std::array<std::string, tessavine::kInitialFieldTexts.size()> texts_;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_first_settings OUT\n";
        return 1;
    }
    InitialControls controls;
    controls.setText(tessavine::TextField::fontname1, tessavine::kBundledFontName);
    const std::string bytes = tessavine::encodeSettings(tessavine::buildSettingsRecord(controls));
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "make_first_settings: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
