#include "core/conversion_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/paths.h"
#include "core/std_file_system.h"
#include "fakes.h"
#include "temp_folder.h"
#include "undeletable.h"

namespace fs = std::filesystem;

namespace tessavine {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using namespace testing_support;

const char* const kConverterMessage =
    "Check that TTF2PGF.EXE exists and is in the same folder as the program.";
const char* const kFontMessage =
    "Check that your font name is correct, the font exists, and is in the same folder as the "
    "program.";

ConverterOutcome exitedWith(int code, std::string errorText = {}) {
    ConverterOutcome outcome;
    outcome.exitCode = code;
    outcome.errorText = std::move(errorText);
    return outcome;
}

// The program folder with the converter and the font in it, the drives as folders "d" to "z"
// (and "c", which is never offered) of another temporary folder, and the session between them.
class SessionTest : public testing::Test {
  protected:
    SessionTest() {
        writeBytes(program.path() / "ttf2pgf.exe", "converter");
        writeBytes(program.path() / "Example.ttf", "font");
        for (char letter = 'd'; letter <= 'z'; ++letter) {
            roots.push_back(drives.text(std::string(1, letter)));
        }
    }

    ConversionSession& session() {
        if (!session_) {
            session_ = std::make_unique<ConversionSession>(
                SessionServices{files, starter, prompts, controls, timer}, program.text(), [this] {
                    ++rootScans;
                    return roots;
                });
        }
        return *session_;
    }

    void endSession() { session_.reset(); }
    fs::path slot(int n) const { return program.path() / ("ltn" + std::to_string(n) + ".pgf"); }
    fs::path drive(char letter) const { return drives.path() / std::string(1, letter); }
    void markMemoryStick(char letter) { fs::create_directories(drive(letter) / "PSP" / "GAME"); }
    void markFlash0(char letter) { fs::create_directories(drive(letter) / "kd"); }

    // Execute, the converter writes ltn0.pgf and ends well, the timer fires.
    void convert(const std::string& font = "PGF font bytes") {
        session().Command1_Click();
        ASSERT_EQ(starter.converters.size(), 1u);
        starter.last().finish(exitedWith(0), slot(0), font);
        session().Timer1_Timer();
    }

    TempFolder program;
    TempFolder drives;
    StdFileSystem files;
    FakeProcessStarter starter;
    FakeControls controls;
    FakeTimer timer;
    ScriptedPrompts prompts{timer};
    std::vector<std::string> roots;
    int rootScans = 0;

  private:
    std::unique_ptr<ConversionSession> session_;
};

// --- Execute -------------------------------------------------------------------------------

struct CheckCase {
    std::string name;
    bool converterThere;
    std::string fontName;
    std::vector<std::string> messages;
};

class ExecuteChecks : public SessionTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(ExecuteChecks, DeleteStaleSlotsFirstAndStopAtAMissingFile) {
    const CheckCase& c = GetParam();
    if (!c.converterThere) {
        fs::remove(program.path() / "ttf2pgf.exe");
    }
    controls.texts[0] = c.fontName;
    controls.texts[2] = "3";  // out of range: corrected only when both checks pass
    writeBytes(slot(3), "old");
    writeBytes(slot(15), "old");

    session().Command1_Click();

