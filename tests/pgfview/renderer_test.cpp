// The drawing without a window: a font whose pixels are known, drawn onto planes and images, and
// every pixel checked against positions worked out by hand.
#include <QtTest>
#include <array>
#include <limits>
#include <map>
#include <utility>

#include "pgf/firmware_slots.h"
#include "pgfview/font_summary.h"
#include "pgfview/qt_pictures.h"
#include "psp_screen/character_table.h"
#include "psp_screen/psp_text.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"
#include "psp_screen/table_pages.h"
#include "test_fonts.h"

using Pixels = std::map<std::pair<int, int>, int>;  // (x, y) → coverage 0..255
Q_DECLARE_METATYPE(Pixels)

namespace tessavine::pgfview {

// The shared drawing, checked here through the pictures the window shows.
using namespace psp_screen;

namespace {

// 'A' drawn with its pen at (x, baseline): glyph pixels, then shadow pixels (each shadow pixel a
// 2×2 block, since the writer's shadow scale is 32).
Pixels inkOfA(int x, int baseline) {
    const int left = x + 1;
    const int top = baseline - 5;
    return {{{left, top}, 255},
            {{left + 1, top}, 136},
            {{left + 2, top}, 17},
            {{left + 1, top + 1}, 255},
            {{left + 2, top + 1}, 68}};
}
Pixels shadowOfA(int x, int baseline) {
    Pixels pixels;
    const int top = baseline - 6;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            pixels[{x - 2 + dx, top + dy}] = 255;
            pixels[{x + dx, top + dy}] = 102;
        }
    }
    return pixels;
}
Pixels inkOfUnderscore(int x, int baseline) {
    Pixels pixels;
    for (int dx = 0; dx < 4; ++dx) {
        pixels[{x + dx, baseline + 1}] = 255;
    }
    return pixels;
}
Pixels merged(std::initializer_list<Pixels> parts) {
    Pixels all;
    for (const Pixels& part : parts) {
        all.insert(part.begin(), part.end());
    }
    return all;
}

constexpr int kWidth = 64;
constexpr int kHeight = 40;

}  // namespace

class RendererTest : public QObject {
    Q_OBJECT

  private slots:
    void textHoldsExactlyTheGlyphPixels_data();
    void textHoldsExactlyTheGlyphPixels();
    void overlappingInkAddsAndSaturates();
    void screenPaintsShadowUnderInk();
    void linesStandOneHeaderPitchApart();
    void firmwareReferenceSizes();
    void magnifiedPixelsStayPixels();
    void tableMarksMissingCharacters();
    void summaryTellsEmSizeAndMissing();
    void damagedMetricsStayWithinBounds();
    void tableMemoryStaysBoundedWhateverTheFileClaims();
};

void RendererTest::textHoldsExactlyTheGlyphPixels_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Pixels>("ink");
    QTest::addColumn<Pixels>("shadow");
    const int x = 10;
    const int b = 20;
    QTest::newRow("one glyph") << "A" << inkOfA(x, b) << shadowOfA(x, b);
    // 7 px + 20/64 rounds to 7 for every glyph; a pen that kept the fraction would be at 15 after
    // two glyphs.
    QTest::newRow("whole-pixel advances")
        << "AAA" << merged({inkOfA(x, b), inkOfA(x + 7, b), inkOfA(x + 14, b)})
        << merged({shadowOfA(x, b), shadowOfA(x + 7, b), shadowOfA(x + 14, b)});
    QTest::newRow("missing code drawn as underscore")
        << QString::fromUtf8("A\u00e9") << merged({inkOfA(x, b), inkOfUnderscore(x + 7, b)})
        << shadowOfA(x, b);
    QTest::newRow("underscore advances like itself")
        << QString::fromUtf8("\u00e9A") << merged({inkOfUnderscore(x, b), inkOfA(x + 5, b)})
        << shadowOfA(x + 5, b);
    QTest::newRow("nothing") << "" << Pixels{} << Pixels{};
}

