// The PSP screen as pgfview and pgfinfo draw it, held against pictures saved when the drawing was
// known good: a converted font, a font made by hand with every 4-bit level, shadows, both
// backgrounds, the firmware-size outline, a zoom and characters the font lacks. Any change of a
// single pixel fails. Run with TESSAVINE_WRITE_GOLDEN=1 to save new pictures after a deliberate
// change of the drawing, and look at each before committing it.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"
#include "pgfview/qt_pictures.h"
#include "pgfview/screen_export.h"
#include "psp_screen/character_table.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"

namespace tessavine::psp_screen {
namespace {

const QString kGoldenDir = QStringLiteral(TESSAVINE_GOLDEN_DIR);
const QString kConvertedFont = QStringLiteral(TESSAVINE_CONVERTED_FONT);
const QString kPgfinfo = QStringLiteral(TESSAVINE_PGFINFO);

// Every level of ink from 0 to 15 in a row, and below it the same row reversed, with a shadow
// of every level too: a wrong opacity or a shadow drawn over the ink shows in some pixel.
pgf::PgfFont gradientFont() {
    pgf::PgfFont font;
    font.name = "Gradient";
    font.style = "Regular";
    font.ascender = 12 * 64 + 10;
    font.descender = -(4 * 64 + 30);
    const auto glyph = [](char16_t code, pgf::GlyphImage image, std::int32_t advance,
                          pgf::GlyphImage shadow) {
        pgf::PgfGlyph g;
        g.code = code;
        g.metrics.dimension = {image.width * 64, image.height * 64};
        g.metrics.xAdjust = {image.left * 64, -image.width * 32};
        g.metrics.yAdjust = {image.top * 64, 0};
        g.metrics.advance = {advance, 18 * 64};
        g.image = std::move(image);
        g.shadow = std::move(shadow);
        return g;
    };
    std::vector<std::uint8_t> ramp;
    for (int row = 0; row < 4; ++row) {
        for (int level = 0; level < 16; ++level) {
            ramp.push_back(static_cast<std::uint8_t>(row % 2 == 0 ? level : 15 - level));
        }
    }
    std::vector<std::uint8_t> shadowRamp;
    for (int level = 0; level < 16; ++level) {
        shadowRamp.push_back(static_cast<std::uint8_t>(level));
    }
    // Advances of whole and fractional pixels, so that a wrong rounding moves a glyph.
    // In rising code order, as the format wants them.
    font.glyphs.push_back(glyph(u' ', {1, 1, 0, 0, {0}}, 4 * 64 + 33, {1, 1, 0, 0, {0}}));
    font.glyphs.push_back(
        glyph(u'G', {16, 4, 1, 9, ramp}, 14 * 64 + 40, {8, 2, 0, 5, {shadowRamp}}));
    font.glyphs.push_back(
        glyph(u'_', {6, 1, 0, -2, {15, 12, 9, 6, 3, 1}}, 7 * 64, {3, 1, 0, -1, {4, 8, 15}}));
    font.glyphs.push_back(glyph(u'i', {2, 7, 0, 7, std::vector<std::uint8_t>(14, 15)}, 3 * 64 + 31,
                                {2, 4, 0, 4, std::vector<std::uint8_t>(8, 9)}));
    return font;
}

pgf::PgfFile readBytes(const std::vector<std::uint8_t>& bytes) {
    return pgf::readPgf(bytes);
}

std::vector<std::uint8_t> fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Held against the saved picture, pixel by pixel (alpha left out: pictures are opaque).
void compareWithGolden(const QImage& picture, const QString& name) {
    const QString path = kGoldenDir + "/" + name + ".png";
    if (qEnvironmentVariableIsSet("TESSAVINE_WRITE_GOLDEN")) {
        QVERIFY(picture.convertToFormat(QImage::Format_RGB888).save(path, "png"));
        return;
    }
    QImage golden(path);
    QVERIFY2(!golden.isNull(), qPrintable("no golden picture " + path));
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    golden = golden.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(actual.size(), golden.size());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < golden.height(); ++y) {
        for (int x = 0; x < golden.width(); ++x) {
            if (qRgb(qRed(actual.pixel(x, y)), qGreen(actual.pixel(x, y)),
                     qBlue(actual.pixel(x, y))) != qRgb(qRed(golden.pixel(x, y)),
                                                        qGreen(golden.pixel(x, y)),
                                                        qBlue(golden.pixel(x, y)))) {
                if (differing++ == 0) {
                    first = {x, y};
                }
            }
        }
    }
    QVERIFY2(differing == 0, qPrintable(QString("%1: %2 pixels differ, the first at (%3, %4)")
                                            .arg(name)
                                            .arg(differing)
                                            .arg(first.x())
                                            .arg(first.y())));
}

}  // namespace

class GoldenPicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        converted_ = fileBytes(kConvertedFont);
        QVERIFY(!converted_.empty());
        // The font made by hand is kept beside the pictures too, for the Windows build's
        // pgfinfo.exe to draw under Wine; it must still be what the code above makes.
        gradientPath_ = kGoldenDir + "/gradient.pgf";
        if (qEnvironmentVariableIsSet("TESSAVINE_WRITE_GOLDEN")) {
            writeBytes(gradientPath_, pgf::writePgf(gradientFont()));
        }
        QVERIFY(fileBytes(gradientPath_) == pgf::writePgf(gradientFont()));
    }

    void screens_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("gradient");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("light");
        QTest::addColumn<int>("referenceSlot");  // -1: no firmware-size outline
        QTest::addColumn<int>("zoom");
        const QString sample = QString::fromUtf8(pgfview::kDefaultSampleText);
        QTest::newRow("converted dark")
            << "screen-converted-dark" << false << sample << false << -1 << 1;
        QTest::newRow("converted light, firmware size")
            << "screen-converted-light-firmware" << false << sample << true << 0 << 1;
        QTest::newRow("converted, missing characters, zoom 3")
            << "screen-converted-missing-zoom3" << false << QString::fromUtf8("Ωμέγα ✓ 漢字 ok")
            << false << 8 << 3;
        QTest::newRow("gradient dark")
            << "screen-gradient-dark" << true << "GiG iG Gx" << false << -1 << 1;
        QTest::newRow("gradient light zoom 3")
            << "screen-gradient-light-zoom3" << true << "GGi" << true << 3 << 3;
    }
    void screens() {
        QFETCH(QString, name);
        QFETCH(bool, gradient);
        QFETCH(QString, sample);
        QFETCH(bool, light);
        QFETCH(int, referenceSlot);
        QFETCH(int, zoom);
        const pgf::PgfFile font =
            gradient ? readBytes(pgf::writePgf(gradientFont())) : readBytes(converted_);
        psp_screen::ScreenLayout layout =
            psp_screen::pspScreenLayout(font, sample.toStdU32String());
        if (referenceSlot >= 0) {
            layout.reference = psp_screen::firmwareReference(referenceSlot);
        }
        const QImage screen = pgfview::screenImage(
            font, layout, light ? psp_screen::lightPalette() : psp_screen::darkPalette());
        compareWithGolden(pgfview::magnify(screen, zoom), name);
    }

    void characterTables_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("gradient");
        QTest::addColumn<bool>("light");
        QTest::newRow("converted") << "table-converted-dark" << false << false;
        QTest::newRow("gradient light") << "table-gradient-light" << true << true;
    }
    void characterTables() {
        QFETCH(QString, name);
        QFETCH(bool, gradient);
        QFETCH(bool, light);
        const pgf::PgfFile font =
            gradient ? readBytes(pgf::writePgf(gradientFont())) : readBytes(converted_);
        // Wanted characters, some of which every test font lacks.
        const std::u32string wanted = U"AGiz\u00e9\u20ac\u0416\u03a9\u6f22";
        const std::vector<psp_screen::TableEntry> entries = psp_screen::characterTableEntries(
            font, std::vector<char32_t>(wanted.begin(), wanted.end()));
        const QImage table = pgfview::characterTableImage(
            font, entries, light ? psp_screen::lightPalette() : psp_screen::darkPalette());
        compareWithGolden(table, name);
    }

    void specimens_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("gradient");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("converted, default text") << "specimen-converted" << false << QStringList{};
        QTest::newRow("converted, shadows")
            << "specimen-converted-shadow" << false << QStringList{"--shadow"};
        QTest::newRow("converted, missing characters, zoom 3")
            << "specimen-converted-missing-zoom3" << false
            << QStringList{"--shadow", "--zoom", "3", "--text",
                           QString::fromUtf8("Ωμέγα\\n漢字 ok")};
        QTest::newRow("gradient, shadows") << "specimen-gradient-shadow" << true
                                           << QStringList{"--shadow", "--text", "GiG iG\\nxGi"};
        QTest::newRow("gradient, zoom 3")
            << "specimen-gradient-zoom3" << true << QStringList{"--zoom", "3", "--text", "GGi x"};
    }
    void specimens() {
        QFETCH(QString, name);
        QFETCH(bool, gradient);
        QFETCH(QStringList, options);
        const QString out = dir_.filePath(name + ".png");
        QProcess pgfinfo;
        pgfinfo.start(
            kPgfinfo,
            QStringList{gradient ? gradientPath_ : kConvertedFont, "--png", out} + options);
        QVERIFY(pgfinfo.waitForFinished(30000));
        QCOMPARE(pgfinfo.exitCode(), 0);
        compareWithGolden(QImage(out), name);
    }

  private:
    QTemporaryDir dir_;
    std::vector<std::uint8_t> converted_;
    QString gradientPath_;
};

}  // namespace tessavine::psp_screen

QTEST_GUILESS_MAIN(tessavine::psp_screen::GoldenPicturesTest)
#include "golden_pictures_test.moc"
