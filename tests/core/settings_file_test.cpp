// settings.bin as other programs and other things can leave it: written elsewhere in the
// Windows code page, a pipe or a device in its place, a symbolic link (replaced by a save, never
// written through), the leftovers of a save that was cut short.

#include <chrono>
#include <future>

#include "core/utf8.h"
#include "support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessavine {
namespace {

using namespace testing_support;
using namespace std::chrono_literals;

using SettingsFromElsewhere = SettingsFolder;

TEST_F(SettingsFromElsewhere, EveryHighByteOfTheWindowsCodePageReadsAsItsCharacter) {
    // What each byte from 0x80 to 0xFF means in Windows-1252. The five bytes the code page leaves
    // undefined (81, 8D, 8F, 90, 9D) stand for the control character of the same number, as
    // Windows itself converts them, so that they survive a load and a save unchanged.
    // From 0xA0 on, every byte is the code point of the same number.
    const char32_t low[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
    };
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    // A whole file as another program writes it: every entry, the high bytes in the font name
    // and again in the last text field.
    std::string file =
        entry(high) + entry("24") + entry("0.8") + entry("1.0") + entry("2.5") + entry(high);
    for (int i = 6; i < 23; ++i) {
        file += entry("0");
    }
    file += entry("");
    ASSERT_EQ(file.size(), 2u * 24 + 2 * 128 + 2 + 3 + 3 + 3 + 17);
    writeBytes(settings(), file);

    restore();
    ASSERT_TRUE(prompts.messages.empty());
    for (const std::string& text : {controls.texts[0], controls.texts[5]}) {
        const std::u32string decoded = decodeUtf8(text);
        ASSERT_EQ(decoded.size(), 128u);
        for (std::size_t i = 0; i < 128; ++i) {
            EXPECT_EQ(static_cast<std::uint32_t>(decoded[i]), i < 32 ? low[i] : 0x80 + i)
                << "byte 0x" << std::hex << 0x80 + i;
        }
    }
    // Saved again, the file is the same byte for byte.
    ASSERT_TRUE(store());
    EXPECT_EQ(readBytes(settings()), file);
}

#ifndef _WIN32
// Runs the start-up read with a deadline; a read stuck on a pipe is freed by a writer that
// opens and closes the pipe, and the test fails.
void restoreWithin(const std::function<void()>& restore, const fs::path& settings) {
    auto done = std::async(std::launch::async, restore);
    if (done.wait_for(10s) != std::future_status::ready) {
        const int writer = ::open(settings.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
        done.wait();
        FAIL() << "the start waited on " << settings;
    }
    done.get();
}

TEST_F(SettingsFromElsewhere, APipeOrADeviceIsReportedAndTheWindowOpensWithItsUsualValues) {
    const std::function<void(const fs::path&)> makers[] = {
        [](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); },
        [](const fs::path& at) { fs::create_symlink("/dev/zero", at); },
        [](const fs::path& at) { fs::create_symlink("/dev/urandom", at); },
    };
    for (const auto& make : makers) {
        fs::remove(settings());
        make(settings());
        controls = FakeControls();
        prompts.messages.clear();
        restoreWithin([this] { restore(); }, settings());
        EXPECT_EQ(controls.texts, FakeControls().texts);
        EXPECT_THAT(prompts.messages, ElementsAre(AllOf(HasSubstr(program.text("settings.bin")),
                                                        HasSubstr("not an ordinary file"))));
    }
}
#endif

TEST_F(SettingsFromElsewhere, AHugeFileIsReadOnlyAsFarAsTheEntriesGo) {
    // A settings file followed by gigabytes of nothing (a sparse file: no disk space taken).
    writeBytes(settings(), entry("Huge.ttf") + entry("12"));
    std::error_code error;
    fs::resize_file(settings(), 6'000'000'000, error);
    if (error) {
        GTEST_SKIP() << "this file system cannot hold a sparse file of 6 GB: " << error.message();
    }
    restore();
    EXPECT_TRUE(prompts.messages.empty());
    // The rest of the file reads as empty entries, as zero bytes do.
    EXPECT_THAT(controls.texts, ElementsAre("Huge.ttf", "12", "", "", "", ""));
}

class SettingsThroughALink : public SettingsFromElsewhere {
  protected:
    void SetUp() override {
        std::error_code error;
        fs::create_symlink("kept", program.path / "probe", error);
        if (error) {
            GTEST_SKIP() << "this system does not let us make symbolic links: " << error.message();
        }
        fs::remove(program.path / "probe");
        fs::create_directory(program.path / "kept");
        controls.texts = {"Linked.ttf", "30", "1.5", "1.0", "0.5", "2"};
    }
    // The window comes back from the file as it stands.
    void expectRestored() {
        FakeControls restored;
        restore(restored);
        EXPECT_EQ(restored.texts, controls.texts);
    }
};

// A settings.bin planted as a link must not let closing the window change, or create, a file
// elsewhere: the save puts a plain file in the link's place.
TEST_F(SettingsThroughALink, ASaveReplacesTheLinkAndLeavesWhatItLedToUntouched) {
    const fs::path kept = program.path / "kept";
    struct Case {
        const char* what;
        std::vector<std::pair<fs::path, fs::path>> links;  // link, where it leads
        fs::path target;                                   // the file the link ends at
        bool targetExists;
    };
    const Case cases[] = {
        {"relative", {{"settings.bin", "kept/real.bin"}}, kept / "real.bin", true},
        {"absolute", {{"settings.bin", kept / "real.bin"}}, kept / "real.bin", true},
        {"chain",
         {{"settings.bin", "kept/second.bin"}, {"kept/second.bin", "real.bin"}},
         kept / "real.bin",
         true},
        {"dangling", {{"settings.bin", "kept/new.bin"}}, kept / "new.bin", false},
        {"loop", {{"settings.bin", "loop.bin"}, {"loop.bin", "settings.bin"}}, {}, false},
        {"to a folder", {{"settings.bin", "kept"}}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(kept)) {
            fs::remove(entry.path());
        }
        fs::remove(settings());
        fs::remove(program.path / "loop.bin");
        if (c.targetExists) {
            writeBytes(c.target, "old");
        }
        for (const auto& [link, leadsTo] : c.links) {
            fs::create_symlink(leadsTo, program.path / link);
        }
        const std::string keptBefore = listing(kept);

        ASSERT_TRUE(store());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(settings())));
        EXPECT_EQ(readBytes(settings()).substr(0, 12), entry("Linked.ttf"));
        if (c.targetExists) {
            EXPECT_EQ(readBytes(c.target), "old");
        }
        if (!c.target.empty() && !c.targetExists) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(c.target)));
        }
        EXPECT_EQ(listing(kept), keptBefore);
        expectRestored();
        EXPECT_THAT(listing(program.path), Not(HasSubstr(".tmp")));
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SettingsFromElsewhere, TheStartRemovesOnlyTheTemporaryFilesOfSavesCutShort) {
    const auto longAgo = fs::file_time_type::clock::now() - 1h;
    // name, old, expected to stay
    const std::tuple<const char*, bool, bool> files_[] = {
        {".settings.bin.tessavine-123.tmp", true, false},
        {".settings.bin.tessavine-4567890123.tmp", true, false},
        {".settings.bin.tessavine-99.tmp", false, true},  // a save may be writing it now
        {".settings.bin.tmp", true, true},                // not a name of ours
        {".settings.bin.tessavine-12x.tmp", true, true},
        {".settings.bin.tessavine-.tmp", true, true},
        {"settings.bin.tessavine-5.tmp", true, true},
        {".ltn0.pgf.tessavine-5.tmp", true, true},  // another file's
    };
    for (const auto& [name, old, stays] : files_) {
        writeBytes(program.path / name, "partial");
        if (old) {
            fs::last_write_time(program.path / name, longAgo);
        }
    }
    fs::create_directory(program.path / ".settings.bin.tessavine-7.tmp");  // a folder stays
    fs::last_write_time(program.path / ".settings.bin.tessavine-7.tmp", longAgo);
    writeBytes(settings(), entry("Kept.ttf"));

    restore();
    EXPECT_EQ(controls.texts[0], "Kept.ttf");
    EXPECT_EQ(listing(program.path),
              ".ltn0.pgf.tessavine-5.tmp .settings.bin.tessavine-.tmp "
              ".settings.bin.tessavine-12x.tmp .settings.bin.tessavine-7.tmp "
              ".settings.bin.tessavine-99.tmp .settings.bin.tmp settings.bin "
              "settings.bin.tessavine-5.tmp");
    EXPECT_TRUE(prompts.messages.empty());
}

// Saves write beside settings.bin itself; files of our temporary pattern beside what a link
// leads to are someone else's, and the start must not reach through the link to delete them.
TEST_F(SettingsThroughALink, TheStartRemovesLeftoversBesideTheLinkOnly) {
    fs::create_symlink("kept/real.bin", settings());
    writeBytes(program.path / "kept" / "real.bin", entry("Real.ttf"));
    const auto longAgo = fs::file_time_type::clock::now() - 1h;
    for (const fs::path& leftover : {program.path / "kept" / ".real.bin.tessavine-42.tmp",
                                     program.path / "kept" / ".settings.bin.tessavine-42.tmp",
                                     program.path / ".settings.bin.tessavine-42.tmp"}) {
        writeBytes(leftover, "partial");
        fs::last_write_time(leftover, longAgo);
    }
    restore();
    EXPECT_EQ(controls.texts[0], "Real.ttf");
    EXPECT_EQ(listing(program.path / "kept"),
              ".real.bin.tessavine-42.tmp .settings.bin.tessavine-42.tmp real.bin");
    EXPECT_EQ(listing(program.path), "kept settings.bin");
}

}  // namespace
}  // namespace tessavine