void RendererTest::textHoldsExactlyTheGlyphPixels() {
    QFETCH(QString, text);
    QFETCH(Pixels, ink);
    QFETCH(Pixels, shadow);
    const pgf::PgfFile font = test::twoGlyphFileRead();
    CoverageCanvas canvas(kWidth, kHeight);
    canvas.drawText(font, 10, 20, text.toStdU32String());
    const auto check = [](const char* plane, int x, int y, int found, const Pixels& expected) {
        const auto place = expected.find({x, y});
        const int wanted = place == expected.end() ? 0 : place->second;
        QVERIFY2(found == wanted, qPrintable(QString::asprintf("%s at (%d, %d) is %d, expected %d",
                                                               plane, x, y, found, wanted)));
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            check("ink", x, y, canvas.ink(x, y), ink);
            check("shadow", x, y, canvas.shadow(x, y), shadow);
        }
    }
}

void RendererTest::overlappingInkAddsAndSaturates() {
    // Two 'A's one pixel apart: where 8 meets 15 the sum saturates, where 1 meets 8 it adds.
    const pgf::PgfFile font = test::twoGlyphFileRead();
    CoverageCanvas canvas(kWidth, kHeight);
    canvas.drawText(font, 10, 20, U"A");
    canvas.drawText(font, 11, 20, U"A");
    QCOMPARE(int(canvas.ink(12, 15)), 255);       // 8·17 + 15·17
    QCOMPARE(int(canvas.ink(13, 15)), 17 + 136);  // 1·17 + 8·17
    QCOMPARE(int(canvas.ink(14, 15)), 17);
    QCOMPARE(int(canvas.ink(12, 16)), 255);
    QCOMPARE(int(canvas.ink(13, 16)), 255);  // 4·17 + 15·17
    QCOMPARE(int(canvas.ink(14, 16)), 68);
}

void RendererTest::screenPaintsShadowUnderInk() {
    const pgf::PgfFile font = test::twoGlyphFileRead();
    ScreenLayout layout;
    layout.size = {kWidth, kHeight};
    layout.runs.push_back({10, 20, U"A"});
    Palette palette = darkPalette();
    palette.background = {0, 0, 0};
    palette.ink = {0, 255, 0};
    palette.shadow = {255, 0, 0};
    const QImage image = screenImage(font, layout, palette);
    QCOMPARE(image.size(), QSize(kWidth, kHeight));
    // Shadow alone: red at its coverage.
    QCOMPARE(image.pixel(8, 14), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(10, 15), qRgb(102, 0, 0));
    // Full ink hides the shadow; partial ink mixes with what is under it.
    QCOMPARE(image.pixel(11, 15), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(12, 15), qRgb(0, 136, 0));
    // Where there is neither, the background.
    QCOMPARE(image.pixel(30, 30), qRgb(0, 0, 0));
}

void RendererTest::linesStandOneHeaderPitchApart() {
    const pgf::PgfFile font = test::twoGlyphFileRead();
    QCOMPARE(linePitch(font.header), 14);
    QCOMPARE(ascentPixels(font.header), 10);
    const ScreenLayout layout = pspScreenLayout(font, U"AAA");
    QCOMPARE(layout.size, (Size{480, 272}));
    QCOMPARE(layout.runs.front().text, std::u32string(U"AAA"));
    QCOMPARE(layout.runs.front().baseline, 14 + 10);  // margin + ascent
    // The paragraph's lines: the runs after the menu, all at the dialog's left.
    std::vector<int> baselines;
    const int dialogLeft = layout.runs.back().x;
    for (const TextRun& run : layout.runs) {
        if (run.x == dialogLeft) {
            baselines.push_back(run.baseline);
        }
    }
    QVERIFY(baselines.size() >= 3);
    for (std::size_t i = 1; i < baselines.size(); ++i) {
        QCOMPARE(baselines[i] - baselines[i - 1], 14);
    }
    // Everything stays on the screen.
    for (const TextRun& run : layout.runs) {
        QVERIFY(run.baseline + 4 <= 272);
    }
}

