// pgfview as the main window's companion and as a tool for scripts: where it opens at 100 % and
// 200 %, that the PSP screen stays sharp at every device-pixel ratio, and the answers and the
// export that need no display.
#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <array>
#include <set>

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
    void growsAwayFromTheMainWindowAndStaysOnTheScreen();
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

// At the zoom it opens at and then at each zoom chosen, beside the main window and inside the
// screen, with the picture whole where the room beside the main window holds it: the panel below
// the picture where the room is too narrow for both across, beside it where it is not. The
// figures are worked out by hand for the screens the test runs on, by their width in logical
// pixels: the main window's frame (463 wide) centred, 8 pixels apart, 16 of pgfview's own frame,
// leaves a client area 705 wide on 1920, 1665 on 3840 and 225 on 960; the picture below needs
// about 30 more for the margins, 960 + 30 at 2× and 480 + 30 at 1×; the panel beside, 330 more.
// It opens at 2× only where that picture fits whole, else at 1×, whole or not.
void CompanionTest::opensBesideTheCentredMainWindowWithinTheScreen() {
    struct Row {
        int screenWidth;
        int openingZoom;
        std::set<int> wholeZooms;
        std::set<int> besideZooms;  // the panel beside the picture; at the others, below it
    };
    const Row rows[] = {
        {960, 1, {}, {}},              // 1920 × 1080 at 200 %: not even 1× beside the main window
        {1920, 1, {1}, {}},            // 1920 × 1080 at 100 %, 3840 × 2160 at 200 %
        {3840, 2, {1, 2, 3}, {1, 2}},  // 3840 × 2160 at 100 %: 3× with the panel below
    };
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const auto row = std::find_if(std::begin(rows), std::end(rows),
                                  [&](const Row& r) { return r.screenWidth == available.width(); });
    QVERIFY2(row != std::end(rows),
             qPrintable(QString("no figures for a screen %1 wide").arg(available.width())));
    // The main window as the program places it: its client area centred, with a frame around
    // it of at most 40 pixels above (title and menu bar) and 8 on the other sides.
    const QRect mainClient(QPoint(available.center().x() - 447 / 2, available.top()),
                           QSize(447, 392));
    const QRect mainFrame = mainClient.adjusted(-8, 0, 8, 0);
    const int room =
        std::max(mainFrame.left() - available.left(), available.right() - mainFrame.right());

    QTemporaryDir folder;
    test::replaceFile(folder.filePath("ltn0.pgf"), test::twoGlyphFile());
    ViewerWindow window;
    window.openFile(folder.filePath("ltn0.pgf"));
    QTRY_VERIFY(window.font().font() != nullptr);
    window.placeBesideMainWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* zoom = window.findChild<QComboBox*>("zoom");
    const auto* picture = window.findChild<QLabel*>("screenView");
    const auto* area = window.findChild<QScrollArea*>("screenArea");
    const auto* views = window.findChild<QTabWidget*>("views");
    const auto* outer = qobject_cast<const QScrollArea*>(window.centralWidget());
    QVERIFY(outer != nullptr);
    const auto* panel = window.findChild<QWidget*>("sidePanel");
    QCOMPARE(zoom->currentData().toInt(), row->openingZoom);
    // As the window opened; then each zoom chosen, which stays as chosen whatever the room.
    const std::array factors{row->openingZoom, 2, 1, 2, 3, 4};
    for (std::size_t step = 0; step < factors.size(); ++step) {
        const int factor = factors[step];
        if (step > 0) {
            zoom->setCurrentIndex(factor - 1);
        }
        QTest::qWait(50);  // the layouts settle a step an event
        const QString where = QString("%1× %2 on a screen %3 wide")
                                  .arg(factor)
                                  .arg(step == 0 ? "as opened" : "chosen")
                                  .arg(available.width());
        QCOMPARE(zoom->currentData().toInt(), factor);
        const QRect placed = window.frameGeometry();
        QVERIFY2(available.contains(placed), qPrintable(QString("%1: %2,%3 %4x%5")
                                                            .arg(where)
                                                            .arg(placed.x())
                                                            .arg(placed.y())
                                                            .arg(placed.width())
                                                            .arg(placed.height())));
        QVERIFY2(placed.right() < mainFrame.left() || placed.left() > mainFrame.right(),
                 qPrintable(where));
        // As it opens, it uses the room it has: at least half of the side it is on.
        QVERIFY2(step != 0 || placed.width() >= room / 2, qPrintable(where));

        const QSize size(480 * factor, 272 * factor);
        // Whole in its own scroll area and in the window's, which scrolls everything when the
        // window is smaller than the controls need.
        const auto whole = [&] {
            return std::ranges::all_of(std::array{area, outer}, [&](const QScrollArea* scroll) {
                const QRect shown(picture->mapTo(scroll->viewport(), QPoint(0, 0)), size);
                return scroll->viewport()->rect().contains(shown) &&
                       !scroll->horizontalScrollBar()->isVisible() &&
                       !scroll->verticalScrollBar()->isVisible();
            });
        };
        if (row->wholeZooms.contains(factor)) {
            QTRY_VERIFY2(whole(), qPrintable(QString("%1: viewport %2×%3")
                                                 .arg(where)
                                                 .arg(area->viewport()->width())
                                                 .arg(area->viewport()->height())));
        } else {
            QVERIFY2(!whole(), qPrintable(where));
        }
        const QRect pictureBox(views->mapTo(&window, QPoint(0, 0)), views->size());
        const QRect panelBox(panel->mapTo(&window, QPoint(0, 0)), panel->size());
        if (row->besideZooms.contains(factor)) {
            QVERIFY2(panelBox.left() > pictureBox.right(), qPrintable(where));
            QCOMPARE(panelBox.width(), 330);
        } else {
            QVERIFY2(panelBox.top() > pictureBox.bottom(), qPrintable(where));
            QVERIFY2(panelBox.left() == pictureBox.left() && panelBox.width() >= pictureBox.width(),
                     qPrintable(QString("%1: panel %2+%3, picture %4+%5")
                                    .arg(where)
                                    .arg(panelBox.left())
                                    .arg(panelBox.width())
                                    .arg(pictureBox.left())
                                    .arg(pictureBox.width())));
        }
    }
}

// A zoom that makes the window larger: the edge towards the middle of the screen, where the main
// window stands, stays put, and the window moves only as far as it must to stay on the screen.
void CompanionTest::growsAwayFromTheMainWindowAndStaysOnTheScreen() {
    const QRect available(0, 0, 1920, 1040);
    const struct {
        const char* name;
        QRect frame;
        QSize size;
        QRect expected;
    } cases[] = {
        {"right of the main window", {1200, 100, 500, 400}, {700, 600}, {1200, 100, 700, 600}},
        {"left of the main window", {200, 100, 500, 400}, {700, 600}, {0, 100, 700, 600}},
        {"past the bottom", {1200, 700, 500, 300}, {500, 500}, {1200, 540, 500, 500}},
        {"past the right edge", {1400, 100, 500, 400}, {700, 400}, {1220, 100, 700, 400}},
        {"past the left edge", {100, 100, 500, 400}, {700, 400}, {0, 100, 700, 400}},
        {"smaller, left", {200, 100, 500, 400}, {300, 200}, {400, 100, 300, 200}},
        {"larger than the screen", {1200, 100, 500, 400}, {2000, 1100}, {0, 0, 2000, 1100}},
    };
    for (const auto& c : cases) {
        QCOMPARE(resizedInPlace(c.frame, c.size, available), c.expected);
    }
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
