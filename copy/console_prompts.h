#pragma once

#include <istream>
#include <sstream>
#include <string>

#include "core/prompts.h"

namespace tessavine {

// The window's message boxes in a console: text on the output, a question answered by a line
// typed (y or yes, in any case, is Yes; anything else, or the input's end, is No, so a copy run
// without anyone at the keyboard never goes ahead on a guess). The program's output is gathered
// in `pending` and printed at its end; what is gathered so far is printed first, so that the
// question follows what came before it.
class ConsolePrompts final : public Prompts {
  public:
    ConsolePrompts(std::ostringstream& pending, std::istream& answers)
        : pending_(pending), answers_(answers) {}
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text) override;
    void showWarning(const std::string& text) override;

  private:
    void print(const std::string& text);

    std::ostringstream& pending_;
    std::istream& answers_;
};

}  // namespace tessavine
