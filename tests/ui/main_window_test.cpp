// The main window as it stands before the program touches it: places, texts, states, colours,
// the frame and the tab order.
#include <QAction>
#include <QCheckBox>
#include <QHash>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ui/main_window.h"

namespace tessavine {

namespace {

// Places in twips, as the window was designed; 15 twips are one pixel.
QRect pixels(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kLightCyan(192, 255, 255);
const QColor kLightYellow(255, 255, 128);
const QColor kLightGreen(192, 255, 192);
const QColor kGreen(128, 255, 128);

// The colour that covers most of an image: a control's background, whatever text, frame or
// indicator stands on it.
QColor dominantColour(const QImage& image) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    QRgb dominant = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            dominant = it.key();
        }
    }
    return QColor::fromRgb(dominant);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void controlsStandInPlaceWithTheirTexts_data();
    void controlsStandInPlaceWithTheirTexts();
    void colouredControlsShowTheirColours_data();
    void colouredControlsShowTheirColours();
    void frameIsFixedWithOneMenuEntry();
    void checkBoxesStartUntickedButSlotZero();
    void fieldsRefuseTextBeyondTheirLength_data();
    void fieldsRefuseTextBeyondTheirLength();
    void tabWalksTheControlsInTheirOrder();
    void enterInAFieldNeverPressesExecute();
    void picturesAreLoadedAndBehindTheControls();

  private:
    QWidget& control(const QString& name) {
        auto* widget = window_->findChild<QWidget*>(name);
        if (widget == nullptr) {
            QTest::qFail(qPrintable("no control " + name), __FILE__, __LINE__);
            throw std::runtime_error("missing control");
        }
        return *widget;
    }

    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::controlsStandInPlaceWithTheirTexts_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* kind, QRect place, const char* text) {
        QTest::newRow(name) << QString(kind) << place << QString(text);
    };
    row("Label1(0)", "QLabel", pixels(480, 1320, 5775, 285),
        "Enter the Font Name below including the extension. (.ttf or .otf)");
    row("fontname1", "QLineEdit", pixels(480, 1560, 5775, 285), "Example.ttf or Example2.otf");
    row("Text7", "QLineEdit", pixels(2880, 1920, 855, 285), "Range");
    row("Label1(1)", "QLabel", pixels(480, 2280, 1815, 285), "Font Scale");
    row("height1", "QLineEdit", pixels(2280, 2280, 615, 285), "24");
    row("Text6", "QLineEdit", pixels(2880, 2280, 855, 285), "8 Upwards");
    row("Label1(3)", "QLabel", pixels(480, 2640, 1815, 285), "Horizontal Width");
    row("horizontal1", "QLineEdit", pixels(2280, 2640, 615, 285), "0.8");
    row("Text4", "QLineEdit", pixels(2880, 2640, 855, 285), "0.25 to 2.0");
    row("Label1(6)", "QLabel", pixels(480, 3000, 1815, 285), "Advance Scaling Amt.");
    row("advance1", "QLineEdit", pixels(2280, 3000, 615, 285), "0.8");
    row("Text5", "QLineEdit", pixels(2880, 3000, 855, 285), "0.25 to 2.0");
    row("Label1(4)", "QLabel", pixels(480, 3360, 1815, 285), "Shadow Blurring Amt.");
    row("blur1", "QLineEdit", pixels(2280, 3360, 615, 285), "2.5");
    row("Text2", "QLineEdit", pixels(2880, 3360, 855, 285), "0.1 to 4.0");
    row("Label1(7)", "QLabel", pixels(480, 3720, 1815, 285), "Shadow Intensity");
    row("intensity1", "QLineEdit", pixels(2280, 3720, 615, 285), "1.2");
    row("Text3", "QLineEdit", pixels(2880, 3720, 855, 285), "0.0 to 4.0");
    row("Label1(2)", "QLabel", pixels(480, 4320, 1695, 285), "Bold");
    row("bold1", "QCheckBox", pixels(2280, 4320, 1425, 285), "Embolden?");
    row("Label1(5)", "QLabel", pixels(480, 4680, 1695, 285), "Italics");
    row("italicize1", "QCheckBox", pixels(2280, 4680, 1425, 285), "Italicize?");
    row("Text8", "QLineEdit", pixels(4080, 1920, 2175, 285), "Tick to Create each PGF");
    for (int n = 0; n < 16; ++n) {
        const QString name = QString("Check1(%1)").arg(n);
        const int left = n < 8 ? 4080 : 5280;
        QTest::newRow(qPrintable(name))
            << QString("QCheckBox") << pixels(left, 2280 + 240 * (n % 8), 975, 255)
            << QString("ltn%1.pgf").arg(n);
    }
    row("Text9", "QLineEdit", pixels(4080, 4320, 2175, 285), "Or Tick to Create all PGF");
    row("Check1(16)", "QCheckBox", pixels(4080, 4680, 2175, 285), "Create All PGF (ltn0-ltn15)");
    row("Command1", "QPushButton", pixels(480, 5160, 5775, 375), "Execute");
    row("Image1", "QLabel", pixels(0, 0, 6645, 1380), "");
    row("bgimage1", "QLabel", pixels(0, 0, 6720, 5880), "");
    // The rules run from Top 1920 to 4960 twips, which ends inside pixel 330.
    row("Line2", "QFrame", QRect(256, 128, 1, 203), "");
    row("Line1", "QFrame", QRect(264, 128, 1, 203), "");
}

