#pragma once

#include <filesystem>

namespace tessavine::testing_support {

// Marks a file so that not even an administrator can delete it, where the platform and the
// test's rights allow that; false when it cannot be done here. Undo with makeDeletable before
// the folder is cleaned up.
bool makeUndeletable(const std::filesystem::path& path);
void makeDeletable(const std::filesystem::path& path);

}  // namespace tessavine::testing_support
