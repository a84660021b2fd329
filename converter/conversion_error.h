#pragma once

#include <stdexcept>
#include <string>

namespace tessavine::converter {

// A problem the user can fix: the message says what is wrong and what to do, in one line.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tessavine::converter
