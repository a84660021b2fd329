#include "core/conversion_session.h"

#include "core/paths.h"
#include "core/std_file_system.h"
#include "support.h"

namespace tessavine {
namespace {

using namespace testing_support;

const char* const kStick = "PSP/GAME";
const char* const kFlash0 = "kd";

// The program folder with the converter and the font in it, the drives as folders "d" to "z" of
// another temporary folder, and the session between them.
struct Scene {
    Scene() {
        writeBytes(program.path / "ttf2pgf.exe", "converter");
        writeBytes(program.path / "Example.ttf", "font");
        prompts.timer = &timer;
        for (char drive = 'd'; drive <= 'z'; ++drive) {
            roots.push_back(drives.text(std::string(1, drive)));
        }
    }
    fs::path slot(int n) const { return program.path / ("ltn" + std::to_string(n) + ".pgf"); }
    fs::path fonts(char drive) const { return drives.path / std::string(1, drive) / "font"; }
    void mark(char drive, const char* m) { fs::create_directories(fonts(drive).parent_path() / m); }

    TempFolder program, drives;
    StdFileSystem files;
    FakeProcessStarter starter;
    FakeControls controls;
    FakeTimer timer;
    ScriptedPrompts prompts;
    std::vector<std::string> roots;
    ConversionSession session{
        {files, starter, prompts, controls, timer}, program.text(), [this] { return roots; }};
};

class Session : public testing::Test, protected Scene {};

// --- Execute -------------------------------------------------------------------------------

TEST(Execute, DeletesStaleSlotsThenStopsAtAMissingFileOrStartsWithTheCorrectedTexts) {
    const std::tuple<bool, std::string, std::string> cases[] = {
        {true, "Example.ttf", ""},
        {true, "Exa*.ttf", ""},
        {false, "Example.ttf", "TTF2PGF.EXE"},
        {false, "Missing.ttf", "TTF2PGF.EXE"},
        {true, "Missing.ttf", "font name"},
        {true, "", "font name"}};
    for (const auto& [converterThere, font, message] : cases) {
        SCOPED_TRACE(font + (converterThere ? "" : ", no converter"));
        Scene s;
        if (!converterThere) {
            fs::remove(s.program.path / "ttf2pgf.exe");
        }
        // advance1 is corrected in its field although it never reaches the command line
        s.controls.texts = {font, "24", "3", "junk", "0", ""};
        s.controls.bold = kGreyed;
        s.controls.italic = kTicked;
        writeBytes(s.slot(3), "old");
        writeBytes(s.slot(15), "old");

        s.session.Command1_Click();

        EXPECT_FALSE(fs::exists(s.slot(3)) || fs::exists(s.slot(15)));
        const bool ran = message.empty();
        EXPECT_EQ(s.prompts.messages.size(), ran ? 0u : 1u);
        EXPECT_THAT(s.prompts.messages, testing::Each(HasSubstr(message)));
        EXPECT_THAT(s.controls.texts, ElementsAre(font, "24", ran ? "2.0" : "3",
                                                  ran ? "0.25" : "junk", ran ? "0.1" : "0", ""));
        EXPECT_EQ(s.timer.active, ran);
        EXPECT_EQ(s.timer.stops, 0);
        ASSERT_EQ(s.starter.commands.size(), ran ? 1u : 0u);
        if (ran) {
            const ProcessCommand& command = s.starter.commands[0];
            EXPECT_EQ(command.commandLine, "ttf2pgf.exe \"" + font + "\" ltn0.pgf 24ih2.0 b0.1i");
            EXPECT_EQ(command.program, joinPath(s.program.text(), "ttf2pgf.exe"));
            EXPECT_EQ(command.workingFolder, s.program.text());
        }
    }
}

TEST_F(Session, AnUndeletableSlotFileEndsExecuteWithAMessage) {
    writeBytes(slot(0), "old");
    writeBytes(slot(3), "old");
    if (!setUndeletable(slot(3), true)) {
        GTEST_SKIP() << "this system cannot make a file undeletable for the test";
    }
    session.Command1_Click();
    setUndeletable(slot(3), false);

    EXPECT_THAT(prompts.messages, ElementsAre(HasSubstr("ltn3.pgf")));
    EXPECT_FALSE(fs::exists(slot(0)));
    EXPECT_TRUE(fs::exists(slot(3)));
    EXPECT_TRUE(starter.commands.empty());
}

TEST_F(Session, AConverterThatCannotStartIsReportedAndDisarmsTheTimer) {
    controls.boxes[3] = kTicked;
    session.Command1_Click();  // a first converter starts, arms the timer and ends well
    starter.last->finish({}, slot(0));
    starter.refuseWith = "The program is damaged.";
    session.Command1_Click();
    EXPECT_THAT(prompts.messages, ElementsAre(HasSubstr("The program is damaged.")));
    EXPECT_FALSE(timer.active);

    session.Timer1_Timer();  // the first converter is no longer awaited
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(fs::exists(slot(3)));
}

// --- The tick ------------------------------------------------------------------------------

TEST(Tick, CopiesLtn0ToEveryTickedSlotUnlessTheConversionOrACopyFails) {
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    using Boxes = std::vector<std::pair<int, int>>;
    // box states (16 is Create All); how the converter ended and whether it wrote ltn0.pgf; a
    // slot with a folder in its place (0: none); the slot files made; a part of the one message
    // (none: the device is offered)
    const std::tuple<Boxes, ConverterOutcome, bool, int, std::vector<int>, std::string> cases[] = {
        {{{16, kTicked}}, {}, true, 0, all, ""},
        {{{16, kTicked}, {0, kUnticked}}, {}, true, 0, all, ""},
        {{{3, kTicked}, {7, kTicked}}, {}, true, 0, {0, 3, 7}, ""},
        {{{15, kTicked}, {0, kUnticked}}, {}, true, 0, {0, 15}, ""},  // ltn0 remains
        {{{4, kGreyed}, {16, kGreyed}}, {}, true, 0, {0}, ""},
        {{{3, kTicked}, {5, kTicked}, {7, kTicked}}, {}, true, 5, {0, 3}, "ltn5.pgf"},
        {{{16, kTicked}}, {.exitCode = 3, .errorText = "not a font"}, true, 0, {0}, "exit code 3"},
        {{{16, kTicked}}, {.crashed = true, .errorText = ""}, true, 0, {0}, "stopped unexpectedly"},
        {{{16, kTicked}}, {.started = false, .errorText = "no"}, false, 0, {}, "could not be run"},
        {{{16, kTicked}}, {}, false, 0, {}, "without writing ltn0.pgf"}};
    for (const auto& [boxes, outcome, writes, folderAt, expected, message] : cases) {
        SCOPED_TRACE(message);
        Scene s;
        for (const auto& [box, state] : boxes) {
            s.controls.boxes[FakeControls::at(box)] = state;
        }
        if (folderAt != 0) {
            fs::create_directory(s.slot(folderAt));
        }
        s.mark('d', kStick);
        s.prompts.answer = false;
        s.session.Command1_Click();
        writeBytes(s.slot(3), "an older, longer file that a copy must replace");
        s.starter.last->finish(outcome, writes ? s.slot(0) : fs::path(), "the font");
        s.session.Timer1_Timer();
        std::vector<int> made;
        for (int n = 0; n < kSlotCount; ++n) {
            if (fs::is_regular_file(s.slot(n)) && readBytes(s.slot(n)) == "the font") {
                made.push_back(n);
            }
        }
        EXPECT_EQ(made, expected);
        EXPECT_EQ(s.prompts.messages.size(), message.empty() ? 0u : 1u);
        EXPECT_THAT(s.prompts.messages, testing::Each(testing::AllOf(
                                            HasSubstr(message), HasSubstr(outcome.errorText))));
        EXPECT_EQ(s.prompts.questions.size(), message.empty() ? 1u : 0u);
        EXPECT_FALSE(s.timer.active);
    }
}

// A converter of an earlier Execute may end after a later Execute started another (the window
// never stops one): its end must not count as the end of the run now going on, whose tick waits.
TEST_F(Session, AnEarlierConvertersEndDoesNotEndTheRunAfterIt) {
    mark('d', kStick);
    prompts.answer = false;
    session.Command1_Click();
    std::function<void()> earlierEnd = starter.last->callback;
    ASSERT_TRUE(earlierEnd);
    session.Command1_Click();
    earlierEnd();
    session.Timer1_Timer();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_FALSE(fs::exists(slot(0)));
    // The tick goes on when the current converter ends.
    starter.last->finish({}, slot(0));
    EXPECT_EQ(prompts.questions.size(), 1u);
}

// --- The device step -----------------------------------------------------------------------

TEST(DeviceStep, OffersTheFirstMarkedDriveWithItsOwnQuestionOnceTheConverterHasEnded) {
    // the marks made, the drive offered (0: none), whether as FLASH0, and the answer; No still
    // makes the font folder, Yes copies the slot files made (the copy itself: device_copy_test)
    const std::tuple<std::vector<std::pair<char, const char*>>, char, bool, bool> cases[] = {
        {{{'f', kStick}}, 'f', false, true},
        {{{'f', kStick}}, 'f', false, false},
        {{{'e', kFlash0}}, 'e', true, true},
        {{{'g', kStick}, {'e', kStick}}, 'e', false, true},
        {{{'k', kStick}, {'h', kFlash0}}, 'h', true, true},
        {{{'d', kFlash0}, {'d', kStick}}, 'd', false, true},  // both marks: a Memory Stick
        {{}, 0, false, true}};
    for (const auto& [marks, offered, flash0, yes] : cases) {
        SCOPED_TRACE(offered);
        Scene s;
        for (const auto& [drive, mark] : marks) {
            s.mark(drive, mark);
        }
        s.prompts.answer = yes;
        s.controls.boxes[3] = kTicked;
        s.session.Command1_Click();
        s.session.Timer1_Timer();  // the converter still runs: the tick waits for its end
        EXPECT_FALSE(s.timer.active);
        s.starter.last->finish({}, s.slot(0));
        for (char drive = 'd'; drive <= 'z'; ++drive) {
            EXPECT_EQ(fs::exists(s.fonts(drive)), drive == offered) << drive;
        }
        EXPECT_FALSE(s.timer.active);
        EXPECT_TRUE(s.prompts.messages.empty());
        if (offered == 0) {
            EXPECT_TRUE(s.prompts.questions.empty());
            continue;
        }
        const std::string device = flash0 ? "FLASH0" : "Memory Stick";
        const std::string folder =
            flash0 ? "FLASH0:\\font\\" : joinPath(s.drives.text(std::string(1, offered)), "font\\");
        EXPECT_THAT(s.prompts.questions,
                    ElementsAre("Copy font file(s) to " + device +
                                "? | Do you want to copy the font file(s) to " + folder));
        EXPECT_EQ(listing(s.fonts(offered)), yes ? "ltn0.pgf ltn3.pgf" : "");
    }
}

}  // namespace
}  // namespace tessavine
