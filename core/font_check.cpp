#include "core/font_check.h"

#include <cstdint>
#include <span>

#include "core/input_limits.h"
#include "pgf/pgf_read_error.h"
#include "pgf/pgf_reader.h"

namespace tessavine {

std::optional<std::string> readWholeFont(const FileSystem& fileSystem, const std::string& path,
                                         std::string& error) {
    error.clear();
    std::optional<std::string> bytes =
        fileSystem.readOrdinaryFile(path, kLargestPgfFileBytes, error);
    if (!bytes) {
        if (error.empty()) {
            error = "\"" + path + "\" is not there.";
        }
        return std::nullopt;
    }
    if (!isWholeFont(*bytes, "\"" + path + "\"", error)) {
        return std::nullopt;
    }
    return bytes;
}

bool isWholeFont(const std::string& bytes, const std::string& name, std::string& error) {
    if (bytes.size() > kLargestPgfFileBytes) {
        error = name + " is larger than any PGF font can be (" +
                std::to_string(kLargestPgfFileBytes) + " bytes).";
        return false;
    }
    try {
        pgf::readPgf(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const pgf::PgfReadError& problem) {
        error = name + " is not a whole PGF font (" + problem.what() + ").";
        return false;
    }
    return true;
}

}  // namespace tessavine
