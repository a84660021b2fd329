// pgfinfo: shows what a PGF font holds and renders a specimen of it.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "console/platform.h"
#include "core/file_platform.h"
#include "core/input_limits.h"
#include "core/shown_text.h"
#include "core/utf8.h"
#include "pgf/pgf_read_error.h"
#include "pgf/pgf_reader.h"
#include "pgf_report.h"
#include "png_file.h"
#include "psp_screen/specimen.h"
#include "tessavine_version.h"

namespace {

constexpr const char* kUsage =
    "Usage: pgfinfo FILE.pgf [--png OUT.png] [--text \"TEXT\"] [--shadow] [--zoom N]\n"
    "       pgfinfo --help | --version\n"
    "Prints the header, glyph count, coverage and how close the file is to each limit of the\n"
    "format. --png renders a specimen (TEXT, \\n for a new line) from the file's bitmaps and\n"
    "advances; --shadow draws the shadows under the glyphs; --zoom magnifies the picture.\n";

struct Options {
    std::string fontPath;
    std::optional<std::string> pngPath;
    std::optional<std::string> text;
    bool withShadows = false;
    int zoom = 1;
};

// Thrown for a command line that cannot be read; main prints it with the usage.
struct UsageError {
    std::string message;
};

Options readOptions(const std::vector<std::string>& words) {
    Options options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) {
                throw UsageError{word + " needs a value"};
            }
            return words[++i];
        };
        if (word == "--png") {
            options.pngPath = value();
        } else if (word == "--text") {
            options.text = value();
        } else if (word == "--shadow") {
            options.withShadows = true;
        } else if (word == "--zoom") {
            options.zoom = std::atoi(value().c_str());
            if (options.zoom < 1 || options.zoom > 16) {
                throw UsageError{"--zoom takes a whole number from 1 to 16"};
            }
        } else if (options.fontPath.empty() && !word.starts_with("--")) {
            options.fontPath = word;
        } else {
            throw UsageError{"unknown word \"" + word + "\""};
        }
    }
    if (options.fontPath.empty()) {
        throw UsageError{"name a PGF file"};
    }
    return options;
}

// "\n" typed on a command line arrives as a backslash and an n.
std::u32string specimenText(const std::string& typed) {
    std::string text;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '\\' && i + 1 < typed.size() && typed[i + 1] == 'n') {
            text += '\n';
            ++i;
        } else {
            text += typed[i];
        }
    }
    return tessavine::decodeUtf8(text);
}

// The file through an open that never waits (a named pipe named as the font would hang
// pgfinfo) and at most as large as a PGF font can be, judged before reading.
std::vector<std::uint8_t> readPgfFile(const std::string& name) {
    using tessavine::platform::InputFile;
    InputFile file = InputFile::open(tessavine::platform::pathFromUtf8(name), true);
    switch (file.opened()) {
        case InputFile::Opened::Ok:
            break;
        case InputFile::Opened::Missing:
            throw tessavine::pgf::PgfReadError("cannot open " + name +
                                               "; check the name and that it is readable");
        case InputFile::Opened::NotAFile:
        case InputFile::Opened::Link:
            throw tessavine::pgf::PgfReadError(
                name +
                " is not an ordinary file but a folder, a pipe or a device; name a .pgf "
                "file");
        case InputFile::Opened::Failed:
            throw tessavine::pgf::PgfReadError("cannot read " + name + ": " +
                                               file.error().message());
    }
    // Judged before reading: a sparse file of gigabytes costs nothing to make.
    if (file.size() > tessavine::kLargestPgfFileBytes) {
        throw tessavine::pgf::PgfReadError(
            name + " is " + std::to_string(file.size()) + " bytes long, more than the " +
            std::to_string(tessavine::kLargestPgfFileBytes) + " bytes a PGF font can have");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t got =
            file.read(reinterpret_cast<char*>(bytes.data()) + done, bytes.size() - done);
        if (got < 0) {
            throw tessavine::pgf::PgfReadError("cannot read " + name + ": " +
                                               file.error().message());
        }
        if (got == 0) {
            break;  // shrank meanwhile: the reader says what is missing
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

int run(const std::vector<std::string>& words) {
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
        tessavine::console::printToOutput(kUsage);
        return 0;
    }
    if (!words.empty() && words[0] == "--version") {
        tessavine::console::printToOutput("pgfinfo " TESSAVINE_VERSION " (Tessavine)\n");
        return 0;
    }
    const Options options = readOptions(words);
    using tessavine::platform::pathFromUtf8;
    const std::vector<std::uint8_t> bytes = readPgfFile(options.fontPath);
    const tessavine::pgf::PgfFile font = tessavine::pgf::readPgf(bytes);
    std::ostringstream report;
    tessavine::pgfinfo::printReport(
        report, font, bytes.size(),
        tessavine::platform::utf8FromPath(pathFromUtf8(options.fontPath).filename()));
    tessavine::console::printToOutput(report.str());
    if (options.pngPath) {
        const std::u32string text = options.text ? specimenText(*options.text)
                                                 : tessavine::psp_screen::defaultSpecimenText();
        const auto picture = tessavine::psp_screen::renderSpecimen(font, text, options.withShadows);
        const std::int64_t zoom = options.zoom;
        if (std::int64_t{picture.width()} * picture.height() * zoom * zoom >
            tessavine::psp_screen::kMostSpecimenPixels) {
            throw tessavine::psp_screen::SpecimenTooLarge(
                "the specimen is " + std::to_string(picture.width()) + " x " +
                std::to_string(picture.height()) + " pixels; that is too large for --zoom " +
                std::to_string(options.zoom) + "; choose a smaller one");
        }
        tessavine::pgfinfo::writePng(pathFromUtf8(*options.pngPath),
                                     picture.magnified(options.zoom));
        tessavine::console::printToOutput("\nspecimen written to " +
                                          tessavine::shownText(*options.pngPath) + "\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using tessavine::console::printToErrorStream;
    try {
        return run(tessavine::console::programWords(argc, argv));
    } catch (const UsageError& error) {
        printToErrorStream("pgfinfo: " + error.message + "\n" + kUsage);
    } catch (const tessavine::pgf::PgfReadError& error) {
        printToErrorStream(std::string("pgfinfo: ") + error.what() + "\n");
    } catch (const std::exception& error) {
        printToErrorStream(std::string("pgfinfo: ") + error.what() + "\n");
    }
    return 1;
}
