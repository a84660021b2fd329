// Files the converter makes from chosen sets and fallback fonts, opened by pgfview's drawing: a
// Greek line draws Greek glyphs (not the "_" the PSP puts for a missing one), a font of more
// glyphs than shadow ids draws a shadow under each, and the side panel names the fonts drawn from.
#include <QtTest>

#include "converter/font_converter.h"
#include "pgfview/font_summary.h"
#include "psp_screen/psp_text.h"

namespace tessavine::pgfview {

using psp_screen::CoverageCanvas;
using psp_screen::glyphFor;
using psp_screen::textWidth;

class CharacterSourcesTest : public QObject {
    Q_OBJECT

  private slots:
    void greekFromAFallbackDrawsWithShadowsAndNamesItsFont() {
        converter::ConversionParameters parameters;
        parameters.fontScale = 18;
        parameters.shadowBlur = 2.5;
        parameters.shadowIntensity = 1.2;
        parameters.characterSets = "latin1,latin-ext-a,latin-ext-b,greek,cyrillic";
        const std::filesystem::path fonts(TESSAVINE_FONTS_DIR);
        parameters.fallbackFonts = {(fonts / "Example.ttf").string()};
        const auto converted = converter::convertFont(fonts / "Example2.otf", parameters);
        const pgf::PgfFile font = pgf::readPgf(converted.pgf);
        QVERIFY(font.glyphs.size() > 511);

        const std::u32string greek = U"Καλημέρα κόσμε";
        for (const char32_t code : greek) {
            const pgf::PgfGlyph* glyph = glyphFor(font, code);
            QVERIFY(glyph);
            QCOMPARE(static_cast<char32_t>(glyph->code), code);
        }
        CoverageCanvas canvas(400, 40);
        const int end = canvas.drawText(font, 4, 30, greek);
        QCOMPARE(end, 4 + textWidth(font, greek));
        int ink = 0, shadow = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                ink += canvas.ink(x, y) > 0 ? 1 : 0;
                shadow += canvas.shadow(x, y) > 0 ? 1 : 0;
            }
        }
        QVERIFY(ink > 100);
        QVERIFY(shadow > ink);  // every letter's halo reaches beyond its ink

        const FontSummary summary = summarize(font, "ltn0.pgf", converted.pgf.size());
        QCOMPARE(summary.sources.size(), std::size_t{2});
        QCOMPARE(summary.sources[0].font, QString("Example2.otf"));
        QCOMPARE(summary.sources[1].font, QString("Example.ttf"));
        QCOMPARE(summary.sources[0].characters + summary.sources[1].characters, font.glyphs.size());
        // "Drawn from" heads the first font's row only.
        const QString html = summaryHtml(summary);
        QCOMPARE(html.count("Drawn from"), 1);
        QVERIFY(html.indexOf("Drawn from") < html.indexOf("Example2.otf: "));
        QVERIFY(html.indexOf("Example2.otf: ") < html.indexOf("Example.ttf: "));
    }
};

}  // namespace tessavine::pgfview

QTEST_MAIN(tessavine::pgfview::CharacterSourcesTest)
#include "character_sources_test.moc"
