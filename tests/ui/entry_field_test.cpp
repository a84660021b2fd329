// What typing does to the six entry fields: the key filters on each typed character, the keys
// that type nothing, and the selection of the whole text when a field receives the focus.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/main_window.h"

namespace tessavine {

namespace {

// One key press as a platform delivers it: the key, its modifiers and the text it carries.
struct Keystroke {
    Qt::Key key;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

Keystroke character(QChar c) {
    return {Qt::Key_unknown, QString(c)};
}

Keystroke control(Qt::Key letter, QString platformText) {
    return {letter, std::move(platformText), Qt::ControlModifier};
}

void press(QWidget& widget, const Keystroke& stroke) {
    QKeyEvent down(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
    QKeyEvent up(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
    QApplication::sendEvent(&widget, &down);
    QApplication::sendEvent(&widget, &up);
}

}  // namespace

class EntryFieldTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void typedCharactersPassOrAreDropped_data();
    void typedCharactersPassOrAreDropped();
    void clipboardShortcutsDoNothingInNumericFields();
    void keysThatTypeNoCharacterAreNotFiltered();
    void focusSelectsTheWholeText();

  private:
    QLineEdit& field(const char* name) { return *window_->findChild<QLineEdit*>(name); }

    std::unique_ptr<MainWindow> window_;
};

void EntryFieldTest::typedCharactersPassOrAreDropped_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    // Every character of `typed` is typed into the emptied field.
    const auto row = [](const char* tag, const char* name, const QString& typed,
                        const QString& kept) {
        QTest::newRow(tag) << QString(name) << typed << kept;
    };
    row("digits pass", "height1", "0987", "098");
    row("bounds of the digit range", "horizontal1", "/0:9", "09");
    row("point dropped in the whole-number field", "height1", "1.5", "15");
    row("points are not counted", "horizontal1", "1.2.3", "1.2.");
    row("leading point", "advance1", ".5", ".5");
    for (const char* numeric : {"height1", "horizontal1", "advance1", "blur1", "intensity1"}) {
        row(qPrintable(QString("signs, comma, blank and letters in ") + numeric), numeric,
            "-+, eE1", "1");
        row(qPrintable(QString("non-ASCII and control characters in ") + numeric), numeric,
            QString::fromUtf8("\xC3\xA9\xC2\xB2\xD9\xA3") + QChar(0x1B) + QChar(0x09) +
                QChar(0x7F) + "2",
            "2");
    }
    row("the font name takes everything", "fontname1",
        QString::fromUtf8("My Font-1,+ \xC3\xA9.otf"),
        QString::fromUtf8("My Font-1,+ \xC3\xA9.otf"));
}

void EntryFieldTest::typedCharactersPassOrAreDropped() {
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QLineEdit& edit = field(qPrintable(fieldName));
    window_->executeButton().setFocus(Qt::TabFocusReason);
    edit.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&edit, Qt::Key_Backspace);  // the whole text is selected: empties the field
    QCOMPARE(edit.text(), QString());
    for (QChar c : typed) {
        press(edit, character(c));
    }
    QCOMPARE(edit.text(), kept);
}

void EntryFieldTest::clipboardShortcutsDoNothingInNumericFields() {
    // Platforms deliver Ctrl+V with the control character, the plain letter or no text at all.
    const QList<Keystroke> shortcuts = {
        control(Qt::Key_V, QString(QChar(22))),
        control(Qt::Key_V, "v"),
        control(Qt::Key_V, ""),
        control(Qt::Key_X, QString(QChar(24))),
        control(Qt::Key_X, "x"),
        control(Qt::Key_C, QString(QChar(3))),
        control(Qt::Key_C, "c"),
        control(Qt::Key_Z, "z"),  // undo
    };
    for (const char* name : {"height1", "horizontal1", "advance1", "blur1", "intensity1"}) {
        QLineEdit& edit = field(name);
        const QString before = edit.text();
        edit.setFocus(Qt::TabFocusReason);
        QGuiApplication::clipboard()->setText("77");
        for (const Keystroke& stroke : shortcuts) {
            press(edit, stroke);
        }
        QCOMPARE(edit.text(), before);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("77"));
    }

    // The font name takes the shortcuts like any field.
    QLineEdit& fontName = field("fontname1");
    fontName.setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText("Pasted.ttf");
    press(fontName, control(Qt::Key_V, QString(QChar(22))));
    QCOMPARE(fontName.text(), QString("Pasted.ttf"));
}

void EntryFieldTest::keysThatTypeNoCharacterAreNotFiltered() {
    QLineEdit& edit = field("horizontal1");  // "0.8"
    edit.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);  // X11 gives Delete the text "\x7f"
    QCOMPARE(edit.text(), QString(".8"));
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("8"));
    press(edit, {Qt::Key_Delete, QString(QChar(0x7F))});
    QCOMPARE(edit.text(), QString());
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QString());
}

void EntryFieldTest::focusSelectsTheWholeText() {
    // Tab from height1 into horizontal1, which holds "0.8"; typing replaces the selection.
    QLineEdit& horizontal = field("horizontal1");
    field("height1").setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&field("height1"), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &horizontal);
    QCOMPARE(horizontal.selectedText(), QString("0.8"));
    QCOMPARE(horizontal.cursorPosition(), 3);
    QTest::keyClick(&horizontal, Qt::Key_1);
    QCOMPARE(horizontal.text(), QString("1"));

    // Every field selects, the font name included; an empty one has nothing to select.
    for (const char* name :
         {"fontname1", "height1", "advance1", "blur1", "intensity1", "horizontal1"}) {
        QLineEdit& edit = field(name);
        window_->executeButton().setFocus(Qt::OtherFocusReason);
        edit.setFocus(Qt::OtherFocusReason);
        QCOMPARE(edit.selectedText(), edit.text());
    }
}

}  // namespace tessavine

QTEST_MAIN(tessavine::EntryFieldTest)
#include "entry_field_test.moc"
