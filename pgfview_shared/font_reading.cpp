#include "font_reading.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "core/file_platform.h"
#include "core/input_limits.h"

namespace tessavine::pgfview_shared {

FontRead readFontFile(const std::filesystem::path& path) {
    using platform::InputFile;
    FontRead result;
    InputFile file = InputFile::open(path, true);
    switch (file.opened()) {
        case InputFile::Opened::Ok:
            break;
        case InputFile::Opened::Missing:
            result.missing = true;
            result.problem = "there is no such file";
            return result;
        case InputFile::Opened::NotAFile:
        case InputFile::Opened::Link:
            result.problem = "it is not an ordinary file but a folder, a pipe or a device";
            return result;
        case InputFile::Opened::Failed:
            result.problem = "it cannot be opened (" + file.error().message() + ")";
            return result;
    }
    // Judged before reading: a sparse file of gigabytes costs nothing to make.
    if (file.size() > kLargestPgfFileBytes) {
        result.problem = "it is " + std::to_string(file.size()) + " bytes long, more than the " +
                         std::to_string(kLargestPgfFileBytes) + " bytes a PGF font can have";
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t got =
            file.read(reinterpret_cast<char*>(bytes.data()) + done, bytes.size() - done);
        if (got < 0) {
            result.problem = "it cannot be read (" + file.error().message() + ")";
            return result;
        }
        if (got == 0) {
            break;  // shrank meanwhile: the reader says what is missing
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    result.bytes = done;
    try {
        result.font = std::make_shared<const pgf::PgfFile>(pgf::readPgf(bytes));
    } catch (const std::exception& error) {
        result.problem = error.what();
    }
    return result;
}

}  // namespace tessavine::pgfview_shared
