// A damaged font through the whole conversion: it ends with a clean error or a PGF file that
// reads back with the glyphs it was made of.
//
// The input is the font file itself; its size picks the style, so a font seed mutates as a
// font. The converter opens fonts by name, so each input goes to a file in a scratch folder
// (a RAM-backed one where the system has it).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "fuzz_check.h"
#include "pgf/pgf_reader.h"

namespace {

namespace fs = std::filesystem;

struct ScratchFolder {
    ScratchFolder() {
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::random_device random;
        do {
            path = base / ("tessavine-font-fuzz-" + std::to_string(random()));
        } while (!fs::create_directory(path));
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

const fs::path& fontPath() {
    static const ScratchFolder folder;
    static const fs::path path = folder.path / "font.ttf";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessavine;
    std::ofstream(fontPath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    converter::ConversionParameters parameters;
    parameters.fontScale = 18;
    parameters.embolden = size % 2 == 1;
    parameters.italicize = size % 4 >= 2;
    converter::ConversionResult result;
    try {
        result = converter::convertFont(fontPath(), parameters);
    } catch (const converter::ConversionError& error) {
        FUZZ_CHECK(error.what()[0] != '\0');
        return 0;
    }
    FUZZ_CHECK(result.glyphCount > 0);
    const pgf::PgfFile file = pgf::readPgf(result.pgf);  // throws, so stops the fuzzer, if unsound
    FUZZ_CHECK(file.glyphs.size() == result.glyphCount);
    FUZZ_CHECK(file.sections.total() == result.pgf.size());
    return 0;
}
