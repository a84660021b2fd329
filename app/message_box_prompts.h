#pragma once

#include "core/prompts.h"

class QWidget;

namespace tessavine {

// The logic's messages and questions as modal message boxes over the main window.
class MessageBoxPrompts final : public Prompts {
  public:
    explicit MessageBoxPrompts(QWidget& owner) : owner_(owner) {}

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text) override;
    void showWarning(const std::string& text) override;

  private:
    QWidget& owner_;
};

}  // namespace tessavine
