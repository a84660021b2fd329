// The window on the offscreen platform: it opens a file, exports what it shows, follows the file
// as it is replaced, says what is wrong with a damaged one and takes a dropped file.
#include <QtTest>
#include <QtWidgets>

#include "pgf/character_set.h"
#include "pgfview/viewer_window.h"
#include "test_fonts.h"

namespace tessavine::pgfview {

class ViewerWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        path_ = folder_->filePath("ltn0.pgf");
        test::replaceFile(path_, test::twoGlyphFile());
        window_ = std::make_unique<ViewerWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        folder_.reset();
    }

    void exportsTheScreenAtItsZoom();
    void redrawsWhenTheFileIsReplaced();
    void damagedFileIsShownAsAMessage();
    void droppedFontIsOpened();
    void characterTableIsDrawnOnItsTab();

  private:
    template <typename T>
    T& child(const QString& name) {
        T* widget = window_->findChild<T*>(name);
        if (widget == nullptr) {
            qFatal("no %s", qPrintable(name));
        }
        return *widget;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    QString path_;
    std::unique_ptr<ViewerWindow> window_;
};

void ViewerWindowTest::exportsTheScreenAtItsZoom() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    child<QCheckBox>("firmwareOutline").setChecked(true);
    const QString png = folder_->filePath("view.png");
    for (const auto& [zoomIndex, size] : {std::pair{0, QSize(480, 272)}, {3, QSize(1920, 1088)}}) {
        child<QComboBox>("zoom").setCurrentIndex(zoomIndex);
        QCOMPARE(window_->exportPng(png), QString());
        QCOMPARE(QImage(png).size(), size);
        QCOMPARE(child<QLabel>("screenView").pixmap().size(), size);
    }
    // The side panel names the font and the slot it is measured against.
    const QString details = child<QLabel>("fontDetails").text();
    QVERIFY(details.contains("Known Pixels") && details.contains("ltn0.pgf"));
    // A folder where the picture must go is named, with what to do.
    QVERIFY(QFile::remove(png) && QDir().mkdir(png));
    const QString problem = window_->exportPng(png);
    QVERIFY(problem.contains("view.png") && problem.contains("Choose another"));
}

void ViewerWindowTest::redrawsWhenTheFileIsReplaced() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    child<QLineEdit>("sampleText").setText("AB");
    const QImage before = window_->currentView();
    QVERIFY(!before.isNull());
    QSignalSpy redraws(window_.get(), &ViewerWindow::redrawn);
    test::replaceFile(path_, test::twoGlyphFile(1));  // now 'B' has a glyph of its own
    QTRY_VERIFY_WITH_TIMEOUT(!redraws.isEmpty(), 1000);
    QCOMPARE(window_->font().font()->glyphs.size(), std::size_t(3));
    QVERIFY(window_->currentView() != before);
}

void ViewerWindowTest::damagedFileIsShownAsAMessage() {
    window_->openFile(path_);
    test::replaceFile(path_, {'P', 'K', 3, 4});
    QTRY_VERIFY(!child<QPushButton>("exportButton").isEnabled());
    QTRY_VERIFY(child<QLabel>("statusMessage").text().contains("not a PSP font"));
    QVERIFY(window_->currentView().isNull());
    // Still usable: a good file shows again.
    test::replaceFile(path_, test::twoGlyphFile());
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
}

void ViewerWindowTest::droppedFontIsOpened() {
    const QString other = folder_->filePath("mine.pgf");
    test::replaceFile(other, test::twoGlyphFile(2));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder_->filePath("notes.txt")), QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QCOMPARE(window_->font().path(), QFileInfo(other).absoluteFilePath());
    QTRY_COMPARE(window_->font().state(), WatchedFont::State::Loaded);
    QCOMPARE(window_->font().font()->glyphs.size(), std::size_t(4));
    // The side panel measures a file of another name against slot 0 and says so.
    QVERIFY(child<QLabel>("fontDetails").text().contains("assumed"));
}

void ViewerWindowTest::characterTableIsDrawnOnItsTab() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    child<QTabWidget>("views").setCurrentIndex(1);
    // Cells of 7 px (the widest advance) + 8 px padding, by 14 px (the pitch) + 8 px; 16 to a
    // row; every character of the PSP's set ('A' and '_' among them); at the default zoom 2×.
    const auto rows = static_cast<int>((pgf::pspLatinCharacters().size() + 15) / 16);
    QCOMPARE(child<QLabel>("characterTable").pixmap().size(), QSize(15 * 16 * 2, 22 * rows * 2));
}

}  // namespace tessavine::pgfview

QTEST_MAIN(tessavine::pgfview::ViewerWindowTest)
#include "viewer_window_test.moc"