void MainWindowTest::controlsStandInPlaceWithTheirTexts() {
    QFETCH(QString, kind);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QWidget& widget = control(QTest::currentDataTag());
    QVERIFY2(widget.inherits(qPrintable(kind)), widget.metaObject()->className());
    QCOMPARE(widget.parentWidget(), window_->centralWidget());
    QCOMPARE(widget.geometry(), place);
    QString shown;
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        shown = edit->text();
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        shown = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        shown = button->text();
    }
    QCOMPARE(shown, text);
}

void MainWindowTest::colouredControlsShowTheirColours_data() {
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("textColour");  // invalid: the platform's own
    QTest::newRow("fontname1") << kWhite << kBlue;
    QTest::newRow("height1") << kWhite << kBlue;
    QTest::newRow("intensity1") << kWhite << kBlue;
    QTest::newRow("Text2") << kLightCyan << QColor();
    QTest::newRow("Text9") << kLightCyan << QColor();
    QTest::newRow("Label1(0)") << kLightGreen << QColor();
    QTest::newRow("Label1(5)") << kLightGreen << QColor();
    QTest::newRow("bold1") << kLightYellow << kBlue;
    QTest::newRow("Check1(7)") << kLightYellow << kBlue;
    QTest::newRow("Check1(16)") << kLightYellow << kBlue;
    QTest::newRow("Command1") << kGreen << QColor();
}

void MainWindowTest::colouredControlsShowTheirColours() {
    QFETCH(QColor, background);
    QFETCH(QColor, textColour);
    QWidget& widget = control(QTest::currentDataTag());
    QCOMPARE(dominantColour(widget.grab().toImage()), background);
    if (textColour.isValid()) {
        const QPalette::ColorRole role =
            qobject_cast<QLineEdit*>(&widget) != nullptr ? QPalette::Text : QPalette::WindowText;
        QCOMPARE(widget.palette().color(QPalette::Active, role), textColour);
    }
}

void MainWindowTest::frameIsFixedWithOneMenuEntry() {
    QCOMPARE(window_->objectName(), QString("main"));
    QCOMPARE(window_->windowTitle(), QString("Tessavine Gui"));
    QCOMPARE(window_->centralWidget()->size(), QSize(447, 392));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    const QList<QAction*> entries = window_->menuBar()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->objectName(), QString("About(0)"));
    QCOMPARE(entries[0]->text(), QString("About"));
    QCOMPARE(entries[0]->menu(), nullptr);

    auto* timer = window_->findChild<QTimer*>("Timer1");
    QVERIFY(timer != nullptr);
    QVERIFY(!timer->isActive());
    QCOMPARE(timer->interval(), 1000);
}

