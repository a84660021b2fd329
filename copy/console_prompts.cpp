#include "copy/console_prompts.h"

#include "console/platform.h"

namespace tessavine {

void ConsolePrompts::print(const std::string& text) {
    console::printToOutput(pending_.str() + text);
    pending_.str({});
}

void ConsolePrompts::showMessage(const std::string& text) {
    print(text + "\n");
}

void ConsolePrompts::showWarning(const std::string& text) {
    print("Warning: " + text + "\n\n");
}

bool ConsolePrompts::askYesNo(const std::string&, const std::string& text) {
    print(text + "? [y/N] ");
    std::string answer;
    if (!std::getline(answers_, answer)) {
        print("\n");  // the input ended: what follows starts a line of its own
        return false;
    }
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) {
        answer.pop_back();  // a Windows console's line end, a space typed after the word
    }
    for (char& c : answer) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return answer == "y" || answer == "yes";
}

}  // namespace tessavine