void RendererTest::firmwareReferenceSizes() {
    // em = points × 128 / 72; ascent = em × 863 / 1059 (576 / 707 small); pitch = (asc − desc)/64.
    for (const auto& [slot, em, ascent, pitch] :
         {std::array{0, 18, 15, 17}, std::array{7, 18, 15, 17}, std::array{8, 12, 10, 11}}) {
        const ReferenceSize reference = firmwareReference(slot);
        QCOMPARE((std::array{reference.em, reference.ascent, reference.pitch}),
                 (std::array{em, ascent, pitch}));
    }
}

void RendererTest::magnifiedPixelsStayPixels() {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, y, qRgb(x * 100, y * 200, 7));
        }
    }
    for (int factor = 1; factor <= 4; ++factor) {
        const QImage big = magnify(image, factor);
        QCOMPARE(big.size(), QSize(3 * factor, 2 * factor));
        for (int y = 0; y < big.height(); ++y) {
            for (int x = 0; x < big.width(); ++x) {
                QCOMPARE(big.pixel(x, y), qRgb(x / factor * 100, y / factor * 200, 7));
            }
        }
    }
}

void RendererTest::tableMarksMissingCharacters() {
    const pgf::PgfFile font = test::twoGlyphFileRead();
    const std::vector<char32_t> wanted{U'\u00e9', U'A', U'B', U'_'};
    QCOMPARE(missingCharacters(font, wanted), (std::vector<char32_t>{U'B', U'\u00e9'}));
    const std::vector<TableEntry> entries = characterTableEntries(font, wanted);
    QCOMPARE(entries.size(), std::size_t(4));
    const std::vector<std::pair<char32_t, bool>> expected{
        {U'A', false}, {U'B', true}, {U'_', false}, {U'\u00e9', true}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(static_cast<uint>(entries[i].code), static_cast<uint>(expected[i].first));
        QCOMPARE(entries[i].missing, expected[i].second);
    }
    Palette palette = darkPalette();
    palette.missing = {200, 0, 0};
    const QImage table = characterTableImage(font, entries, palette);
    const TableGeometry geometry = tableGeometry(font, entries.size());
    QCOMPARE(table.width(), geometry.cellWidth * kTableColumns);
    QCOMPARE(table.height(), geometry.cellHeight);
    // A missing cell is marked; a present one keeps the background.
    const QPoint inside(geometry.cellWidth - 2, geometry.cellHeight - 2);
    const auto topLeft = [&](std::size_t index) {
        return QPoint(geometry.cell(index).left(), geometry.cell(index).top());
    };
    QCOMPARE(table.pixel(topLeft(1) + inside), qRgb(200, 0, 0));
    QCOMPARE(table.pixel(topLeft(0) + inside),
             qRgb(palette.background.red, palette.background.green, palette.background.blue));
}

void RendererTest::summaryTellsEmSizeAndMissing() {
    const pgf::PgfFile font = test::twoGlyphFileRead();
    const FontSummary summary = summarize(font, "ltn9.pgf", 1234);
    QCOMPARE(summary.name, QString("Known Pixels"));
    QCOMPARE(summary.emPixels, 18.0);  // 648/64 pt at 8192/64 dpi
    QCOMPARE(summary.glyphCount, std::size_t(2));
    QCOMPARE(summary.slot, 9);
    QCOMPARE(summary.slotOpenBytes, std::size_t(16476));
    QVERIFY(summaryHtml(summary).contains("ltn9.pgf"));

    // jpn0.pgf is held against the firmware's big font: 1,581,700 bytes, 145,844 to open.
    const FontSummary big = summarize(font, "jpn0.pgf", 1234);
    QCOMPARE(big.slotFileBytes, std::size_t(1581700));
    QCOMPARE(big.slotOpenBytes, std::size_t(145844));
    const QString html = summaryHtml(big);
    QVERIFY(html.contains("jpn0.pgf") && html.contains("1,581,700") && html.contains("145,844"));
    QVERIFY(!html.contains("ltn") && !html.contains("assumed"));
}

