// The main window on its own: places, texts, states and colours of the controls, the frame, the
// tab order and what typing does in the entry fields.
#include <QtTest>
#include <QtWidgets>
#include <array>

#include "ui/centre_on_screen.h"
#include "ui/main_window.h"
#include "ui/window_description.h"

namespace tessavine {

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void controlsStandInPlace_data();
    void controlsStandInPlace();
    void frameIsFixedWithOneMenuEntryAndSlotZeroTicked();
    void tabWalksTheControlsInOrderAndWraps();
    void keysPassTheFieldFiltersOrAreDropped_data();
    void keysPassTheFieldFiltersOrAreDropped();
    void fieldsKeepTheirLengthAndSelectAllOnFocus();
    void editingShortcutsWorkAndPastedTextIsFiltered_data();
    void editingShortcutsWorkAndPastedTextIsFiltered();
    void aWindowIsCentredOnItsOwnScreen();

  private:
    QLineEdit& field(const QString& name) { return *window_->findChild<QLineEdit*>(name); }

    std::unique_ptr<MainWindow> window_;
};

void WindowTest::controlsStandInPlace_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("background");  // invalid: not looked at
    QTest::addColumn<QRect>("twips");
    // Places in twips, as the window was designed; 15 twips are one pixel.
    const auto row = [](const QString& name, const char* kind, int left, int top, int width,
                        int height, const QString& text, QColor background = {}) {
        QTest::newRow(qPrintable(name))
            << QString(kind) << QRect(left / 15, top / 15, width / 15, height / 15) << text
            << background << QRect(left, top, width, height);
    };
    row("Label1(0)", "QLabel", 480, 1320, 5775, 285,
        "Enter the Font Name below including the extension. (.ttf or .otf)", {192, 255, 192});
    row("fontname1", "QLineEdit", 480, 1560, 5775, 285, "Example.ttf or Example2.otf", Qt::white);
    row("Text7", "QLineEdit", 2880, 1920, 855, 285, "Range");
    row("Label1(1)", "QLabel", 480, 2280, 1815, 285, "Font Scale");
    row("height1", "QLineEdit", 2280, 2280, 615, 285, "24");
    row("Text6", "QLineEdit", 2880, 2280, 855, 285, "8 Upwards");
    row("Label1(3)", "QLabel", 480, 2640, 1815, 285, "Horizontal Width");
    row("horizontal1", "QLineEdit", 2280, 2640, 615, 285, "0.8");
    row("Text4", "QLineEdit", 2880, 2640, 855, 285, "0.25 to 2.0");
    row("Label1(6)", "QLabel", 480, 3000, 1815, 285, "Advance Scaling Amt.");
    row("advance1", "QLineEdit", 2280, 3000, 615, 285, "0.8");
    row("Text5", "QLineEdit", 2880, 3000, 855, 285, "0.25 to 2.0");
    row("Label1(4)", "QLabel", 480, 3360, 1815, 285, "Shadow Blurring Amt.");
    row("blur1", "QLineEdit", 2280, 3360, 615, 285, "2.5");
    row("Text2", "QLineEdit", 2880, 3360, 855, 285, "0.1 to 4.0", {192, 255, 255});
    row("Label1(7)", "QLabel", 480, 3720, 1815, 285, "Shadow Intensity");
    row("intensity1", "QLineEdit", 2280, 3720, 615, 285, "1.2");
    row("Text3", "QLineEdit", 2880, 3720, 855, 285, "0.0 to 4.0");
    row("Label1(2)", "QLabel", 480, 4320, 1695, 285, "Bold");
    row("bold1", "QCheckBox", 2280, 4320, 1425, 285, "Embolden?", {255, 255, 128});
    row("Label1(5)", "QLabel", 480, 4680, 1695, 285, "Italics");
    row("italicize1", "QCheckBox", 2280, 4680, 1425, 285, "Italicize?");
    row("Text8", "QLineEdit", 4080, 1920, 2175, 285, "Tick to Create each PGF");
    for (int n = 0; n < 16; ++n) {
        row(QString("Check1(%1)").arg(n), "QCheckBox", n < 8 ? 4080 : 5280, 2280 + 240 * (n % 8),
            975, 255, QString("ltn%1.pgf").arg(n));
    }
    row("Text9", "QLineEdit", 4080, 4320, 2175, 285, "Or Tick to Create all PGF");
    row("Check1(16)", "QCheckBox", 4080, 4680, 2175, 285, "Create All PGF (ltn0-ltn15)");
    row("Command1", "QPushButton", 480, 5160, 5775, 375, "Execute", {128, 255, 128});
    row("Image1", "QLabel", 0, 0, 6645, 1380, "");
    row("bgimage1", "QLabel", 0, 0, 6720, 5880, "");
    // The rules run from Top 1920 to 4960 twips, which ends inside pixel 330: 203 pixels.
    row("Line2", "QFrame", 3840, 1920, 15, 3045, "");
    row("Line1", "QFrame", 3960, 1920, 15, 3045, "");
}