    EXPECT_FALSE(fs::exists(slot(3)));
    EXPECT_FALSE(fs::exists(slot(15)));
    EXPECT_EQ(prompts.messages(), c.messages);
    const bool ran = c.messages.empty();
    EXPECT_EQ(starter.commands.size(), ran ? 1u : 0u);
    EXPECT_EQ(controls.texts[2], ran ? "2.0" : "3");
    EXPECT_EQ(timer.starts, ran ? 1 : 0);
    EXPECT_EQ(timer.stops, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExecuteChecks,
    testing::Values(CheckCase{"AllThere", true, "Example.ttf", {}},
                    CheckCase{"ConverterMissing", false, "Example.ttf", {kConverterMessage}},
                    CheckCase{"ConverterAndFontMissing", false, "Missing.ttf", {kConverterMessage}},
                    CheckCase{"FontMissing", true, "Missing.ttf", {kFontMessage}},
                    CheckCase{"FontNameEmpty", true, "", {kFontMessage}},
                    CheckCase{"FontNameIsAFolder", true, "fonts", {kFontMessage}},
                    CheckCase{"FontFoundByPattern", true, "Exa*.ttf", {}}),
    [](const auto& test) { return test.param.name; });

TEST_F(SessionTest, ExecuteStartsTheConverterWithTheCorrectedTextsAndArmsTheTimer) {
    fs::create_directory(program.path() / "fonts");
    controls.texts[2] = "3";     // horizontal1
    controls.texts[4] = "0";     // blur1
    controls.texts[5] = "";      // intensity1: empty is in range
    controls.texts[3] = "junk";  // advance1: corrected, but never on the command line
    controls.bold = kGreyed;
    controls.italicize = kTicked;

    session().Command1_Click();

    ASSERT_EQ(starter.commands.size(), 1u);
    const ProcessCommand& command = starter.commands[0];
    EXPECT_EQ(command.commandLine, R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24ih2.0 b0.1i)");
    EXPECT_THAT(command.arguments, ElementsAre("Example.ttf", "ltn0.pgf", "24ih2.0", "b0.1i"));
    EXPECT_EQ(command.program, joinPath(program.text(), "ttf2pgf.exe"));
    EXPECT_EQ(command.workingFolder, program.text());
    EXPECT_EQ(controls.texts[2], "2.0");
    EXPECT_EQ(controls.texts[3], "0.25");
    EXPECT_EQ(controls.texts[4], "0.1");
    EXPECT_EQ(controls.texts[5], "");
    EXPECT_TRUE(timer.active);
    EXPECT_EQ(timer.interval, 1000);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SessionTest, AnUndeletableSlotFileEndsTheRunWithAMessage) {
    for (int n : {0, 3, 9}) {
        writeBytes(slot(n), "old");
    }
    if (!makeUndeletable(slot(3))) {
        GTEST_SKIP() << "this system cannot make a file undeletable for the test";
    }
    session().Command1_Click();
    makeDeletable(slot(3));

    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_THAT(prompts.messages()[0], HasSubstr("ltn3.pgf"));
    EXPECT_THAT(prompts.messages()[0], HasSubstr("Operation not permitted"));
    EXPECT_FALSE(fs::exists(slot(0)));
    EXPECT_TRUE(fs::exists(slot(3)));
    EXPECT_TRUE(starter.commands.empty());
    EXPECT_EQ(timer.starts, 0);
}

TEST_F(SessionTest, AConverterThatCannotStartIsReportedAndGivesNoTick) {
    starter.refuseWith = "The program ttf2pgf.exe is damaged.";
    controls.boxes[3] = kTicked;
    markMemoryStick('d');

    session().Command1_Click();
    EXPECT_THAT(prompts.messages(), ElementsAre(HasSubstr("The program ttf2pgf.exe is damaged.")));
    EXPECT_FALSE(timer.active);

    writeBytes(slot(0), "from somewhere");
    session().Timer1_Timer();  // a tick that was armed before must find nothing to do
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_FALSE(fs::exists(slot(3)));
}

// --- The tick: slot copies -----------------------------------------------------------------

struct SlotCase {
    std::string name;
    std::vector<std::pair<int, int>> boxStates;  // box (16 is Create All) and its state
    std::vector<int> madeSlots;                  // slot files after the tick
};

class SlotCopies : public SessionTest, public testing::WithParamInterface<SlotCase> {};

TEST_P(SlotCopies, CopyLtn0ToEveryTickedSlot) {
    const SlotCase& c = GetParam();
    for (const auto& [box, state] : c.boxStates) {
        controls.boxes[static_cast<std::size_t>(box)] = state;
    }
    const auto boxesBefore = controls.boxes;

    convert("the font");

    std::vector<int> made;
    for (int n = 0; n < kSlotCount; ++n) {
        if (fs::exists(slot(n))) {
            made.push_back(n);
            EXPECT_EQ(readBytes(slot(n)), "the font") << n;
        }
    }
    EXPECT_EQ(made, c.madeSlots);
    EXPECT_FALSE(timer.active);
    EXPECT_TRUE(prompts.shown.empty());  // no device attached
    if (controls.boxes[kCreateAllBox] == kTicked) {
        for (int n = 1; n <= kCreateAllBox; ++n) {
            EXPECT_EQ(controls.boxes[static_cast<std::size_t>(n)], kTicked) << n;
        }
        EXPECT_EQ(controls.boxes[0], boxesBefore[0]);
    } else {
        EXPECT_EQ(controls.boxes, boxesBefore);
    }
}

const std::vector<int> kAllSlots = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

INSTANTIATE_TEST_SUITE_P(
    Cases, SlotCopies,
    testing::Values(SlotCase{"CreateAll", {{16, kTicked}}, kAllSlots},
                    SlotCase{
                        "CreateAllBoxZeroUnticked", {{16, kTicked}, {0, kUnticked}}, kAllSlots},
                    SlotCase{"BoxesThreeAndSeven", {{3, kTicked}, {7, kTicked}}, {0, 3, 7}},
                    SlotCase{"BoxZeroUnticked", {{15, kTicked}, {0, kUnticked}}, {0, 15}},
                    SlotCase{"GreyedBoxesCountForNothing", {{4, kGreyed}, {16, kGreyed}}, {0}},
                    SlotCase{"NothingTicked", {}, {0}}),
    [](const auto& test) { return test.param.name; });

TEST_F(SessionTest, TheTickReplacesASlotFileAndCountsTheBoxesAsTheyStandThen) {
    controls.boxes[3] = kTicked;
    session().Command1_Click();
    writeBytes(slot(3), "an older, longer file that must go");
    controls.boxes[5] = kTicked;  // ticked during the interval
    starter.last().finish(exitedWith(0), slot(0), "new");
    session().Timer1_Timer();
    EXPECT_EQ(readBytes(slot(3)), "new");
    EXPECT_EQ(readBytes(slot(5)), "new");
}

TEST_F(SessionTest, AFolderInPlaceOfASlotStopsTheCopiesWithAMessage) {
    controls.boxes[3] = kTicked;
    controls.boxes[5] = kTicked;
    controls.boxes[7] = kTicked;
    fs::create_directory(slot(5));
    markMemoryStick('d');

    convert();

    EXPECT_TRUE(fs::exists(slot(3)));
    EXPECT_FALSE(fs::exists(slot(7)));
    ASSERT_EQ(prompts.shown.size(), 1u);  // and no question about a device
    EXPECT_THAT(prompts.messages()[0], HasSubstr("ltn5.pgf"));
    EXPECT_THAT(prompts.messages()[0], HasSubstr("Is a directory"));
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(fs::exists(drive('d') / "font"));
}

// --- The tick: a converter that is late or failed ------------------------------------------

TEST_F(SessionTest, ATickBeforeTheConverterEndsWaitsForIt) {
    controls.boxes[3] = kTicked;
    markMemoryStick('d');
    prompts.answers = {true};
    session().Command1_Click();

    session().Timer1_Timer();
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(fs::exists(slot(3)));
    EXPECT_TRUE(prompts.shown.empty());

    starter.last().finish(exitedWith(0), slot(0), "late");
    EXPECT_EQ(readBytes(slot(3)), "late");
    EXPECT_EQ(readBytes(drive('d') / "font" / "ltn3.pgf"), "late");
    EXPECT_EQ(prompts.questions().size(), 1u);
    EXPECT_FALSE(timer.active);
}

TEST_F(SessionTest, ANewerExecuteReplacesTheConverterThatIsAwaited) {
    controls.boxes[3] = kTicked;
    session().Command1_Click();
    session().Timer1_Timer();  // the first converter is still running
    ConverterScript& first = *starter.converters[0];

    session().Command1_Click();
    ASSERT_EQ(starter.converters.size(), 2u);
    first.finish(exitedWith(0), slot(0), "first");
    EXPECT_FALSE(fs::exists(slot(3)));  // the old converter's end runs no tick
    EXPECT_TRUE(prompts.shown.empty());

    fs::remove(slot(0));
    starter.last().finish(exitedWith(0), slot(0), "second");
    session().Timer1_Timer();
    EXPECT_EQ(readBytes(slot(3)), "second");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SessionTest, AConverterFinishingAfterTheSessionIsGoneDoesNothing) {
    session().Command1_Click();
    session().Timer1_Timer();
    std::shared_ptr<ConverterScript> script = starter.converters[0];
    endSession();
    EXPECT_FALSE(script->handleAlive);
    script->finish(exitedWith(0), slot(0));
    EXPECT_TRUE(prompts.shown.empty());
}

struct FailureCase {
    std::string name;
    ConverterOutcome outcome;
    bool writesOutput;
    std::string expected;  // a part of the message
};

ConverterOutcome crashed() {
    ConverterOutcome outcome;
    outcome.crashed = true;
    outcome.exitCode = 0;
    return outcome;
}

ConverterOutcome neverRan() {
    ConverterOutcome outcome;
    outcome.started = false;
    outcome.errorText = "No such program.";
    return outcome;
}

class FailedConversion : public SessionTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailedConversion, IsReportedOnceAndNothingIsCopied) {
    const FailureCase& c = GetParam();
    controls.boxes[kCreateAllBox] = kTicked;
    markMemoryStick('d');
    session().Command1_Click();
    starter.last().finish(c.outcome, c.writesOutput ? slot(0) : fs::path());
    session().Timer1_Timer();

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_THAT(prompts.messages()[0], HasSubstr("The conversion failed"));
    EXPECT_THAT(prompts.messages()[0], HasSubstr(c.expected));
    if (!c.outcome.errorText.empty()) {
        EXPECT_THAT(prompts.messages()[0], HasSubstr(c.outcome.errorText));
    }
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(fs::exists(slot(1)));
    EXPECT_EQ(controls.boxes[1], kUnticked);
    EXPECT_FALSE(fs::exists(drive('d') / "font"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedConversion,
    testing::Values(FailureCase{"ExitCode",
                                exitedWith(3, "Cannot read Example.ttf: not a font file."), true,
                                "exit code 3"},
                    FailureCase{"Crashed", crashed(), true, "stopped unexpectedly"},
                    FailureCase{"NeverRan", neverRan(), false, "could not be run"},
                    FailureCase{"NoOutput", exitedWith(0), false, "without writing ltn0.pgf"}),
    [](const auto& test) { return test.param.name; });

// --- The device step -----------------------------------------------------------------------

struct DeviceCase {
    std::string name;
    std::vector<std::string> marks;  // "f:ms", "e:kd", also "c:ms" (never offered)
    char offered;                    // 0: no device found
    bool flash0;
};

class DeviceScan : public SessionTest, public testing::WithParamInterface<DeviceCase> {};

TEST_P(DeviceScan, OffersTheFirstMarkedDriveWithItsOwnQuestion) {
    const DeviceCase& c = GetParam();
    for (const std::string& mark : c.marks) {
        const fs::path root = drives.path() / mark.substr(0, 1);
        fs::create_directories(mark.substr(2) == "ms" ? root / "PSP" / "GAME" : root / "kd");
    }
    prompts.answers = {true};

    convert();

    if (c.offered == 0) {
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_FALSE(timer.active);
        return;
    }
    const std::string root = drives.text(std::string(1, c.offered));
    const std::string expected = c.flash0
                                     ? "Copy font file(s) to FLASH0? | "
                                       "Do you want to copy the font file(s) to FLASH0:\\font\\"
                                     : "Copy font file(s) to Memory Stick? | "
                                       "Do you want to copy the font file(s) to " +
                                           joinPath(root, "font\\");
    EXPECT_THAT(prompts.questions(), ElementsAre(expected));
    EXPECT_THAT(prompts.timerActiveAtQuestion, ElementsAre(false));
    EXPECT_EQ(listing(drive(c.offered) / "font"), "ltn0.pgf");
    for (char other = 'd'; other <= 'z'; ++other) {
        if (other != c.offered) {
            EXPECT_FALSE(fs::exists(drive(other) / "font")) << other;
        }
    }
    EXPECT_FALSE(timer.active);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceScan,
    testing::Values(DeviceCase{"MemoryStickAtF", {"f:ms"}, 'f', false},
                    DeviceCase{"Flash0AtE", {"e:kd"}, 'e', true},
                    DeviceCase{"TwoDevicesOnlyTheFirst", {"g:ms", "e:ms"}, 'e', false},
                    DeviceCase{"Flash0BeforeMemoryStick", {"k:ms", "h:kd"}, 'h', true},
                    DeviceCase{"BothMarksIsAMemoryStick", {"d:kd", "d:ms"}, 'd', false},
                    DeviceCase{"LastRoot", {"z:kd"}, 'z', true},
                    DeviceCase{"OnlyOnC", {"c:ms"}, 0, false}, DeviceCase{"None", {}, 0, false}),
    [](const auto& test) { return test.param.name; });

TEST_F(SessionTest, NoStillMakesTheFontFolderButCopiesNothing) {
    controls.boxes[3] = kTicked;
    markMemoryStick('f');
    prompts.answers = {false};
    convert();
    EXPECT_TRUE(fs::is_directory(drive('f') / "font"));
    EXPECT_EQ(listing(drive('f') / "font"), "");
    EXPECT_EQ(prompts.questions().size(), 1u);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(SessionTest, YesCopiesExactlyThePresentSlotFilesOverAnyOlderOnes) {
    controls.boxes[0] = kUnticked;
    controls.boxes[3] = kTicked;
    controls.boxes[7] = kTicked;
    markMemoryStick('f');
    fs::create_directories(drive('f') / "font");
    writeBytes(drive('f') / "font" / "ltn0.pgf", "old, and longer than the new one");
    writeBytes(drive('f') / "font" / "ltn9.pgf", "old nine");
    prompts.answers = {true};
    convert("new");
    EXPECT_EQ(listing(drive('f') / "font"), "ltn0.pgf ltn3.pgf ltn7.pgf ltn9.pgf");
    EXPECT_EQ(readBytes(drive('f') / "font" / "ltn0.pgf"), "new");
    EXPECT_EQ(readBytes(drive('f') / "font" / "ltn7.pgf"), "new");
    EXPECT_EQ(readBytes(drive('f') / "font" / "ltn9.pgf"), "old nine");
}

TEST_F(SessionTest, AFolderInPlaceOfADeviceFileStopsTheDeviceCopies) {
    controls.boxes[3] = kTicked;
    controls.boxes[7] = kTicked;
    markMemoryStick('f');
    fs::create_directories(drive('f') / "font" / "ltn3.pgf");
    prompts.answers = {true};
    convert();
    EXPECT_EQ(listing(drive('f') / "font"), "ltn0.pgf ltn3.pgf");
    EXPECT_TRUE(fs::is_directory(drive('f') / "font" / "ltn3.pgf"));
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_THAT(prompts.messages()[0], HasSubstr("ltn3.pgf"));
    EXPECT_THAT(prompts.messages()[0], HasSubstr("Is a directory"));
    EXPECT_FALSE(timer.active);
}

TEST_F(SessionTest, AFontFolderThatCannotBeMadeIsReported) {
    markMemoryStick('f');
    writeBytes(drive('f') / "font", "a file where the folder must go");
    prompts.answers = {true};
    convert();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_THAT(prompts.messages()[0], HasSubstr(joinPath(drives.text("f"), "font")));
    EXPECT_EQ(readBytes(drive('f') / "font"), "a file where the folder must go");
}

TEST_F(SessionTest, EveryTickScansTheDrivesAfresh) {
    convert();
    EXPECT_TRUE(prompts.shown.empty());
    markMemoryStick('m');  // attached after the first run
    prompts.answers = {true};
    session().Command1_Click();
    starter.last().finish(exitedWith(0), slot(0));
    session().Timer1_Timer();
    EXPECT_EQ(rootScans, 2);
    EXPECT_EQ(prompts.questions().size(), 1u);
    EXPECT_EQ(listing(drive('m') / "font"), "ltn0.pgf");
}

}  // namespace
}  // namespace tessavine
