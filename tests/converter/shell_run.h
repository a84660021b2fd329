#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessavine::testing_support {

struct RunOutcome {
    bool succeeded = false;  // exit status 0
    std::string out;
    std::string err;
};

// Runs the program with the arguments, in the folder as working directory, and collects its
// exit status and both output streams. Arguments must not contain double quotes.
RunOutcome runInFolder(const std::filesystem::path& folder, const std::filesystem::path& program,
                       const std::vector<std::string>& arguments);

// A fresh empty folder, removed with everything in it at the end of the test.
class ScratchFolder {
  public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tessavine::testing_support
