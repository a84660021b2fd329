#pragma once

// What every core test uses: temporary folders with real files, and fakes of the window, its
// timer, its message boxes and the converter process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "core/file_platform.h"
#include "core/free_space.h"
#include "core/main_controls.h"
#include "core/process_starter.h"
#include "core/prompts.h"
#include "core/settings_file.h"
#include "core/std_file_system.h"
#include "pgf/pgf_writer.h"

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tessavine::testing_support {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::HasSubstr;

// A fresh folder under the system's temporary folder, removed with its contents afterwards.
struct TempFolder {
    TempFolder() {
        std::random_device random;
        do {
            path = fs::temp_directory_path() / ("tessavine-test-" + std::to_string(random()));
        } while (!fs::create_directory(path));
    }
    ~TempFolder() { fs::remove_all(path, ignored); }
    // The folder, or a name inside it, as the UTF-8 text the core takes.
    std::string text(const std::string& name = {}) const {
        return platform::utf8FromPath(name.empty() ? path : path / platform::pathFromUtf8(name));
    }
    fs::path path;
    std::error_code ignored;  // a folder that cannot be removed is left behind
};

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
// A font the PGF reader reads whole, holding `codes` (ascending), each a small block of ink, told
// apart from others by `mark` in its name and, when `length` is larger than the font, made that
// long by glyph data nothing points to.
inline std::string pgfOfCodes(const std::string& mark, const std::u16string& codes,
                              std::size_t length = 0) {
    pgf::PgfFont font;
    font.name = mark.substr(0, 63);
    font.style = "Regular";
    font.ascender = 13 * 64;
    font.descender = -3 * 64;
    for (const char16_t code : codes) {
        pgf::PgfGlyph glyph;
        glyph.code = code;
        glyph.image = {4, 1, 0, 0, std::vector<std::uint8_t>(4, 15)};
        glyph.shadow = {2, 1, 0, 0, std::vector<std::uint8_t>(2, 8)};
        glyph.metrics = {{4 * 64, 1 * 64}, {0, 0}, {0, 18}, {5 * 64, 1094}};
        font.glyphs.push_back(glyph);
    }
    const std::vector<std::uint8_t> bytes = pgf::writePgf(font);
    std::string text(bytes.begin(), bytes.end());
    if (text.size() < length) {
        text.resize(length, '\0');
    }
    return text;
}
// A small font of '_' alone.
inline std::string testPgf(const std::string& mark, std::size_t length = 0) {
    return pgfOfCodes(mark, u"_", length);
}
// In one piece through the stream buffer: a byte at a time is slow in the unoptimised test build,
// and some tests fingerprint whole program folders, programs included.
inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}
// The names in a folder, sorted, dot-files included, so that a left-over temporary file shows.
inline std::string listing(const fs::path& folder) {
    std::string out;
    for (const auto& entry : std::set<fs::path>(fs::directory_iterator(folder), {})) {
        out += (out.empty() ? "" : " ") + platform::utf8FromPath(entry.filename());
    }
    return out;
}

// Sets or clears the Linux immutable flag, which stops deletion and replacement even for root.
// False where that cannot be done; the test then skips.
inline bool setUndeletable([[maybe_unused]] const fs::path& path, [[maybe_unused]] bool on) {
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
#else
    return false;
#endif
}

// Free space as the test says: the answers in turn, the last one repeated; unknown unless told.
struct ScriptedFreeSpace final : FreeSpace {
    std::vector<std::optional<std::uintmax_t>> answers{std::nullopt};
    mutable std::size_t asked = 0;
    std::optional<std::uintmax_t> availableBytes(const std::string&) const override {
        return answers[std::min(asked++, answers.size() - 1)];
    }
};