void MainWindowTest::checkBoxesStartUntickedButSlotZero() {
    const QList<QCheckBox*> boxes = window_->centralWidget()->findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 19);
    for (QCheckBox* box : boxes) {
        const bool slotZero = box->objectName() == "Check1(0)";
        QCOMPARE(box->checkState(), slotZero ? Qt::Checked : Qt::Unchecked);
        QCOMPARE(box->isEnabled(), !slotZero);
    }
    // A click on the disabled box changes nothing.
    QCheckBox& slotZero = window_->slotBox(0);
    QTest::mouseClick(&slotZero, Qt::LeftButton, {}, slotZero.rect().center());
    QVERIFY(slotZero.isChecked());
}

void MainWindowTest::fieldsRefuseTextBeyondTheirLength_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("height1") << "12345"
                             << "123";
    QTest::newRow("horizontal1") << "1.2.3"
                                 << "1.2.";
    QTest::newRow("advance1") << "12345"
                              << "1234";
    QTest::newRow("blur1") << "1.25"
                           << "1.2";
    QTest::newRow("intensity1") << "1234"
                                << "123";
    const QString longName = QString("a").repeated(300) + ".ttf";
    QTest::newRow("fontname1") << longName << longName;
}

void MainWindowTest::fieldsRefuseTextBeyondTheirLength() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    auto& field = static_cast<QLineEdit&>(control(QTest::currentDataTag()));
    window_->executeButton().setFocus(Qt::TabFocusReason);
    field.setFocus(Qt::TabFocusReason);  // selects the old text, so typing replaces it
    QTest::keyClicks(&field, typed);
    QCOMPARE(field.text(), kept);
}

void MainWindowTest::tabWalksTheControlsInTheirOrder() {
    QStringList expected = {"intensity1", "blur1",     "horizontal1", "height1",  "Command1",
                            "bold1",      "fontname1", "italicize1",  "advance1", "Text2",
                            "Text3",      "Text4",     "Text5",       "Text6",    "Text7",
                            "Text8"};  // Check1(0) is disabled, so Tab passes over it
    for (int n = 1; n <= 15; ++n) {
        expected << QString("Check1(%1)").arg(n);
    }
    expected << "Text9"
             << "Check1(16)"
             << "intensity1";

    control("Check1(16)").setFocus(Qt::OtherFocusReason);
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void MainWindowTest::enterInAFieldNeverPressesExecute() {
    QSignalSpy pressed(&window_->executeButton(), &QPushButton::clicked);
    for (const char* name :
         {"fontname1", "height1", "horizontal1", "advance1", "blur1", "intensity1"}) {
        QWidget& field = control(name);
        field.setFocus(Qt::TabFocusReason);
        QTest::keyClick(&field, Qt::Key_Return);
        QTest::keyClick(&field, Qt::Key_Enter, Qt::KeypadModifier);
    }
    QCOMPARE(pressed.count(), 0);
}

void MainWindowTest::picturesAreLoadedAndBehindTheControls() {
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    QVERIFY2(formats.contains("jpeg") && formats.contains("gif"),
             "Qt's JPEG and GIF image plugins are missing");
    const auto& background = static_cast<QLabel&>(control("bgimage1"));
    const auto& banner = static_cast<QLabel&>(control("Image1"));
    QCOMPARE(background.pixmap().size(), QSize(600, 400));
    QCOMPARE(banner.pixmap().size(), QSize(220, 92));
    QVERIFY(banner.pixmap().hasAlphaChannel());

    // Children are drawn in creation order: the background first, every control after the
    // banner and the labels.
    const QObjectList children = window_->centralWidget()->children();
    QCOMPARE(children.first()->objectName(), QString("bgimage1"));
    QVERIFY(children.indexOf(&control("Label1(0)")) > children.indexOf(&control("Image1")));
    QVERIFY(children.indexOf(&control("fontname1")) > children.indexOf(&control("Label1(7)")));
    QVERIFY(children.indexOf(&control("Command1")) > children.indexOf(&control("Line1")));
}

}  // namespace tessavine

QTEST_MAIN(tessavine::MainWindowTest)
#include "main_window_test.moc"
