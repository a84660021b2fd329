// pgfview as the main window's companion and as a tool for scripts: where it opens at 100 % and
// 200 %, that the PSP screen stays sharp at every device-pixel ratio, and the answers and the
// export that need no display.
#include <QtTest>
#include <QtWidgets>

#include "pgfview/companion_placement.h"
#include "pgfview/screen_export.h"
#include "pgfview/viewer_window.h"
#include "test_fonts.h"

namespace tessavine::pgfview {

class CompanionTest : public QObject {
    Q_OBJECT

  private slots:
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void exportPlacesEveryCharacterOfTheSampleWithoutAWindow();
    void exportIntoAPlaceThatCannotHoldItFails_data();
    void exportIntoAPlaceThatCannotHoldItFails();
    void opensBesideTheCentredMainWindowWithinTheScreen();
    void screenPixelsStaySquareAtTheDevicePixelRatio();
};

namespace {

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

}  // namespace

void CompanionTest::helpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");  // the start of standard output, or of the error stream
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "usage: pgfview [FILE.pgf]\n";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "pgfview 1.";
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << 2 << "pgfview: unknown option --frobnicate";
    QTest::newRow("--export without a name") << QStringList{"--export"} << 2 << "usage:";
    QTest::newRow("--export of a missing file")
        << QStringList{"--export", "out.png", "missing.pgf"} << 1 << "pgfview: Could not read";
}

void CompanionTest::helpAndVersionNeedNoDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir folder;
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.setWorkingDirectory(folder.path());
    process.start(TESSAVINE_PGFVIEW, arguments);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString said =
        exitCode == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
    QVERIFY2(said.contains(output), qPrintable(said));
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void CompanionTest::exportPlacesEveryCharacterOfTheSampleWithoutAWindow() {
    QTemporaryDir folder;
    test::replaceFile(folder.filePath("ltn0.pgf"), test::twoGlyphFile());
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(TESSAVINE_PGFVIEW,
                  {"--export", folder.filePath("screen.png"), folder.filePath("ltn0.pgf")});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
    const QImage screen(folder.filePath("screen.png"));
    QCOMPARE(screen.size(), QSize(480, 272));

    // The font has only 'A' and '_', and the sample has no 'A': every character of the top line
    // is the underscore, 4 pixels of full ink one pixel below the baseline, 5 pixels apart, and
    // nothing else is drawn above or below it in that line.
    const int characters = static_cast<int>(QString::fromUtf8(kDefaultSampleText).size());
    const QRgb background = screen.pixel(0, 0);
    int row = -1;
    int left = -1;
    for (int y = 0; y < 40 && row < 0; ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) != background) {
                row = y;
                left = x;
                break;
            }
        }
    }
    QVERIFY(row >= 0);
    const QRgb ink = screen.pixel(left, row);
    for (int x = 0; x < screen.width(); ++x) {
        const bool inLine = x >= left && x < left + 5 * characters;
        const bool expectInk = inLine && (x - left) % 5 < 4;
        QCOMPARE(screen.pixel(x, row), expectInk ? ink : background);
        for (int y : {row - 1, row + 1}) {
            QCOMPARE(screen.pixel(x, y), background);
        }
    }
}

// An export that cannot be written is a failure, told and exit code 1, that leaves nothing behind.
void CompanionTest::exportIntoAPlaceThatCannotHoldItFails_data() {
    QTest::addColumn<QString>("out");  // in the scratch folder, which holds ltn0.pgf
    QTest::newRow("a folder that does not exist") << "missing/screen.png";
    QTest::newRow("inside a file") << "ltn0.pgf/screen.png";
    QTest::newRow("a folder's name") << "taken";
}

void CompanionTest::exportIntoAPlaceThatCannotHoldItFails() {
    QFETCH(QString, out);
    QTemporaryDir folder;
    test::replaceFile(folder.filePath("ltn0.pgf"), test::twoGlyphFile());
    QVERIFY(QDir(folder.path()).mkdir("taken"));
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.setWorkingDirectory(folder.path());
    process.start(TESSAVINE_PGFVIEW, {"--export", out, "ltn0.pgf"});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QString said = process.readAllStandardError();
    QVERIFY2(said.contains("pgfview: Could not write \""), qPrintable(said));
    QVERIFY2(said.contains("Choose another folder or name."), qPrintable(said));
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             (QStringList{"ltn0.pgf", "taken"}));
    QCOMPARE(QDir(folder.filePath("taken")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void CompanionTest::opensBesideTheCentredMainWindowWithinTheScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    // The main window as the program places it: its client area centred, with a frame around
    // it of at most 40 pixels above (title and menu bar) and 8 on the other sides.
    const QRect mainClient(QPoint(available.center().x() - 447 / 2, available.top()),
                           QSize(447, 392));
    const QRect mainFrame = mainClient.adjusted(-8, 0, 8, 0);

    ViewerWindow window;
    window.setGeometry(companionGeometry(available, window.size()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect placed = window.frameGeometry();
    QVERIFY2(available.contains(placed), qPrintable(QString("%1,%2 %3x%4 in %5x%6")
                                                        .arg(placed.x())
                                                        .arg(placed.y())
                                                        .arg(placed.width())
                                                        .arg(placed.height())
                                                        .arg(available.width())
                                                        .arg(available.height())));
    QVERIFY(placed.right() < mainFrame.left() || placed.left() > mainFrame.right());
    // It uses the room it has: at least half of the side it is on.
    const int room =
        std::max(mainFrame.left() - available.left(), available.right() - mainFrame.right());
    QVERIFY(placed.width() >= room / 2);
}

void CompanionTest::screenPixelsStaySquareAtTheDevicePixelRatio() {
    QTemporaryDir folder;
    test::replaceFile(folder.filePath("ltn0.pgf"), test::twoGlyphFile());
    ViewerWindow window;
    window.openFile(folder.filePath("ltn0.pgf"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.font().font() != nullptr);
    const qreal ratio = window.devicePixelRatioF();
    const QPixmap shown = window.findChild<QLabel*>("screenView")->pixmap();
    const int zoom = window.findChild<QComboBox*>("zoom")->currentData().toInt();
    const int block = qRound(zoom * ratio);  // device pixels per PSP pixel
    QCOMPARE(shown.devicePixelRatio(), ratio);
    QCOMPARE(shown.size(), QSize(480 * block, 272 * block));
    // Every PSP pixel is a uniform square of whole device pixels: no smoothing at any ratio.
    const QImage image = shown.toImage();
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 3) {
            QCOMPARE(image.pixel(x, y), image.pixel(x - x % block, y - y % block));
        }
    }
}

}  // namespace tessavine::pgfview

QTEST_MAIN(tessavine::pgfview::CompanionTest)
#include "companion_test.moc"
