// The window on the offscreen platform: it opens a file, from its menu, its button or a drop,
// exports what it shows, follows the file as it is replaced, says what is wrong with a damaged
// one, and shows the PSP screen whole at its zoom when the screen has room.
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
    void openedThroughFileOpen();
    void onlyADroppedFontIsOpened();
    void characterTableIsDrawnOnItsTab();
    void pictureIsWholeAtItsZoom();
    void jpn0IsHeldToTheJapaneseSetALatinSlotToTheLatinSet();
    void textsFromTheFileAreShownNotObeyed();
    void exportReplacesALinkAndLeavesItsTargetUntouched();

  private:
    // Everything the window shows of its file and settings, to tell what an action changed.
    struct Shown {
        QString path, title, status, details, sample;
        int zoom = 0, background = 0, tab = 0;
        bool outline = false;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() {
        return {window_->font().path(),
                window_->windowTitle(),
                child<QLabel>("statusMessage").text(),
                child<QLabel>("fontDetails").text(),
                child<QLineEdit>("sampleText").text(),
                child<QComboBox>("zoom").currentIndex(),
                child<QComboBox>("background").currentIndex(),
                child<QTabWidget>("views").currentIndex(),
                child<QCheckBox>("firmwareOutline").isChecked()};
    }
    // A window that shows ltn0.pgf, its settings off their defaults so that a change shows.
    Shown showingLtn0() {
        window_->openFile(path_);
        child<QLineEdit>("sampleText").setText("AB");
        child<QComboBox>("background").setCurrentIndex(1);
        child<QCheckBox>("firmwareOutline").setChecked(true);
        if (!QTest::qWaitFor(
                [this] { return window_->font().state() == WatchedFont::State::Loaded; })) {
            qFatal("ltn0.pgf did not load");
        }
        return shown();
    }

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

// File > Open… and the Open… button ask for a file starting in the shown file's folder; a font
// chosen opens, and a cancel leaves everything as it was.
void ViewerWindowTest::openedThroughFileOpen() {
    const QString other = folder_->filePath("mine.pgf");
    test::replaceFile(other, test::twoGlyphFile(2));
    QAction* open = nullptr;
    for (QAction* action : window_->menuBar()->actions().front()->menu()->actions()) {
        open = action->text() == "&Open…" ? action : open;
    }
    QVERIFY(open != nullptr);
    const struct {
        const char* how;
        QString answer;
        bool opens;
    } rows[] = {{"menu, cancelled", "", false},
                {"menu", other, true},
                {"button, cancelled", "", false},
                {"button", other, true}};
    for (const auto& row : rows) {
        const Shown before = showingLtn0();
        QStringList asked;
        window_->setFontChooser([&](const QString& folder) {
            asked << folder;
            return row.answer;
        });
        if (QString(row.how).startsWith("menu")) {
            open->trigger();
        } else {
            child<QPushButton>("openButton").click();
        }
        QCOMPARE(asked, QStringList{QFileInfo(path_).absolutePath()});
        Shown expected = before;
        if (row.opens) {
            QTRY_VERIFY2(window_->font().state() == WatchedFont::State::Loaded &&
                             window_->font().path() == QFileInfo(other).absoluteFilePath(),
                         row.how);
            QCOMPARE(window_->font().font()->glyphs.size(), std::size_t(4));
            // The side panel measures a file of another name against slot 0 and says so.
            QVERIFY2(child<QLabel>("fontDetails").text().contains("ltn0.pgf (assumed)"), row.how);
            QVERIFY2(!before.details.contains("(assumed)"), row.how);
            QCOMPARE(window_->windowTitle(), QString("mine.pgf — pgfview"));
            QCOMPARE(child<QLabel>("statusMessage").text(), QDir::toNativeSeparators(other));
            expected.path = window_->font().path();
            expected.title = window_->windowTitle();
            expected.status = child<QLabel>("statusMessage").text();
            expected.details = child<QLabel>("fontDetails").text();
        }
        QCOMPARE(shown(), expected);
    }
}

// Of the files dropped, the first local .pgf (in any case) opens; a drop without one is refused
// at the door and changes nothing.
void ViewerWindowTest::onlyADroppedFontIsOpened() {
    const QString other = folder_->filePath("MINE.PGF");
    test::replaceFile(other, test::twoGlyphFile(2));
    const QUrl notes = QUrl::fromLocalFile(folder_->filePath("notes.txt"));
    const struct {
        const char* name;
        QList<QUrl> urls;
        bool opens;
    } rows[] = {
        {"font after a text file", {notes, QUrl::fromLocalFile(other)}, true},
        {"text file only", {notes}, false},
        {"font on the web", {QUrl("https://example.com/ltn1.pgf")}, false},
        {"nothing", {}, false},
    };
    for (const auto& row : rows) {
        const Shown before = showingLtn0();
        QMimeData data;
        data.setUrls(row.urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(window_.get(), &enter);
        QCOMPARE(enter.isAccepted(), row.opens);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        QApplication::sendEvent(window_.get(), &drop);
        QCOMPARE(drop.isAccepted(), row.opens);
        Shown expected = before;
        if (row.opens) {
            QCOMPARE(window_->font().path(), QFileInfo(other).absoluteFilePath());
            QTRY_COMPARE(window_->font().state(), WatchedFont::State::Loaded);
            QCOMPARE(window_->font().font()->glyphs.size(), std::size_t(4));
            QVERIFY(child<QLabel>("fontDetails").text().contains("ltn0.pgf (assumed)"));
            QCOMPARE(window_->windowTitle(), QString("MINE.PGF — pgfview"));
            expected.path = window_->font().path();
            expected.title = window_->windowTitle();
            expected.status = child<QLabel>("statusMessage").text();
            expected.details = child<QLabel>("fontDetails").text();
        } else {
            QTest::qWait(50);  // a wrongly taken file would be read by now
        }
        QCOMPARE(shown(), expected);
    }
}

void ViewerWindowTest::characterTableIsDrawnOnItsTab() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    child<QTabWidget>("views").setCurrentIndex(1);
    // Cells of 7 px (the widest advance) + 8 px padding, by 14 px (the pitch) + 8 px; 16 to a
    // row; every character of the PSP's set ('A' and '_' among them); at the default zoom 2×.
    const auto rows = static_cast<int>((pgf::pspLatinCharacters().size() + 15) / 16);
    QCOMPARE(child<QLabel>("characterTable").pixmap().size(), QSize(15 * 16 * 2, 22 * rows * 2));
    // The mouse on a cell: its code in a tip. 'A' is entry 33 (after U+0020 to U+0040), 'B',
    // which the font lacks, entry 34; row 2, columns 1 and 2, at 2×.
    auto& table = child<QLabel>("characterTable");
    for (const auto& [at, tip] :
         {std::pair{QPoint(44, 110), QString("U+0041  A")},
          {QPoint(74, 110), QString("U+0042  B — missing; the PSP shows _ instead")}}) {
        QHelpEvent help(QEvent::ToolTip, at, table.mapToGlobal(at));
        QApplication::sendEvent(&table, &help);
        QTRY_COMPARE(QToolTip::text(), tip);
        QToolTip::hideText();
    }
}

// The PSP screen whole at each zoom, without scroll bars, where the screen has room for it, and
// the window within the screen where it has not: the window is sized from its content. Run at Qt
// scale 1 and 2 on a 3840 × 2160 screen, which at scale 2 has room up to 3×.
void ViewerWindowTest::pictureIsWholeAtItsZoom() {
    window_->openFile(path_);
    QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
    const qreal scale = window_->devicePixelRatioF();
    const QRect room = window_->screen()->availableGeometry();
    // 2× first as the window opened, sized before it was shown; then each zoom chosen.
    for (const int zoom : {2, 1, 2, 3, 4}) {
        child<QComboBox>("zoom").setCurrentIndex(zoom - 1);
        const bool fits = scale < 1.5 || zoom <= 3;
        auto& picture = child<QLabel>("screenView");
        auto& area = child<QScrollArea>("screenArea");
        const QSize size(480 * zoom, 272 * zoom);
        QCOMPARE(picture.pixmap().deviceIndependentSize().toSize(), size);
        const auto whole = [&] {
            const QRect shown(picture.mapTo(area.viewport(), QPoint(0, 0)), size);
            return area.viewport()->rect().contains(shown) &&
                   !area.horizontalScrollBar()->isVisible() &&
                   !area.verticalScrollBar()->isVisible();
        };
        if (fits) {
            QTRY_VERIFY2(whole(), qPrintable(QString("%1× at scale %2: viewport %3×%4")
                                                 .arg(zoom)
                                                 .arg(scale)
                                                 .arg(area.viewport()->width())
                                                 .arg(area.viewport()->height())));
        } else {
            QTest::qWait(50);
            QVERIFY(!whole());
        }
        QVERIFY(window_->width() <= room.width() && window_->height() <= room.height());
    }
}

// The same two-glyph font ('A' and '_', both in either set) as jpn0.pgf and as ltn0.pgf: the side
// panel, the list and the table hold it to the set of the slot its name stands for. The set
// "japanese" has 7,490 characters, the PSP's latin set 447; the table is every character of the
// file and every missing one, so as many entries as the set. A viewer that keeps the latin set
// for jpn0.pgf lists 445 missing and a table of 447; one that keeps the Japanese set for
// ltn0.pgf lists kanji.
void ViewerWindowTest::jpn0IsHeldToTheJapaneseSetALatinSlotToTheLatinSet() {
    const QString jpn0 = folder_->filePath("jpn0.pgf");
    test::replaceFile(jpn0, test::twoGlyphFile());
    const struct {
        QString path;
        QString details, label;
        int missing, tableEntries;
        const char* listed;     // a character the list must name
        const char* notListed;  // and one it must not
    } cases[] = {
        {jpn0, "7488 of jpn0's set", "Characters of jpn0's set the font lacks:", 7488, 7490,
         "U+65E5", "U+00E9"},
        {path_, "445 of the PSP's set", "Characters of the PSP's set the font lacks:", 445, 447,
         "U+00E9", "U+65E5"},
    };
    for (const auto& c : cases) {
        window_->openFile(c.path);
        QTRY_COMPARE(window_->font().path(), QFileInfo(c.path).absoluteFilePath());
        QTRY_VERIFY(child<QPushButton>("exportButton").isEnabled());
        QVERIFY2(child<QLabel>("fontDetails").text().contains(c.details),
                 qPrintable(child<QLabel>("fontDetails").text()));
        QCOMPARE(child<QLabel>("missingLabel").text(), c.label);
        const QStringList lines = child<QPlainTextEdit>("missingCharacters")
                                      .toPlainText()
                                      .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), c.missing);
        QVERIFY(!lines.filter(c.listed).isEmpty());
        QVERIFY(lines.filter(c.notListed).isEmpty());
        QVERIFY(lines.filter(QRegularExpression("^U\\+(0041|005F) ")).isEmpty());
        // Every page's title ends with its count of entries: "Hiragana (83)".
        child<QTabWidget>("views").setCurrentIndex(1);
        const QComboBox& pages = child<QComboBox>("tablePage");
        int entries = 0;
        for (int i = 0; i < pages.count(); ++i) {
            const QRegularExpressionMatch count =
                QRegularExpression("\\(([0-9,]+)\\)$").match(pages.itemText(i));
            QVERIFY2(count.hasMatch(), qPrintable(pages.itemText(i)));
            entries += count.captured(1).remove(',').toInt();
        }
        QCOMPARE(entries, c.tableEntries);
        // Choosing another block draws that block.
        if (pages.count() > 1) {
            const QSize first = child<QLabel>("characterTable").pixmap().size();
            child<QComboBox>("tablePage").setCurrentIndex(pages.count() - 1);
            QVERIFY(child<QLabel>("characterTable").pixmap().size() != first);
        }
        child<QTabWidget>("views").setCurrentIndex(0);
    }
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
