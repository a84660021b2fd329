#pragma once

#include <stdexcept>
#include <string>

namespace tessavine::pgf {

// A file that is no PGF font, or one whose tables or records point outside the file.
class PgfReadError : public std::runtime_error {
  public:
    explicit PgfReadError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tessavine::pgf
