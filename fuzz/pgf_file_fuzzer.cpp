// A damaged PGF file through everything pgfinfo does with it: the reader, the report and the
// specimen with and without shadows.

#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>

#include "fuzz_check.h"
#include "pgf/pgf_read_error.h"
#include "pgf/pgf_reader.h"
#include "pgfinfo/pgf_report.h"
#include "psp_screen/specimen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessavine;
    pgf::PgfFile font;
    try {
        font = pgf::readPgf(std::span<const std::uint8_t>(data, size));
    } catch (const pgf::PgfReadError&) {
        return 0;  // refused with a message: what a damaged file should get
    }
    // What the reader accepted lies inside the file.
    FUZZ_CHECK(font.sections.total() <= size);
    FUZZ_CHECK(font.glyphs.size() == font.records.size());

    std::ostringstream report;
    pgfinfo::printReport(report, font, size);
    FUZZ_CHECK(!report.str().empty());

    try {
        const psp_screen::RgbaImage picture =
            psp_screen::renderSpecimen(font, psp_screen::defaultSpecimenText(), size % 2 == 0);
        FUZZ_CHECK(picture.width() > 0 && picture.height() > 0);
    } catch (const std::runtime_error& refusal) {
        // A picture no real font needs is refused in one line, as pgfinfo prints it.
        FUZZ_CHECK(std::string(refusal.what()).find('\n') == std::string::npos);
    }
    return 0;
}
