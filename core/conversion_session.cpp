#include "core/conversion_session.h"

#include <chrono>
#include <optional>
#include <string>

#include "core/converter_command.h"
#include "core/device_step.h"
#include "core/font_slots.h"
#include "core/number_reading.h"
#include "core/parameter_rules.h"
#include "core/paths.h"
#include "core/result_texts.h"
#include "core/std_free_space.h"

namespace tessavine {
namespace {

constexpr int kTickIntervalMilliseconds = 1000;
// Far above any PGF font the converter makes (a few hundred kilobytes); only a file that is no
// font of ours could be larger, and it is not read whole.
constexpr std::size_t kLargestFontRead = 64u << 20;

using Clock = std::chrono::steady_clock;

constexpr const char* kConverterMissingMessage =
    "Check that TTF2PGF.EXE exists and is in the same folder as the program.";
constexpr const char* kFontMissingMessage =
    "Check that your font name is correct, the font exists, and is in the same folder as the "
    "program.";

// Why a finished converter gave nothing to work with, or nothing when it succeeded.
std::optional<std::string> conversionFailure(const ConverterOutcome& outcome, bool outputExists) {
    if (!outcome.started) {
        return "the converter ttf2pgf.exe could not be run";
    }
    if (outcome.crashed) {
        return "the converter ttf2pgf.exe stopped unexpectedly";
    }
    if (outcome.exitCode != 0) {
        return "the converter ttf2pgf.exe reported an error (exit code " +
               std::to_string(outcome.exitCode) + ")";
    }
    if (!outputExists) {
        return std::string("the converter ttf2pgf.exe ended without writing ") +
               kConverterOutputName;
    }
    return std::nullopt;
}

}  // namespace

struct ConversionSession::State {
    State(SessionServices servicesIn, std::string programFolderIn, DeviceRootsProvider rootsIn)
        : services(servicesIn),
          programFolder(std::move(programFolderIn)),
          deviceRoots(std::move(rootsIn)) {}

    SessionServices services;
    std::string programFolder;
    DeviceRootsProvider deviceRoots;

    // The converter of the last start, kept until the next Execute reaches its start.
    // Its handle stays alive after its tick, so that a tick run from its own finish callback
    // never destroys the object that is calling it.
    std::unique_ptr<RunningConverter> converter;
    bool tickPending = false;
    // Counts the converters started; a finish callback of an older one finds it changed and
    // does nothing.
    unsigned long long generation = 0;
    // Expires with the session, so that a late finish callback cannot reach a session that
    // is gone.
    std::shared_ptr<int> alive = std::make_shared<int>(0);
    // When the converter of the last start was started and when it was seen to end: the notice
    // tells how long the conversion took, not how long the tick waited.
    Clock::time_point startedAt;
    std::string fontName;   // as the converter of the last start was given it
    std::string fontScale;  // likewise
    std::optional<Clock::time_point> finishedAt;

    std::string slotPath(int slot) const { return joinPath(programFolder, slotFileName(slot)); }
    bool deleteOldSlots();
    bool converterAndFontPresent();
    void bringParametersIntoRange();
    void startConverter();
    void finishTick();
    // The number of slot files copied, or nothing when a copy failed.
    std::optional<int> makeSlotCopies();
    // Tells what ltn0.pgf holds and returns the basic characters it lacks.
    std::vector<char32_t> reportConversion(int slotCopies);
    // Remembers when the converter of `forGeneration` ended, then runs `then`.
    std::function<void()> onFinish(unsigned long long forGeneration, bool thenFinishTick);
};

ConversionSession::ConversionSession(SessionServices services, std::string programFolder,
                                     DeviceRootsProvider deviceRoots)
    : state_(std::make_unique<State>(services, std::move(programFolder), std::move(deviceRoots))) {}

ConversionSession::~ConversionSession() {
    if (state_->converter) {
        state_->converter->whenFinished([] {});
    }
}

void ConversionSession::Command1_Click() {
    State& s = *state_;
    if (!s.deleteOldSlots() || !s.converterAndFontPresent()) {
        return;
    }
    s.bringParametersIntoRange();
    s.startConverter();
}

void ConversionSession::Timer1_Timer() {
    State& s = *state_;
    if (!s.tickPending) {
        s.services.timer1.stop();  // nothing started that the tick could work on
        return;
    }
    if (!s.converter->hasFinished()) {
        // The converter needs longer than the timer's interval: stop the timer and take up the
        // tick as soon as the converter is done, rather than copy a file it is still writing.
        s.services.timer1.stop();
        s.converter->whenFinished(s.onFinish(s.generation, true));
        return;
    }
    s.finishTick();
}

bool ConversionSession::State::deleteOldSlots() {
    FileSystem& files = services.fileSystem;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::string path = slotPath(slot);
        if (!files.fileExists(path)) {
            continue;
        }
        const std::string error = files.deleteFile(path);
        if (!error.empty()) {
            services.prompts.showMessage(
                "The font file " + slotFileName(slot) +
                " from an earlier conversion could not be deleted, so no conversion was started. "
                "Close any program that is using it, then press Execute again.\n\n" +
                error);
            return false;
        }
    }
    return true;
}

bool ConversionSession::State::converterAndFontPresent() {
    FileSystem& files = services.fileSystem;
    if (!files.findFirstFile(joinPath(programFolder, kConverterFileName))) {
        services.prompts.showMessage(kConverterMissingMessage);
        return false;
    }
    if (!files.findFirstFile(
            joinPath(programFolder, services.controls.text(TextField::fontname1)))) {
        services.prompts.showMessage(kFontMissingMessage);
        return false;
    }
    return true;
}

