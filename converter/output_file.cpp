#include "output_file.h"

#include <random>
#include <string>
#include <system_error>

#include "conversion_error.h"
#include "platform.h"

namespace tessavine::converter {
namespace {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
    std::random_device random;
    const auto tag = std::to_string(random() % 1000000u);
    std::filesystem::path temporary = path;
    temporary += "." + tag + ".part";
    return temporary;
}

// Removes the temporary file when the write does not get as far as renaming it.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    std::filesystem::path path_;
    bool kept_ = false;
};

void checkDestination(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw ConversionError("cannot write " + quoted(path) +
                              ": a folder of that name is in the way; rename or remove it");
    }
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, error)) {
        throw ConversionError("cannot write " + quoted(path) + ": the folder " + quoted(folder) +
                              " does not exist; create it or name another output");
    }
}

}  // namespace

void writeFileWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    checkDestination(path);
    TemporaryFile temporary(temporaryBeside(path));
    switch (platform::writeFile(temporary.path(), bytes)) {
        case platform::WriteResult::Written:
            break;
        case platform::WriteResult::CannotCreate:
            throw ConversionError("cannot write " + quoted(path) +
                                  ": the folder does not accept new files; check that you may "
                                  "write there and that the disk is not full or read-only");
        case platform::WriteResult::CannotWriteAll:
            throw ConversionError("cannot write " + quoted(path) +
                                  " completely; check that the disk is not full");
    }
    const std::error_code error = platform::replaceFile(temporary.path(), path);
    if (error) {
        throw ConversionError("cannot put " + quoted(path) + " in place (" + error.message() +
                              "); check that no other program holds it open");
    }
    temporary.keep();
}

}  // namespace tessavine::converter
