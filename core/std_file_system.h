#pragma once

#include <cstdint>

#include "core/file_system.h"

namespace tessavine {

// The file system of the computer the program runs on, through std::filesystem. No operation
// throws: every failure comes back as a description that names the path.
// Not final: tests put faults into single operations by overriding them.
class StdFileSystem : public FileSystem {
  public:
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    std::string deleteFile(const std::string& path) override;
    std::string createFolder(const std::string& path) override;
    std::string copyFile(const std::string& source, const std::string& destination) override;
    std::string copyFileSafely(const std::string& source, const std::string& destination) override;
    std::optional<std::string> findFirstFile(const std::string& pattern) const override;
    std::optional<std::string> readFile(const std::string& path, std::string& error) const override;
    std::string writeFileReplacing(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> readFileAtMost(const std::string& path, std::size_t maxBytes,
                                              std::string& error) const override;
    void removeStaleTemporaryFiles(const std::string& path) override;
    std::optional<std::string> readOrdinaryFile(const std::string& path, std::size_t maxBytes,
                                                std::string& error) const override;
    std::string createNewFile(const std::string& path, const std::string& bytes) override;
    std::string renameWithoutReplacing(const std::string& from, const std::string& to) override;
    std::string copyToNewFile(const std::string& source, const std::string& destination) override;
    std::optional<bool> sameContents(const std::string& first, const std::string& second,
                                     std::string& error) const override;

    // Whole sets of fonts.
    std::vector<std::string> namesIn(const std::string& folder) const override;
    std::optional<std::uintmax_t> fileSize(const std::string& path) const override;
    std::string renameReplacing(const std::string& from, const std::string& to) override;
    std::string createNewFolder(const std::string& path) override;
    std::string removeEmptyFolder(const std::string& path) override;
    std::string flushFolder(const std::string& path) override;

  private:
    // A name beside `destination` that no file has yet; tried afresh when taken meanwhile.
    std::string temporaryNameFor(const std::string& destination);
    std::uint64_t temporaryCounter_ = 0;
};

}  // namespace tessavine