void ConversionSession::State::bringParametersIntoRange() {
    MainControls& controls = services.controls;
    const ParameterTexts texts{controls.text(TextField::horizontal1),
                               controls.text(TextField::advance1), controls.text(TextField::blur1),
                               controls.text(TextField::intensity1),
                               controls.text(TextField::height1)};
    for (const ParameterCorrection& correction : normaliseParameters(texts)) {
        controls.setText(correction.field, correction.text);
    }
}

void ConversionSession::State::startConverter() {
    const MainControls& controls = services.controls;
    const ConverterTexts texts{controls.text(TextField::fontname1),
                               controls.text(TextField::height1),
                               controls.text(TextField::horizontal1),
                               controls.text(TextField::blur1),
                               controls.text(TextField::intensity1),
                               controls.boldState(),
                               controls.italicizeState()};
    StartResult started = services.processes.start(converterCommand(texts, programFolder));

    // Whatever became of this start, the converter of an earlier press is no longer awaited.
    ++generation;
    if (converter) {
        converter->whenFinished([] {});
    }
    converter = std::move(started.process);
    tickPending = converter != nullptr;
    if (!converter) {
        services.timer1.stop();
        services.prompts.showMessage(
            "The converter ttf2pgf.exe could not be started. Check that it is a program this "
            "computer can run, then press Execute again.\n\n" +
            started.error);
        return;
    }
    startedAt = Clock::now();
    fontName = texts.fontname1;
    fontScale = texts.height1;
    finishedAt.reset();
    converter->whenFinished(onFinish(generation, false));
    services.timer1.start(kTickIntervalMilliseconds);
}

std::function<void()> ConversionSession::State::onFinish(unsigned long long forGeneration,
                                                         bool thenFinishTick) {
    const std::weak_ptr<int> aliveNow = alive;
    State* state = this;
    return [state, aliveNow, forGeneration, thenFinishTick] {
        if (aliveNow.expired() || state->generation != forGeneration) {
            return;
        }
        if (!state->finishedAt) {
            state->finishedAt = Clock::now();
        }
        if (thenFinishTick && state->tickPending) {
            state->finishTick();
        }
    };
}

void ConversionSession::State::finishTick() {
    tickPending = false;
    const ConverterOutcome outcome = converter->outcome();
    const std::optional<std::string> failure =
        conversionFailure(outcome, services.fileSystem.fileExists(slotPath(0)));
    if (failure) {
        services.timer1.stop();
        std::string message = "The conversion failed: " + *failure + ".";
        if (!outcome.errorText.empty()) {
            message += "\n\n" + outcome.errorText;
        }
        message +=
            "\n\nCheck that the font is a TrueType or OpenType font and that the parameters "
            "suit it, then press Execute again.";
        services.prompts.showMessage(message);
        return;
    }
    if (const std::optional<int> slotCopies = makeSlotCopies()) {
        const std::vector<char32_t> missingAscii = reportConversion(*slotCopies);
        const StdFreeSpace driveFreeSpace;
        copyFontsToDevice(services.fileSystem,
                          services.freeSpace ? *services.freeSpace : driveFreeSpace,
                          services.prompts, services.timer1, programFolder,
                          deviceRoots ? deviceRoots() : std::vector<std::string>{},
                          services.notices, missingAscii);
    }
    services.timer1.stop();
}

std::vector<char32_t> ConversionSession::State::reportConversion(int slotCopies) {
    std::string error;
    const std::optional<std::string> bytes =
        services.fileSystem.readFileAtMost(slotPath(0), kLargestFontRead, error);
    const std::variant<FontCoverage, std::string> coverage =
        bytes ? fontCoverage(*bytes, 0)
              : std::variant<FontCoverage, std::string>(error.empty() ? "it is gone" : error);
    if (services.notices != nullptr) {
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            finishedAt.value_or(Clock::now()) - startedAt);
        // Against the firmware's ltn0.pgf, at the scale the converter was given.
        const std::optional<double> scale = readWholeNumber(fontScale);
        const std::optional<FontSizeComparison> size =
            bytes && scale && *scale >= kLowestFontScale && *scale <= kLargestFontScale
                ? compareWithFirmware(*bytes, 0, static_cast<int>(*scale))
                : std::nullopt;
        services.notices->showNotice(conversionNotice(fontName, coverage, took, slotCopies, size));
    }
    const auto* held = std::get_if<FontCoverage>(&coverage);
    return held ? held->missingAscii() : std::vector<char32_t>{};
}

std::optional<int> ConversionSession::State::makeSlotCopies() {
    MainControls& controls = services.controls;
    if (controls.slotBoxState(kCreateAllBox) == kTicked) {
        for (int slot = 1; slot < kSlotCount; ++slot) {
            controls.setSlotBoxState(slot, kTicked);
        }
    }
    int copies = 0;
    for (int slot = 1; slot < kSlotCount; ++slot) {
        if (controls.slotBoxState(slot) != kTicked) {
            continue;
        }
        const std::string error = services.fileSystem.copyFile(slotPath(0), slotPath(slot));
        if (!error.empty()) {
            services.timer1.stop();
            services.prompts.showMessage(
                "The font file " + slotFileName(slot) +
                " could not be made, so it and the font files after it were not made and "
                "nothing was copied to a PSP. Make sure nothing stands in its place, then press "
                "Execute again.\n\n" +
                error);
            return std::nullopt;
        }
        ++copies;
    }
    return copies;
}

}  // namespace tessavine