void RendererTest::damagedMetricsStayWithinBounds() {
    // Header and advances at the ends of their 32 bits: their sums would overflow and their
    // pictures would take gigabytes if they were taken at their word.
    pgf::PgfFont hostile = test::twoGlyphFont();
    hostile.ascender = std::numeric_limits<std::int32_t>::max() - 10;
    hostile.descender = std::numeric_limits<std::int32_t>::min() + 10;
    hostile.glyphs.front().metrics.advance.horizontal = std::numeric_limits<std::int32_t>::max();
    const std::vector<std::uint8_t> bytes = pgf::writePgf(hostile);
    const pgf::PgfFile font = pgf::readPgf(bytes);
    QCOMPARE(linePitch(font.header), kMostPixels);
    QCOMPARE(ascentPixels(font.header), kMostPixels);
    QCOMPARE(advancePixels(font.glyphs.front()), kMostPixels);
    QCOMPARE(textWidth(font, std::u32string(5000, U'A')), 5000 * kMostPixels);

    const QImage screen = screenImage(font, pspScreenLayout(font, U"AAAA"), darkPalette());
    QCOMPARE(screen.size(), QSize(480, 272));
    const std::vector<TableEntry> entries = characterTableEntries(font, {U'A', U'B'});
    const QImage table = characterTableImage(font, entries, darkPalette());
    QVERIFY(table.height() <= 127 + 8);
    QVERIFY(table.width() <= (127 + 8) * kTableColumns);
}

void RendererTest::tableMemoryStaysBoundedWhateverTheFileClaims() {
    // 5,000 characters, each claiming the widest advance and the tallest line the table allows:
    // drawn in full, 135 × 135-pixel cells would take 90 million pixels.
    pgf::PgfFont crowded = test::twoGlyphFont();
    crowded.ascender = 200 * 64;
    crowded.descender = -(100 * 64);
    const pgf::PgfGlyph model = crowded.glyphs.front();
    crowded.glyphs.clear();
    for (char16_t code = 0x100; code < 0x100 + 5000; ++code) {
        pgf::PgfGlyph glyph = model;
        glyph.code = code;
        glyph.metrics.advance.horizontal = 300 * 64;
        crowded.glyphs.push_back(glyph);
    }
    const std::vector<std::uint8_t> bytes = pgf::writePgf(crowded);
    const pgf::PgfFile font = pgf::readPgf(bytes);
    // None left out: the 5,000 characters and the missing "A", a page at a time.
    const std::vector<TableEntry> entries = characterTableEntries(font, {U'A'});
    QCOMPARE(entries.size(), std::size_t(5001));
    const std::vector<TablePage> pages = characterTablePages(font, entries);
    std::size_t shown = 0;
    for (const TablePage& page : pages) {
        const QImage table = characterTableImage(
            font, std::span<const TableEntry>(entries).subspan(page.first, page.count),
            darkPalette());
        QCOMPARE(table.width(), (127 + 8) * kTableColumns);
        // At most 4 Mi pixels (16 MiB of picture), whole rows of cells, each entry a cell.
        QVERIFY(qint64(table.width()) * table.height() <= 4 * 1024 * 1024);
        QCOMPARE(table.height() % 135, 0);
        QVERIFY(std::size_t(table.height() / 135 * kTableColumns) >= page.count);
        shown += page.count;
    }
    QCOMPARE(shown, entries.size());
}

}  // namespace tessavine::pgfview

QTEST_GUILESS_MAIN(tessavine::pgfview::RendererTest)
#include "renderer_test.moc"