// The entries of a folder, sorted; none when there is no such folder.
inline std::vector<fs::path> sortedEntries(const fs::path& folder) {
    std::vector<fs::path> found;
    if (fs::is_directory(folder)) {
        found.assign(fs::directory_iterator(folder), {});
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct FakeControls final : MainControls {
    std::array<std::string, 6> texts{"Example.ttf", "24", "0.8", "1.0", "2.5", "1.2"};
    int bold = kUnticked;
    int italic = kUnticked;
    std::array<int, kSlotCount + 1> boxes{kTicked};  // box 0 ticked, the rest unticked

    static std::size_t at(auto i) { return static_cast<std::size_t>(i); }
    std::string text(TextField f) const override { return texts[at(f)]; }
    void setText(TextField f, const std::string& text) override { texts[at(f)] = text; }
    int boldState() const override { return bold; }
    void setBoldState(int state) override { bold = state; }
    int italicizeState() const override { return italic; }
    void setItalicizeState(int state) override { italic = state; }
    int slotBoxState(int i) const override { return boxes.at(at(i)); }
    void setSlotBoxState(int i, int state) override { boxes.at(at(i)) = state; }
};

struct FakeTimer final : Timer {
    bool active = false;
    int stops = 0;
    void start(int) override { active = true; }
    void stop() override { active = false, ++stops; }
    bool isActive() const override { return active; }
};

// Records messages and questions ("title | text") as shown; every question gets `answer`. A
// question must never wait while `timer` (when set) runs on. `whileAsking` is what happens in the
// world while the question is open.
struct ScriptedPrompts final : Prompts {
    bool answer = true;
    const Timer* timer = nullptr;
    std::function<void()> whileAsking;
    std::vector<std::string> messages, questions, warnings;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showWarning(const std::string& text) override { warnings.push_back(text); }
    bool askYesNo(const std::string& title, const std::string& text) override {
        questions.push_back(title + " | " + text);
        EXPECT_FALSE(timer && timer->isActive()) << "the timer runs during: " << title;
        if (whileAsking) {
            whileAsking();
        }
        return answer;
    }
};

// A converter that ends when the test says. The session owns it: a test may reach it through
// the starter only as long as the session keeps it, that is until the next Execute.
struct FakeConverter final : RunningConverter {
    bool finished = false;
    ConverterOutcome result;
    std::function<void()> callback;
    bool hasFinished() const override { return finished; }
    ConverterOutcome outcome() const override { return result; }
    // The session leaves a callback only while the converter runs.
    void whenFinished(std::function<void()> call) override { callback = std::move(call); }
    // Writes the output file first, as a converter would, when one is named.
    void finish(ConverterOutcome how, const fs::path& output = {},
                const std::string& font = testPgf("converted")) {
        if (!output.empty()) {
            writeBytes(output, font);
        }
        result = std::move(how);
        finished = true;
        if (auto call = std::exchange(callback, nullptr)) {
            call();
        }
    }
};

struct FakeProcessStarter final : ProcessStarter {
    std::vector<ProcessCommand> commands;
    FakeConverter* last = nullptr;
    std::string refuseWith;  // when not empty, nothing starts and this is the reason
    StartResult start(const ProcessCommand& command) override {
        commands.push_back(command);
        auto converter = refuseWith.empty() ? std::make_unique<FakeConverter>() : nullptr;
        last = converter.get();
        return {std::move(converter), refuseWith};
    }
};

// A program folder for settings.bin, read and written by the real file system.
class SettingsFolder : public testing::Test {
  protected:
    fs::path settings() const { return program.path / "settings.bin"; }
    // An entry as the file holds it: the length in two bytes, low byte first, then the bytes.
    static std::string entry(const std::string& bytes) {
        return std::string{static_cast<char>(bytes.size() & 0xFF),
                           static_cast<char>(bytes.size() >> 8)} +
               bytes;
    }
    void restore(MainControls& into) { restoreSettings(files, program.text(), into, prompts); }
    void restore() { restore(controls); }
    bool store() { return storeSettings(files, program.text(), controls, prompts); }

    TempFolder program;
    StdFileSystem files;
    FakeControls controls;
    ScriptedPrompts prompts;
};

}  // namespace tessavine::testing_support
