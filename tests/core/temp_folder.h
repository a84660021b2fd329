#pragma once

#include <filesystem>
#include <string>

namespace tessavine::testing_support {

// A fresh, empty folder under the system's temporary folder, removed with everything in it at
// the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder, or a path inside it, as the UTF-8 text the core takes.
    std::string text() const;
    std::string text(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& path, const std::string& bytes);
std::string readBytes(const std::filesystem::path& path);
// The names in a folder, sorted, dot-files included.
std::string listing(const std::filesystem::path& folder);

}  // namespace tessavine::testing_support
