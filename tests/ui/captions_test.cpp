// The main window's captions at the display scaling the test runs under (QT_SCALE_FACTOR): each
// fits the part of its box that shows, all share one font, and the disabled slot box reads well.
#include <QtTest>
#include <QtWidgets>
#include <cmath>

#include "ui/fit_caption.h"
#include "ui/main_window.h"

namespace tessavine {

namespace {

// Relative luminance and contrast ratio of two colours, as readability guidelines define them.
double luminance(QColor colour) {
    const auto channel = [](double value) {
        value /= 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class CaptionsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void everyCaptionFitsWhatShowsOfItsBox_data();
    void everyCaptionFitsWhatShowsOfItsBox();
    void allCaptionsShareOneFont();
    void disabledSlotBoxReadsWell();
    void bannerIsDrawnForTheScaling();
    void aControlDrawnOverACaptionLeavesItLessRoom();

  private:
    QWidget& control(const QString& name) { return *window_->findChild<QWidget*>(name); }

    std::unique_ptr<MainWindow> window_;
};

// A control stacked above a label hides the rows it covers, from below or from above, and the
// caption must fit in what is left; one beside it, or narrower than it, hides no whole row.
void CaptionsTest::aControlDrawnOverACaptionLeavesItLessRoom() {
    const QFont font = QApplication::font();
    const int line = QFontMetrics(font).height();
    const struct {
        QRect over;  // in the parent, the label standing at (0, 0), 200 × 3 lines
        bool fits;
    } rows[] = {{{}, true},
                {{0, 2 * line + line / 2, 200, line}, true},
                {{0, line / 2, 200, 3 * line}, false},
                {{0, 0, 200, 2 * line + line / 2}, false},
                {{0, 0, 100, 3 * line}, true},
                {{300, 0, 100, 3 * line}, true}};
    for (const auto& row : rows) {
        QWidget parent;
        QLabel label("Font Name", &parent);
        label.setGeometry(0, 0, 200, 3 * line);
        label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QWidget over(&parent);
        over.setGeometry(row.over);
        over.setVisible(!row.over.isNull());
        QVERIFY2(captionFits(label, font) == row.fits,
                 qPrintable(QString("a control at %1,%2 %3x%4")
                                .arg(row.over.x())
                                .arg(row.over.y())
                                .arg(row.over.width())
                                .arg(row.over.height())));
    }
}

void CaptionsTest::everyCaptionFitsWhatShowsOfItsBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("coveredBy");  // the control whose top hides this one's bottom
    const auto row = [](const QString& name, const QString& coveredBy = {}) {
        QTest::newRow(qPrintable(name)) << name << coveredBy;
    };
    row("Label1(0)", "fontname1");  // the "g" of "including" once vanished under the field
    for (const char* name : {"Label1(1)", "Label1(2)", "Label1(3)", "Label1(4)", "Label1(5)",
                             "Label1(6)", "Label1(7)", "Text2", "Text3", "Text4", "Text5", "Text6",
                             "Text7", "Text8", "Text9", "bold1", "italicize1", "Command1"}) {
        row(name);
    }
    for (int n = 0; n <= 16; ++n) {
        // Each slot box's bottom row lies under the box below it.
        const bool covered = n != 7 && n < 15;
        row(QString("Check1(%1)").arg(n), covered ? QString("Check1(%1)").arg(n + 1) : QString());
    }
}

void CaptionsTest::everyCaptionFitsWhatShowsOfItsBox() {
    QFETCH(QString, name);
    QFETCH(QString, coveredBy);
    QWidget& box = control(name);
    const QFontMetrics metrics(box.font());
    const QString caption = box.property("text").toString();  // label, button or field
    QStyle& style = *box.style();

    // The room the control leaves its caption: its box less frames, margins and indicator.
    int textLeft = 0;
    int textRight = box.width();
    QRect textBand = box.rect();  // where the control centres its caption vertically
    if (auto* label = qobject_cast<QLabel*>(&box)) {
        textBand = label->contentsRect();
    } else if (qobject_cast<QCheckBox*>(&box) != nullptr) {
        textLeft = style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box) +
                   style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &box);
    } else if (qobject_cast<QLineEdit*>(&box) != nullptr) {
        const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
        textLeft = frame + 2;  // QLineEdit's own margin of 2 pixels on each side
        textRight = box.width() - frame - 2;
        textBand.adjust(0, frame + 1, 0, -frame - 1);
    } else {
        const int margin = style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &box);
        textLeft = margin;
        textRight = box.width() - margin;
    }
    QVERIFY2(metrics.horizontalAdvance(caption) <= textRight - textLeft, qPrintable(caption));

    // What shows of the box: up to the top of the control drawn over its bottom.
    int shownBottom = box.height();
    if (!coveredBy.isEmpty()) {
        shownBottom = control(coveredBy).y() - box.y();
        QVERIFY(shownBottom < box.height());
    }
    const double textTop = textBand.top() + (textBand.height() - metrics.height()) / 2.0;
    QVERIFY2(textTop >= 0 && textTop + metrics.height() <= shownBottom, qPrintable(caption));
}

void CaptionsTest::allCaptionsShareOneFont() {
    const QFont first = control("Label1(0)").font();
    for (const char* name : {"Label1(1)", "Label1(4)", "Text2", "Text8", "bold1", "Check1(0)",
                             "Check1(10)", "Check1(16)", "Command1"}) {
        QCOMPARE(control(name).font(), first);
    }
    // No smaller than needed: the platform's default, or a size at which something would not fit
    // one step up.
    QVERIFY(first.pointSizeF() <= QApplication::font().pointSizeF());
    QVERIFY(first.pointSizeF() >= 6.0);
}

void CaptionsTest::disabledSlotBoxReadsWell() {
    QCheckBox& slot0 = *window_->findChild<QCheckBox*>("Check1(0)");
    QVERIFY(!slot0.isEnabled());
    // The caption as drawn: the darkest pixel right of the tick box against the yellow.
    const QImage image = slot0.grab().toImage();
    const int from = static_cast<int>(
        std::ceil((slot0.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &slot0) + 2) *
                  image.devicePixelRatio()));
    QColor darkest = Qt::white;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = from; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (luminance(pixel) < luminance(darkest)) {
                darkest = pixel;
            }
        }
    }
    const QColor background = image.pixelColor(image.width() - 1, image.height() / 2);
    QCOMPARE(background, QColor(255, 255, 128));
    QVERIFY2(
        contrast(darkest, background) >= 4.5,
        qPrintable(
            QString("contrast %1 of %2").arg(contrast(darkest, background)).arg(darkest.name())));
    // Still plainly not the enabled blue.
    QVERIFY(darkest.blue() < 200 || darkest.red() > 60);
}

void CaptionsTest::bannerIsDrawnForTheScaling() {
    // The 220 x 92 drawing at 100 %; above it, the one drawn at twice the resolution.
    const QPixmap banner = window_->findChild<QLabel*>("Image1")->pixmap();
    const bool scaled = qApp->devicePixelRatio() > 1.0;
    QCOMPARE(banner.size(), scaled ? QSize(440, 184) : QSize(220, 92));
}

}  // namespace tessavine

QTEST_MAIN(tessavine::CaptionsTest)
#include "captions_test.moc"
