// The notice's size line and its time on screen, against figures worked out by hand from the
// firmware table (ltn0: 69108 bytes, 16680 to open; ltn8: 41000 and 16192).
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "core/font_size_check.h"
#include "core/notice_duration.h"
#include "core/result_texts.h"

namespace tessavine {
namespace {

pgf::PgfSections sections(std::size_t eachMetricTable, std::size_t shadowMap, std::size_t charMap,
                          std::size_t charPointers, std::size_t glyphData) {
    pgf::PgfSections s;
    s.header = 392;
    s.dimensionTable = s.xAdjustTable = s.yAdjustTable = s.advanceTable = eachMetricTable;
    s.shadowMap = shadowMap;
    s.charMap = charMap;
    s.charPointers = charPointers;
    s.glyphData = glyphData;
    return s;
}

struct SizeCase {
    const char* name;
    pgf::PgfSections sections;
    int slot;
    int fontScale;
    const char* line;  // "" when the font is within
};

class FontSizeLine : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontSizeLine, NamesBothSizesAndTheFittingScale) {
    const SizeCase& c = GetParam();
    const FontSizeComparison size = compareWithFirmware(c.sections, c.slot, c.fontScale);
    EXPECT_EQ(fontSizeLine(size), c.line);
    EXPECT_EQ(size.larger(), std::string(c.line) != "");
}

// Bitmaps and metric tables counted in proportion to the scale. E.g. "a third larger": 2092
// fixed + 90000 bitmaps + 3200 tables at 24; at 17: 2092 + 93200·17/24 = 68109 ≤ 69108; at 18:
// 71992 > 69108.
INSTANTIATE_TEST_SUITE_P(
    AgainstTheFirmware, FontSizeLine,
    ::testing::Values(
        SizeCase{"within", sections(800, 400, 600, 700, 50000), 0, 24, ""},
        SizeCase{"exactly the firmware's size", sections(800, 400, 600, 700, 63816), 0, 24, ""},
        SizeCase{"one byte over", sections(800, 400, 600, 700, 63817), 0, 24,
                 "ltn0.pgf is larger than the PSP's own: it is 69109 bytes against 69108. "
                 "Font Scale 23 or less keeps it within."},
        SizeCase{"a third larger", sections(800, 400, 600, 700, 90000), 0, 24,
                 "ltn0.pgf is larger than the PSP's own: it is 95292 bytes against 69108. "
                 "Font Scale 17 or less keeps it within."},
        // Only the lowest scale fits, and exactly: 2092 + 201048·8/24 = 69108; at 9: 77485.
        SizeCase{"fits exactly at the lowest scale", sections(800, 400, 600, 700, 197848), 0, 24,
                 "ltn0.pgf is larger than the PSP's own: it is 203140 bytes against 69108. "
                 "Font Scale 8 or less keeps it within."},
        // Open: 9000 fixed + 8000 tables; at 23: 9000 + 8000·23/24 = 16666.7 ≤ 16680.
        SizeCase{"too much to open, fixed by the tables", sections(2000, 2000, 3000, 4000, 40000),
                 0, 24,
                 "ltn0.pgf is larger than the PSP's own: it takes 17000 bytes to open against "
                 "16680. Font Scale 23 or less keeps it within."},
        SizeCase{"too much to open whatever the scale", sections(800, 400, 12000, 6000, 30000), 0,
                 24,
                 "ltn0.pgf is larger than the PSP's own: it takes 21600 bytes to open against "
                 "16680. No Font Scale from 8 up keeps it within."},
        // Slot 8 at 16: the file allows 15 (13392 + 29000·15/16 = 40580 ≤ 41000), the open 12
        // (13000 + 4000·12/16 = 16000 ≤ 16192; at 13: 16250).
        SizeCase{"both, a small slot", sections(1000, 1000, 9000, 3000, 25000), 8, 16,
                 "ltn0.pgf is larger than the PSP's own: it is 42392 bytes against 41000 and "
                 "takes 17000 bytes to open against 16192. Font Scale 12 or less keeps it "
                 "within."},
        SizeCase{"already at the lowest scale", sections(800, 400, 600, 700, 90000), 0, 8,
                 "ltn0.pgf is larger than the PSP's own: it is 95292 bytes against 69108. No "
                 "Font Scale from 8 up keeps it within."}),
    [](const auto& row) {
        std::string name = row.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(FontSizeLine, ComesLastInTheNoticeOnlyWhenLarger) {
    const FontCoverage full{447, {}};
    const auto larger = compareWithFirmware(sections(800, 400, 600, 700, 90000), 0, 24);
    const auto within = compareWithFirmware(sections(800, 400, 600, 700, 50000), 0, 24);
    const std::string base =
        "ltn0.pgf made from A.ttf in 1.0 s: 447 characters, none missing.\n1 slot file copied "
        "from it.";
    EXPECT_EQ(conversionNotice("A.ttf", full, std::chrono::milliseconds(1000), 1, within), base);
    EXPECT_EQ(conversionNotice("A.ttf", full, std::chrono::milliseconds(1000), 1, larger),
              base + "\n" + fontSizeLine(larger));
    EXPECT_FALSE(compareWithFirmware(std::string("not a font"), 0, 24).has_value());
}

TEST(NoticeShowTime, ByLengthWithinFiveToTwelveSeconds) {
    using std::chrono::milliseconds;
    const struct {
        std::string text;
        milliseconds shown;
    } cases[] = {
        {"", milliseconds(5000)},
        {std::string(125, 'a'), milliseconds(5000)},  // 125 · 40 ms
        {std::string(126, 'a'), milliseconds(5040)},
        {std::string(299, 'a'), milliseconds(11960)},
        {std::string(300, 'a'), milliseconds(12000)},
        {std::string(5000, 'a'), milliseconds(12000)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(noticeShowTime(c.text), c.shown) << c.text.size() << " characters";
    }
    // Characters, not bytes: 200 "ö" are 400 bytes and 8 s.
    std::string umlauts;
    for (int i = 0; i < 200; ++i) {
        umlauts += "\xc3\xb6";
    }
    EXPECT_EQ(noticeShowTime(umlauts), milliseconds(8000));
}

}  // namespace
}  // namespace tessavine
