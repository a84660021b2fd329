#pragma once

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/main_controls.h"
#include "core/process_starter.h"
#include "core/prompts.h"

namespace tessavine::testing_support {

// The window's values as a plain record.
struct FakeControls final : MainControls {
    std::array<std::string, 6> texts{"Example.ttf", "24", "0.8", "1.0", "2.5", "1.2"};
    int bold = kUnticked;
    int italicize = kUnticked;
    std::array<int, kSlotCount + 1> boxes{kTicked};  // box 0 ticked, the rest unticked

    std::string text(TextField field) const override {
        return texts[static_cast<std::size_t>(field)];
    }
    void setText(TextField field, const std::string& value) override {
        texts[static_cast<std::size_t>(field)] = value;
    }
    int boldState() const override { return bold; }
    void setBoldState(int state) override { bold = state; }
    int italicizeState() const override { return italicize; }
    void setItalicizeState(int state) override { italicize = state; }
    int slotBoxState(int index) const override { return boxes.at(static_cast<std::size_t>(index)); }
    void setSlotBoxState(int index, int state) override {
        boxes.at(static_cast<std::size_t>(index)) = state;
    }
};

struct FakeTimer final : Timer {
    bool active = false;
    int interval = 0;
    int starts = 0;
    int stops = 0;

    void start(int intervalMilliseconds) override {
        active = true;
        interval = intervalMilliseconds;
        ++starts;
    }
    void stop() override {
        active = false;
        ++stops;
    }
    bool isActive() const override { return active; }
};

// Answers questions from a queue and records everything shown, as "message: …" and
// "ask: title | text". Notes whether the timer was still running when a question opened.
struct ScriptedPrompts final : Prompts {
    explicit ScriptedPrompts(const Timer& timerIn) : timer(timerIn) {}
    const Timer& timer;
    std::deque<bool> answers;
    std::vector<std::string> shown;
    std::vector<bool> timerActiveAtQuestion;

    void showMessage(const std::string& text) override { shown.push_back("message: " + text); }
    bool askYesNo(const std::string& title, const std::string& text) override;
    std::vector<std::string> messages() const;
    std::vector<std::string> questions() const;
};

// What a fake converter does, shared between the handle the session holds and the test that
// decides when it finishes.
struct ConverterScript {
    bool finished = false;
    ConverterOutcome outcome;
    std::function<void()> callback;
    int callbacksSet = 0;
    bool handleAlive = true;

    // Finishes like a converter would: optionally writes its output file first, then calls the
    // callback the session left, if any.
    void finish(ConverterOutcome result, const std::filesystem::path& output = {},
                const std::string& bytes = "PGF font bytes");
};

struct FakeProcessStarter final : ProcessStarter {
    std::vector<ProcessCommand> commands;
    std::vector<std::shared_ptr<ConverterScript>> converters;
    std::string refuseWith;  // when not empty, no process starts and this is the reason

    StartResult start(const ProcessCommand& command) override;
    ConverterScript& last() { return *converters.back(); }
};

}  // namespace tessavine::testing_support
