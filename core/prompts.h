#pragma once

#include <string>

namespace tessavine {

// The message boxes the logic shows. Tests answer them through a scripted implementation.
class Prompts {
  public:
    virtual ~Prompts() = default;
    // A modal box with the text, a single OK button, no icon and the caption "Tessavine".
    virtual void showMessage(const std::string& text) = 0;
    // A modal question with the title, the text and the buttons Yes and No, Yes the default and
    // no icon. True for Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
    // A modal box with the text, a warning icon, a single OK button and the caption
    // "Tessavine": for a result the user must not miss before deciding what follows.
    virtual void showWarning(const std::string& text) = 0;
};

}  // namespace tessavine
