#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfview_shared {

struct FontRead {
    std::shared_ptr<const pgf::PgfFile> font;  // null when the file cannot be shown
    std::string problem;                       // why not, as the end of a sentence
    bool missing = false;                      // nothing stands at the path
    std::size_t bytes = 0;                     // how much was read
};

// Reads a PGF font to show it: only an ordinary file of at most a PGF's bound, opened without
// waiting (a named pipe would block) and read once into the buffer the reader takes.
FontRead readFontFile(const std::filesystem::path& path);

}  // namespace tessavine::pgfview_shared
