#pragma once

#include <string>

namespace tessavine {

// Where the logic tells the user what a run did: a transient notice beside the window that
// goes away by itself, never takes the keyboard and never waits for an answer. Questions and
// failures stay with Prompts.
class ResultNotices {
  public:
    virtual ~ResultNotices() = default;
    virtual void showNotice(const std::string& text) = 0;
};

}  // namespace tessavine
