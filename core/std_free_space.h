#pragma once

#include "core/free_space.h"

namespace tessavine {

// The free space of the computer's own drives, through std::filesystem::space.
class StdFreeSpace final : public FreeSpace {
  public:
    std::optional<std::uintmax_t> availableBytes(const std::string& folder) const override;
};

}  // namespace tessavine
