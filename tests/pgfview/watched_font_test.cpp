// The watched file on disk: it appears, is replaced the converter's way, vanishes, turns out to be
// no font, and comes back, and the watch follows every step.
#include <QtTest>

#include "pgfview/watched_font.h"
#include "test_fonts.h"

namespace tessavine::pgfview {

using State = WatchedFont::State;

class WatchedFontTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        path_ = folder_->filePath("ltn0.pgf");
    }
    void cleanup() { folder_.reset(); }

    void waitsWhileTheFileIsNotThereAndShowsItWhenItIs();
    void readsAgainWhenTheFileIsReplaced();
    void damagedFileIsReportedAndAGoodOneLoadsAfter_data();
    void damagedFileIsReportedAndAGoodOneLoadsAfter();

  private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString path_;
};

void WatchedFontTest::waitsWhileTheFileIsNotThereAndShowsItWhenItIs() {
    WatchedFont font;
    font.open(path_);  // not there yet
    QCOMPARE(font.state(), State::Waiting);
    QVERIFY(font.message().contains("ltn0.pgf"));
    QVERIFY(font.font() == nullptr);
    test::replaceFile(path_, test::twoGlyphFile());
    QTRY_COMPARE(font.state(), State::Loaded);
    QCOMPARE(font.font()->glyphs.size(), std::size_t(2));
    QVERIFY(QFile::remove(path_));  // gone again
    QTRY_COMPARE(font.state(), State::Waiting);
    QVERIFY(font.font() == nullptr);  // no stale picture
    test::replaceFile(path_, test::twoGlyphFile(1));
    QTRY_COMPARE(font.state(), State::Loaded);
    QCOMPARE(font.font()->glyphs.size(), std::size_t(3));
}

void WatchedFontTest::readsAgainWhenTheFileIsReplaced() {
    test::replaceFile(path_, test::twoGlyphFile());
    WatchedFont font;
    QSignalSpy changes(&font, &WatchedFont::changed);
    font.open(path_);
    QTRY_COMPARE(font.state(), State::Loaded);
    // Several replacements in a row: each must be seen, the watch renewed after every rename.
    for (int extra = 1; extra <= 3; ++extra) {
        const std::vector<std::uint8_t> bytes = test::twoGlyphFile(extra);
        test::replaceFile(path_, bytes);
        QTRY_COMPARE_WITH_TIMEOUT(font.font() ? font.font()->glyphs.size() : 0,
                                  std::size_t(2 + extra), 1000);
        QCOMPARE(font.fileBytes(), bytes.size());
    }
    QVERIFY(changes.size() >= 4);
}

void WatchedFontTest::damagedFileIsReportedAndAGoodOneLoadsAfter_data() {
    QTest::addColumn<QByteArray>("content");
    const std::vector<std::uint8_t> good = test::twoGlyphFile();
    const QByteArray whole(reinterpret_cast<const char*>(good.data()),
                           static_cast<qsizetype>(good.size()));
    QTest::newRow("text file") << QByteArray("This is no font at all.\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << whole.left(392);
    QTest::newRow("cut in half") << whole.left(whole.size() / 2);
}

void WatchedFontTest::damagedFileIsReportedAndAGoodOneLoadsAfter() {
    QFETCH(QByteArray, content);
    test::replaceFile(path_, test::twoGlyphFile());
    WatchedFont font;
    font.open(path_);
    QTRY_COMPARE(font.state(), State::Loaded);
    test::replaceFile(path_, std::vector<std::uint8_t>(content.begin(), content.end()));
    QTRY_COMPARE(font.state(), State::Damaged);
    QVERIFY(font.font() == nullptr);
    QVERIFY2(font.message().contains("ltn0.pgf") && font.message().contains("another"),
             qPrintable(font.message()));
    test::replaceFile(path_, test::twoGlyphFile(2));
    QTRY_COMPARE(font.state(), State::Loaded);
    QCOMPARE(font.font()->glyphs.size(), std::size_t(4));
}

}  // namespace tessavine::pgfview

QTEST_GUILESS_MAIN(tessavine::pgfview::WatchedFontTest)
#include "watched_font_test.moc"
