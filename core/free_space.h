#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessavine {

// How much room a drive has left. Behind an interface of its own so that tests can answer it
// with any figure, which a real drive cannot be made to show.
class FreeSpace {
  public:
    virtual ~FreeSpace() = default;
    // The bytes that may still be written below `folder`; nothing when the drive will not say.
    virtual std::optional<std::uintmax_t> availableBytes(const std::string& folder) const = 0;
};

}  // namespace tessavine
