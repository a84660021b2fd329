#include "fakes.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace tessavine::testing_support {
namespace {

class FakeConverter final : public RunningConverter {
  public:
    explicit FakeConverter(std::shared_ptr<ConverterScript> script) : script_(std::move(script)) {}
    ~FakeConverter() override { script_->handleAlive = false; }
    FakeConverter(const FakeConverter&) = delete;
    FakeConverter& operator=(const FakeConverter&) = delete;

    bool hasFinished() const override { return script_->finished; }
    ConverterOutcome outcome() const override {
        EXPECT_TRUE(script_->finished) << "outcome asked of a converter that is still running";
        return script_->outcome;
    }
    void whenFinished(std::function<void()> callback) override {
        ++script_->callbacksSet;
        if (script_->finished) {
            callback();
        } else {
            script_->callback = std::move(callback);
        }
    }

  private:
    std::shared_ptr<ConverterScript> script_;
};

std::vector<std::string> withPrefix(const std::vector<std::string>& all,
                                    const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& entry : all) {
        if (entry.rfind(prefix, 0) == 0) {
            out.push_back(entry.substr(prefix.size()));
        }
    }
    return out;
}

}  // namespace

bool ScriptedPrompts::askYesNo(const std::string& title, const std::string& text) {
    shown.push_back("ask: " + title + " | " + text);
    timerActiveAtQuestion.push_back(timer.isActive());
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << title;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedPrompts::messages() const {
    return withPrefix(shown, "message: ");
}

std::vector<std::string> ScriptedPrompts::questions() const {
    return withPrefix(shown, "ask: ");
}

void ConverterScript::finish(ConverterOutcome result, const std::filesystem::path& output,
                             const std::string& bytes) {
    if (!output.empty()) {
        writeBytes(output, bytes);
    }
    outcome = std::move(result);
    finished = true;
    if (auto call = std::move(callback)) {
        callback = nullptr;
        call();
    }
}

StartResult FakeProcessStarter::start(const ProcessCommand& command) {
    commands.push_back(command);
    if (!refuseWith.empty()) {
        return {nullptr, refuseWith};
    }
    converters.push_back(std::make_shared<ConverterScript>());
    return {std::make_unique<FakeConverter>(converters.back()), {}};
}

}  // namespace tessavine::testing_support
