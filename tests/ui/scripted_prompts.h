#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace tessavine::testing {

// Prompts that record what the program shows and answer its questions from a script.
class ScriptedPrompts final : public Prompts {
  public:
    struct Question {
        std::string title;
        std::string text;
    };

    void showMessage(const std::string& text) override { messages.push_back(text); }

    // Answers with the next scripted answer; with none left, No.
    bool askYesNo(const std::string& title, const std::string& text) override {
        questions.push_back({title, text});
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<bool> answers;
    std::vector<std::string> messages;
    std::vector<Question> questions;
};

}  // namespace tessavine::testing