void WindowTest::controlsStandInPlace() {
    QFETCH(QString, kind);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QColor, background);
    QFETCH(QRect, twips);
    // The description both front ends build from holds the designed twips, which a larger
    // screen scale shows even where 96 dpi rounds them away.
    const ControlDescription* described = findControl(QTest::currentDataTag());
    QVERIFY(described != nullptr);
    const TwipsRect& at = described->place;
    if (described->kind != ControlKind::verticalRule) {
        QCOMPARE(QRect(at.left, at.top, at.width, at.height), twips);
    }
    QWidget& widget = *window_->findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY2(widget.inherits(qPrintable(kind)), widget.metaObject()->className());
    QCOMPARE(widget.parentWidget(), window_->centralWidget());
    QCOMPARE(widget.geometry(), place);
    const QVariant shown = widget.property("text");
    QCOMPARE(shown.isValid() ? shown.toString() : QString(), text);
    if (background.isValid()) {  // it covers most of the control, whatever stands on it
        const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        const qsizetype area = image.width() * image.height();
        QVERIFY(std::count(pixels, pixels + area, background.rgb()) * 2 > area);
    }
    if (auto* label = qobject_cast<QLabel*>(&widget); label != nullptr && text.isEmpty()) {
        QVERIFY(!label->pixmap().isNull());  // the pictures' image plugins are there
    }
}

void WindowTest::frameIsFixedWithOneMenuEntryAndSlotZeroTicked() {
    QCOMPARE(window_->windowTitle(), QString("Tessavine Gui"));
    QCOMPARE(window_->centralWidget()->size(), QSize(447, 392));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());

    const QList<QAction*> entries = window_->menuBar()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->objectName() + " " + entries[0]->text(), QString("About(0) About"));
    QCOMPARE(entries[0]->menu(), nullptr);

    const QList<QCheckBox*> boxes = window_->centralWidget()->findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 19);
    for (QCheckBox* box : boxes) {
        const bool slotZero = box->objectName() == "Check1(0)";
        QCOMPARE(box->isChecked(), slotZero);
        QCOMPARE(box->isEnabled(), !slotZero);
    }
}

