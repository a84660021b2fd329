// Writes the crafted PGF files the program tests and the benchmark feed to pgfinfo and pgfview,
// so that no large binary is kept in the repository. Each is a valid two-glyph font followed by
// a block naming the fonts it was drawn from, laid out by hand (not by the encoder, which keeps
// to the bounds the readers enforce):
//   names      2 fonts whose names, and the font's own name and style, hold ESC, BEL, CR, LF,
//              DEL, a C1 control, a right-to-left override, markup and a byte that is no UTF-8
//   many-fonts 65,535 fonts of short names, one run each (about 400 KB)
//   many-runs  2 fonts of 40,000 runs each: more runs than there are codes
//   most-runs  2 fonts of 32,768 runs each: the most the readers take
// Usage: crafted_pgf <kind> <output file>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pgf/pgf_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

struct Named {
    std::string name;
    unsigned runs;
};

// The block as the format notes in font_sources.h lay it out.
Bytes block(const std::vector<Named>& fonts) {
    const std::string start("TSVSRC1\0", 8);
    Bytes out(start.begin(), start.end());
    put16(out, static_cast<unsigned>(fonts.size()));
    for (const Named& font : fonts) {
        out.push_back(static_cast<std::uint8_t>(font.name.size()));
        out.insert(out.end(), font.name.begin(), font.name.end());
        put16(out, font.runs);
        for (unsigned r = 0; r < font.runs; ++r) {
            put16(out, 2 * r);  // single codes two apart, so no two runs join
            put16(out, 2 * r);
        }
    }
    out.resize((out.size() + 3) / 4 * 4, 0);
    const auto length = static_cast<std::uint32_t>(out.size());
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((length >> shift) & 0xFF));
    }
    for (const char c : {'T', 'S', 'V', 'S'}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

tessavine::pgf::PgfFont twoGlyphs(const std::string& name, const std::string& style) {
    tessavine::pgf::PgfFont font;
    font.name = name;
    font.style = style;
    font.ascender = 10 * 64;
    font.descender = -3 * 64;
    for (const char16_t code : {u'A', u'_'}) {
        tessavine::pgf::PgfGlyph glyph;
        glyph.code = code;
        glyph.image = {2, 2, 0, 2, {15, 15, 15, 15}};
        glyph.shadow = {1, 1, 0, 0, {0}};
        glyph.metrics.dimension = {2 * 64, 2 * 64};
        glyph.metrics.yAdjust = {2 * 64, 0};
        glyph.metrics.advance = {3 * 64, 20 * 64};
        font.glyphs.push_back(glyph);
    }
    return font;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: crafted_pgf names|many-fonts|many-runs|most-runs <output file>\n",
                   stderr);
        return 2;
    }
    const std::string kind = argv[1];
    std::vector<Named> fonts;
    std::string name = "Plain";
    std::string style = "Regular";
    if (kind == "names") {
        name = "Evil\x1b]0;owned\x07\rfont name        faked";
        style = "<b>Bold</b>\x7f\xff";
        fonts = {{"a\x1b[2Jb\x07.ttf", 1},
                 {"line\r\nfont name        x\xc2\x9b\xe2\x80\xae.ttf", 1}};
    } else if (kind == "many-fonts") {
        for (unsigned f = 0; f < 65535; ++f) {
            fonts.push_back({std::to_string(f), 1});
        }
    } else if (kind == "many-runs" || kind == "most-runs") {
        const unsigned runs = kind == "many-runs" ? 40000 : 32768;
        fonts = {{"A.ttf", runs}, {"B.ttf", runs}};
    } else {
        std::fprintf(stderr, "crafted_pgf: unknown kind %s\n", argv[1]);
        return 2;
    }
    Bytes file = tessavine::pgf::writePgf(twoGlyphs(name, style));
    const Bytes tail = block(fonts);
    file.insert(file.end(), tail.begin(), tail.end());
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
