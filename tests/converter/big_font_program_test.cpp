// The big font through the real programs: ttf2pgf.exe --slot jpn0 from a CJK collection, its
// budget line, and pgfinfo's count of the CJK blocks and named sets, each count checked against
// FreeType asked directly which characters the font has.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "free_type_reference.h"
#include "pgf/firmware_slots.h"
#include "pgf/named_character_sets.h"
#include "pgf/pgf_reader.h"
#include "scratch_folder.h"
#include "tests/pgf/file_bytes.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

using test::RunOutcome;
using test::ScratchFolder;

const std::filesystem::path kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

std::string countLine(const char* label, std::size_t present, std::size_t size) {
    const auto grouped = [](std::size_t n) {
        const std::string digits = std::to_string(n);
        return n < 1000
                   ? digits
                   : digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3);
    };
    char line[96];
    std::snprintf(line, sizeof line, "  %-18s %6s of %6s\n", label, grouped(present).c_str(),
                  grouped(size).c_str());
    return line;
}

std::vector<char32_t> block(char32_t first, char32_t last) {
    std::vector<char32_t> codes;
    for (char32_t c = first; c <= last; ++c) {
        codes.push_back(c);
    }
    return codes;
}

TEST(BigFont, ConvertedFromACollectionAndCountedByPgfinfo) {
    if (!std::filesystem::exists(kZenHei)) {
        GTEST_SKIP() << kZenHei << " is missing: install fonts-wqy-zenhei (tools/install-deps)";
    }
    ScratchFolder folder;
    std::filesystem::copy_file(kZenHei, folder.path() / "zenhei.ttc");
    const RunOutcome made =
        folder.run(TTF2PGF_PATH, {"zenhei.ttc", "jpn0.pgf", "18h1", "b1i1", "--slot", "jpn0",
                                  "--chars", "kana,buttons,ascii", "--face", "WenQuanYi Zen Hei"});
    ASSERT_TRUE(made.succeeded) << made.err;
    EXPECT_NE(made.out.find("the firmware's jpn0.pgf: 145844 and 1581712"), std::string::npos)
        << made.out;
    const std::vector<std::uint8_t> bytes = pgf::readWholeFile(folder.path() / "jpn0.pgf");
    const pgf::PgfFile file = pgf::readPgf(bytes);
    pgf::expectWellFormed(file, bytes.size());
    EXPECT_EQ(file.header.maxAscender, 1013);
    EXPECT_EQ(file.header.maxDescender, -139);

    const RunOutcome report = folder.run(PGFINFO_PATH, {"jpn0.pgf"});
    ASSERT_TRUE(report.succeeded) << report.err;
    const auto has = [&](const std::vector<char32_t>& codes) {
        return test::charactersInFont(kZenHei, codes).size();
    };
    const std::vector<char32_t> buttons = pgf::namedCharacterSet("buttons");
    // The set's codes the file holds, as our reader finds them (the sets are checked against the
    // C library's codecs in their own test).
    const auto heldOf = [&](const char* set) {
        std::size_t held = 0;
        for (const char32_t code : pgf::namedCharacterSet(set)) {
            held += file.glyphIndexOf(code) ? 1u : 0u;
        }
        return held;
    };
    // The set "kana" leaves out the block's unassigned U+3040, U+3097 and U+3098.
    for (const std::string& line :
         {countLine("Hiragana", has(block(0x3041, 0x3096)) + has(block(0x3099, 0x309F)), 96),
          countLine("Katakana", has(block(0x30A0, 0x30FF)), 96),
          countLine("CJK ideographs", 0, 20992), countLine("Hangul syllables", 0, 11172),
          countLine("buttons", has(buttons), 12), countLine("JIS X 0208", heldOf("jis0208"), 6879),
          countLine("japanese", heldOf("japanese"), 7490)}) {
        EXPECT_NE(report.out.find(line), std::string::npos) << line << report.out;
    }
    // Named jpn0.pgf, it is held against the firmware's big font alone: its budget of 145,844
    // bytes to open and 1,581,700 bytes of file, not a latin slot's.
    const std::string stingy = std::to_string(pgf::stingyOpenBytes(file.sections));
    for (const std::string& line :
         {std::string(
              "compared with the firmware's jpn0.pgf (the big font: 10.125 pt, 18 px em)\n"),
          "  stingy-open memory   " + stingy + " of 145844 (",
          "  file size            " + std::to_string(bytes.size()) + " of 1581700 (",
          std::string("  descender            -139 (-2.17 px, -0.121 em)     -139 (-2.17 px")}) {
        EXPECT_NE(report.out.find(line), std::string::npos) << line << report.out;
    }
    EXPECT_EQ(report.out.find("ltn"), std::string::npos) << report.out;
    // Its coverage is of jpn0's set, not of the latin one the file was never made for.
    const std::size_t japanese = heldOf("japanese");
    EXPECT_NE(report.out.find("  jpn0's set         " + std::to_string(japanese) + " of 7490 ("),
              std::string::npos)
        << report.out;
    EXPECT_EQ(report.out.find("PSP latin set"), std::string::npos) << report.out;
    // The same file under another name is measured as before, and a latin font's report has no
    // East Asian lines and no jpn0.
    std::filesystem::copy_file(folder.path() / "jpn0.pgf", folder.path() / "mine.pgf");
    const RunOutcome renamed = folder.run(PGFINFO_PATH, {"mine.pgf"});
    EXPECT_EQ(renamed.out.find("jpn0"), std::string::npos) << renamed.out;
    EXPECT_NE(renamed.out.find("compared with the firmware's ltn0.pgf"), std::string::npos);
    EXPECT_NE(renamed.out.find("  PSP latin set      "), std::string::npos) << renamed.out;
    ASSERT_TRUE(folder.run(TTF2PGF_PATH, {"Example.ttf", "ltn0.pgf", "18h1", "b1i1"}).succeeded);
    const RunOutcome latin = folder.run(PGFINFO_PATH, {"ltn0.pgf"});
    EXPECT_EQ(latin.out.find("East Asian"), std::string::npos);
    EXPECT_EQ(latin.out.find("jpn0"), std::string::npos);
}

}  // namespace
}  // namespace tessavine::converter