void WindowTest::tabWalksTheControlsInOrderAndWraps() {
    // Check1(0) is disabled, so Tab passes over it.
    QStringList expected = QString(
                               "intensity1 blur1 horizontal1 height1 Command1 bold1 fontname1 "
                               "italicize1 advance1 Text2 Text3 Text4 Text5 Text6 Text7 Text8")
                               .split(' ');
    for (int n = 1; n <= 15; ++n) {
        expected << QString("Check1(%1)").arg(n);
    }
    expected += {"Text9", "Check1(16)", "intensity1"};
    window_->slotBox(16).setFocus();
    QStringList visited;
    while (visited.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void WindowTest::keysPassTheFieldFiltersOrAreDropped_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("changes");  // the field's text or the clipboard
    const auto key = [](const QString& name, QKeyCombination k, const QString& text, bool changes) {
        QTest::addRow("%s %s (%d)", qPrintable(name), qPrintable(QKeySequence(k).toString()),
                      text.isEmpty() ? 0 : text[0].unicode())
            << name << k << text << changes;
    };
    const auto typed = [&key](const QString& name, const char* characters, bool changes) {
        for (const QChar c : QString::fromUtf8(characters)) {
            key(name, Qt::Key_unknown, c, changes);
        }
    };
    typed("height1", "09", true);
    typed("height1", "/:.-+, a\xC3\xA9\xD9\xA3", false);  // é and an Arabic-Indic three
    typed("horizontal1", ".09", true);
    typed("blur1", "/:-,a\xC3\xA9", false);
    typed("fontname1", "/:.-,a\xC3\xA9", true);
    for (const char* name : {"height1", "horizontal1", "advance1", "blur1", "intensity1"}) {
        // Platforms deliver the shortcuts with the control character, the letter or no text;
        // they are editing commands, never characters the filter drops.
        for (const char* text : {"\x16", "v", ""}) {
            key(name, Qt::CTRL | Qt::Key_V, text, true);
        }
        key(name, Qt::CTRL | Qt::Key_X, "\x18", true);
        key(name, Qt::CTRL | Qt::Key_C, "c", true);
        // Other control characters are still dropped: Ctrl+B, Ctrl+E.
        key(name, Qt::CTRL | Qt::Key_B, "\x02", false);
        key(name, Qt::CTRL | Qt::Key_E, "e", false);
        key(name, Qt::Key_Return, "\r", false);  // nor does Enter press Execute
        key(name, Qt::Key_Backspace, "\b", true);
    }
    key("horizontal1", Qt::Key_Delete, "\x7f", true);
    key("fontname1", Qt::CTRL | Qt::Key_V, "\x16", true);
    key("fontname1", Qt::CTRL | Qt::Key_C, "\x03", true);
    key("fontname1", Qt::Key_Enter, "\r", false);
}

void WindowTest::keysPassTheFieldFiltersOrAreDropped() {
    QFETCH(QString, name);
    QFETCH(QKeyCombination, key);
    QFETCH(QString, text);
    QFETCH(bool, changes);
    QSignalSpy executed(&window_->executeButton(), &QPushButton::clicked);
    QLineEdit& edit = field(name);
    edit.setFocus();
    edit.setText("12");
    edit.selectAll();
    QGuiApplication::clipboard()->setText("77");
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key.key(), key.keyboardModifiers(), text);
        QApplication::sendEvent(&edit, &event);
    }
    QCOMPARE(edit.text() != "12" || QGuiApplication::clipboard()->text() != "77", changes);
    QCOMPARE(executed.count(), 0);
}

void WindowTest::fieldsKeepTheirLengthAndSelectAllOnFocus() {
    const QString longName = QString("a").repeated(300) + ".ttf";
    const QList<std::array<QString, 3>> cases = {
        {"height1", "12345", "123"},   {"horizontal1", "1.2.3", "1.2."},
        {"advance1", "12345", "1234"}, {"blur1", "1.25", "1.2"},
        {"intensity1", "1234", "123"}, {"fontname1", longName, longName}};
    for (const auto& [name, typed, kept] : cases) {
        QLineEdit& edit = field(name);
        window_->executeButton().setFocus();
        edit.setFocus(Qt::TabFocusReason);  // selects the old text, so typing replaces it
        QCOMPARE(edit.selectedText(), edit.text());
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), kept);
    }
    // The program moving the focus into a field, as after a message about it, selects it too,
    // so the user's next keys replace what the message was about.
    field("height1").setText("240");
    window_->executeButton().setFocus();
    field("height1").setFocus(Qt::OtherFocusReason);
    QCOMPARE(field("height1").selectedText(), QString("240"));
    // A user tabs from blur1 into horizontal1, which holds "0.8", and types "1".
    field("horizontal1").setText("0.8");
    field("blur1").setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QCOMPARE(field("horizontal1").text(), QString("1"));
}

