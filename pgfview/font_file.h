#pragma once

#include <QString>
#include <cstddef>
#include <memory>

#include "pgf/pgf_reader.h"

namespace tessavine::pgfview {

struct FontFileRead {
    std::shared_ptr<const pgf::PgfFile> font;  // null when the file could not be shown
    QString problem;                           // why not, as the end of a sentence
    std::size_t bytes = 0;                     // how much was read
};

// Reads a PGF font to show it: only an ordinary file of at most a PGF's bound, read once into the
// buffer the reader takes. A pipe would block the read, and a second copy of a big file would
// double the memory.
FontFileRead readFontFile(const QString& path);

}  // namespace tessavine::pgfview
