#pragma once

#include "core/prompts.h"
#include "windows/win32.h"

namespace tessavine {

// The logic's message boxes as the platform's own, modal over the main window.
class MessageBoxPrompts final : public Prompts {
  public:
    explicit MessageBoxPrompts(HWND owner) : owner_(owner) {}
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text) override;
    // A modal box with the warning icon, one OK button and the caption "Tessavine".
    void showWarning(const std::string& text) override;

  private:
    HWND owner_;
};

}  // namespace tessavine
