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
    void textsFromTheFileAreShownNotObeyed();
    void exportReplacesALinkAndLeavesItsTargetUntouched();

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

// Crafted files from the generator the pgfinfo tests use: names with controls and markup, and
// lists of fonts beyond the readers' bounds, in the side panel, the title and the status line.
void ViewerWindowTest::textsFromTheFileAreShownNotObeyed() {
    struct Row {
        const char* kind;
        const char* fileName;
        QStringList details;  // in the side panel's rich text, so markup arrives escaped
        QString shownName;    // in the title and the plain-text status line
    };
    const Row rows[] = {
        {"names",
         "<b>bold\x1b.pgf",
         {"Evil\\x1b]0;owned\\x07\\rfont name", "&lt;b&gt;Bold&lt;/b&gt;\\x7f\\xff",
          "a\\x1b[2Jb\\x07.ttf: 1 characters", "line\\r\\nfont name        x\\u009b\\u202e.ttf"},
         "<b>bold\\x1b.pgf"},
        {"many-fonts", "many.pgf", {"names 65535 fonts, more than the 64"}, "many.pgf"},
        {"many-runs", "runs.pgf", {"more than 65536 runs"}, "runs.pgf"},
        {"most-runs", "most.pgf", {"A.ttf: 32768 characters", "U+0000, U+0002"}, "most.pgf"},
    };
    for (const Row& row : rows) {
        const QString path = folder_->filePath(QString::fromUtf8(row.fileName));
        QCOMPARE(QProcess::execute(TESSAVINE_CRAFTED_PGF, {row.kind, path}), 0);
        window_->openFile(path);
        QTRY_VERIFY(child<QLabel>("fontDetails").text().contains(row.details.front()));
        const QString details = child<QLabel>("fontDetails").text();
        for (const QString& words : row.details) {
            QVERIFY2(details.contains(words), qPrintable(row.kind + (": " + details)));
        }
        for (const QString& text :
             {details, window_->windowTitle(), child<QLabel>("statusMessage").text()}) {
            for (const char16_t control : {u'\x1b', u'\x07', u'\r', u'\n', u'\x9b', u'\x202e'}) {
                QVERIFY2(!text.contains(QChar(control)), row.kind);
            }
        }
        QVERIFY(window_->windowTitle().contains(row.shownName));
        QVERIFY(child<QLabel>("statusMessage").text().endsWith(row.shownName));
        QCOMPARE(child<QLabel>("statusMessage").textFormat(), Qt::PlainText);
    }
}

// A picture saved where a symbolic link stands replaces the link; the file it led to keeps its
// bytes, and a dangling link's target is not created.
void ViewerWindowTest::exportReplacesALinkAndLeavesItsTargetUntouched() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    QTemporaryDir elsewhere;
    const QString kept = elsewhere.filePath("kept.txt");
    const QString never = elsewhere.filePath("never.png");
    QFile file(kept);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
    file.close();
    for (const QString& target : {kept, never}) {
        const QString png = folder_->filePath("view.png");
        QFile::remove(png);
        QVERIFY(QFile::link(target, png));
        QCOMPARE(window_->exportPng(png), QString());
        QVERIFY(!QFileInfo(png).isSymLink());
        QCOMPARE(QImage(png).size(), QSize(480 * 2, 272 * 2));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
    QVERIFY(!QFileInfo::exists(never));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.txt"});
}

}  // namespace tessavine::pgfview

QTEST_MAIN(tessavine::pgfview::ViewerWindowTest)
#include "viewer_window_test.moc"
