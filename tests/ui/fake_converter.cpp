// A stand-in for ttf2pgf.exe in the window's tests. It writes what it was given to
// invocation.txt in its working directory (the working directory on the first line, then one
// argument a line), then behaves according to the font name it was given:
//   a name containing "slow"   waits 2.5 seconds before it writes its output;
//   a name containing "broken" writes a complaint to its error output and exits with 2;
//   a name containing "crash"  dies of a memory fault, as a converter with a bug would;
//   any other name             writes ltn0.pgf at once.
// The output is a small real PGF that ends in the font's name: "…PGF of <font>".
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "pgf/pgf_writer.h"

int main(int argc, char* argv[]) {
    {
        std::ofstream invocation("invocation.txt", std::ios::binary);
        invocation << std::filesystem::current_path().string() << '\n';
        for (int i = 1; i < argc; ++i) {
            invocation << argv[i] << '\n';
        }
    }
    const std::string font = argc > 1 ? argv[1] : "";
    if (font.find("broken") != std::string::npos) {
        std::cerr << "  " << font << " is not a font this converter can read.  \n";
        return 2;
    }
    if (font.find("crash") != std::string::npos) {
        std::cerr << "about to crash" << std::endl;
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    if (font.find("slow") != std::string::npos) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    }
    // A real (one-glyph) PGF, since only whole fonts go onto a PSP; the text after it lies in
    // glyph data nothing points to.
    tessavine::pgf::PgfFont pgf;
    pgf.name = "Fake";
    pgf.style = "Regular";
    tessavine::pgf::PgfGlyph underscore;
    underscore.code = u'_';
    underscore.image = {4, 1, 0, 0, std::vector<std::uint8_t>(4, 15)};
    underscore.shadow = {2, 1, 0, 0, std::vector<std::uint8_t>(2, 8)};
    underscore.metrics = {{4 * 64, 1 * 64}, {0, 0}, {0, 18}, {5 * 64, 1094}};
    pgf.glyphs.push_back(underscore);
    const std::vector<std::uint8_t> bytes = tessavine::pgf::writePgf(pgf);
    std::ofstream output(argc > 2 ? argv[2] : "ltn0.pgf", std::ios::binary);
    output.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    output << "PGF of " << font;
}