void WindowTest::editingShortcutsWorkAndPastedTextIsFiltered_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>(
        "before");  // the field's text, the caret at its end, nothing selected
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("keys");  // A, C, X, V, Z: with Ctrl; anything else: typed
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::newRow("Ctrl+A then typing replaces") << "horizontal1"
                                                 << "0.8"
                                                 << ""
                                                 << "A1.5"
                                                 << "1.5"
                                                 << "";
    QTest::newRow("Ctrl+A then a letter: dropped, the text stays") << "height1"
                                                                   << "24"
                                                                   << ""
                                                                   << "Aq"
                                                                   << "24"
                                                                   << "";
    QTest::newRow("Ctrl+A, Ctrl+C copies") << "blur1"
                                           << "2.5"
                                           << "x"
                                           << "AC"
                                           << "2.5"
                                           << "2.5";
    QTest::newRow("Ctrl+A, Ctrl+X cuts, Ctrl+Z brings it back") << "intensity1"
                                                                << "1.2"
                                                                << ""
                                                                << "AXZ"
                                                                << "1.2"
                                                                << "1.2";
    QTest::newRow("Ctrl+A, Ctrl+X cuts") << "advance1"
                                         << "0.8"
                                         << ""
                                         << "AX"
                                         << ""
                                         << "0.8";
    QTest::newRow("paste keeps what the filter lets through") << "horizontal1"
                                                              << ""
                                                              << " 1,5\n"
                                                              << "V"
                                                              << "15"
                                                              << " 1,5\n";
    QTest::newRow("paste into height1 drops the point") << "height1"
                                                        << ""
                                                        << "1.8"
                                                        << "V"
                                                        << "18"
                                                        << "1.8";
    QTest::newRow("paste over the selection, cut at the greatest length") << "blur1"
                                                                          << "9"
                                                                          << "12345"
                                                                          << "AV"
                                                                          << "123"
                                                                          << "12345";
    QTest::newRow("paste of nothing usable changes nothing") << "intensity1"
                                                             << "1.2"
                                                             << "abc-"
                                                             << "V"
                                                             << "1.2"
                                                             << "abc-";
    QTest::newRow("fontname1 pastes as it is") << "fontname1"
                                               << ""
                                               << "My Font,1.ttf"
                                               << "V"
                                               << "My Font,1.ttf"
                                               << "My Font,1.ttf";
}

void WindowTest::editingShortcutsWorkAndPastedTextIsFiltered() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(QString, clipboardAfter);
    QLineEdit& edit = field(name);
    edit.setFocus();
    edit.setText(before);
    edit.deselect();
    edit.end(false);
    QGuiApplication::clipboard()->setText(clipboard);
    for (const QChar c : keys) {
        if (QString("ACXVZ").contains(c)) {
            QTest::keyClick(&edit, static_cast<Qt::Key>(c.unicode()), Qt::ControlModifier);
        } else {
            QTest::keyClicks(&edit, QString(c));
        }
    }
    QCOMPARE(edit.text(), after);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
}

// With two screens, a window is centred on the one it is on, not on the first: 400 × 300 in the
// middle of the second screen, 1280 × 1024 to the right of a 1920-pixel one.
void WindowTest::aWindowIsCentredOnItsOwnScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        QSKIP("one screen here; ui.window.two_screens runs this on two");
    }
    QWidget window;
    window.resize(400, 300);
    window.setScreen(screens[1]);
    centreOnScreen(window);
    QCOMPARE(window.pos(), QPoint(1920 + 440, 362));
}

}  // namespace tessavine

QTEST_MAIN(tessavine::WindowTest)
#include "window_test.moc"
