#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "ui/centre_on_screen.h"
#include "ui/entry_field.h"
#include "ui/fit_caption.h"
#include "ui/fixed_window_flags.h"
#include "ui/initial_texts.h"
#include "ui/twips.h"

// Resources of a static library must be registered by name, outside any namespace.
static void registerWindowImages() {
    Q_INIT_RESOURCE(window_images);
}

namespace tessavine {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kLightCyan(192, 255, 255);
const QColor kLightYellow(255, 255, 128);
const QColor kLightGreen(192, 255, 192);
const QColor kBlack(0, 0, 0);
const QColor kDisabledGrey(64, 64, 64);

// Green needs a style sheet: the native Windows styles ignore a button's palette colour.
const char* const kExecuteButtonStyle =
    "QPushButton { background-color: rgb(128, 255, 128); border: 1px solid rgb(64, 128, 64);"
    " border-radius: 2px; }"
    "QPushButton:focus { border: 2px solid rgb(0, 96, 0); }"
    "QPushButton:pressed { background-color: rgb(96, 224, 96); }";

struct FieldLayout {
    TextField field;
    const char* name;
    const char* initialText;
    KeyFilter filter;
    int maxLength;  // 0: no limit beyond the field's own
    QRect place;
};

const FieldLayout kFieldLayouts[] = {
    {TextField::fontname1, "fontname1", initialText(TextField::fontname1), KeyFilter::none, 0,
     twipsRect(480, 1560, 5775, 285)},
    {TextField::height1, "height1", initialText(TextField::height1), KeyFilter::wholeNumber, 3,
     twipsRect(2280, 2280, 615, 285)},
    {TextField::horizontal1, "horizontal1", initialText(TextField::horizontal1), KeyFilter::decimal,
     4, twipsRect(2280, 2640, 615, 285)},
    {TextField::advance1, "advance1", initialText(TextField::advance1), KeyFilter::decimal, 4,
     twipsRect(2280, 3000, 615, 285)},
    {TextField::blur1, "blur1", initialText(TextField::blur1), KeyFilter::decimal, 3,
     twipsRect(2280, 3360, 615, 285)},
    {TextField::intensity1, "intensity1", initialText(TextField::intensity1), KeyFilter::decimal, 3,
     twipsRect(2280, 3720, 615, 285)},
};

struct TextLayout {
    const char* name;
    const char* text;
    QRect place;
};

const TextLayout kLabelLayouts[] = {
    {"Label1(0)", "Enter the Font Name below including the extension. (.ttf or .otf)",
     twipsRect(480, 1320, 5775, 285)},
    {"Label1(1)", "Font Scale", twipsRect(480, 2280, 1815, 285)},
    {"Label1(3)", "Horizontal Width", twipsRect(480, 2640, 1815, 285)},
    {"Label1(6)", "Advance Scaling Amt.", twipsRect(480, 3000, 1815, 285)},
    {"Label1(4)", "Shadow Blurring Amt.", twipsRect(480, 3360, 1815, 285)},
    {"Label1(7)", "Shadow Intensity", twipsRect(480, 3720, 1815, 285)},
    {"Label1(2)", "Bold", twipsRect(480, 4320, 1695, 285)},
    {"Label1(5)", "Italics", twipsRect(480, 4680, 1695, 285)},
};

// Text2 to Text9, in name order.
const TextLayout kHintLayouts[] = {
    {"Text2", "0.1 to 4.0", twipsRect(2880, 3360, 855, 285)},
    {"Text3", "0.0 to 4.0", twipsRect(2880, 3720, 855, 285)},
    {"Text4", "0.25 to 2.0", twipsRect(2880, 2640, 855, 285)},
    {"Text5", "0.25 to 2.0", twipsRect(2880, 3000, 855, 285)},
    {"Text6", "8 Upwards", twipsRect(2880, 2280, 855, 285)},
    {"Text7", "Range", twipsRect(2880, 1920, 855, 285)},
    {"Text8", "Tick to Create each PGF", twipsRect(4080, 1920, 2175, 285)},
    {"Text9", "Or Tick to Create all PGF", twipsRect(4080, 4320, 2175, 285)},
};

QRect slotBoxPlace(int index) {
    if (index == kCreateAllBox) {
        return twipsRect(4080, 4680, 2175, 285);
    }
    const int column = index / 8;
    const int row = index % 8;
    return twipsRect(4080 + 1200 * column, 2280 + 240 * row, 975, 255);
}

void colourCheckBox(QCheckBox& box) {
    box.setAutoFillBackground(true);
    QPalette palette = box.palette();
    // Styles fill a check box with its button colour, the window colour shows around it.
    palette.setColor(QPalette::Window, kLightYellow);
    palette.setColor(QPalette::Button, kLightYellow);
    // Only the enabled text is blue, so the disabled Check1(0) still looks disabled; its grey
    // is dark enough to read on the yellow (about 9:1, and above 4.5:1 as drawn, smoothed), and no
    // etched highlight blurs it.
    palette.setColor(QPalette::Active, QPalette::WindowText, kBlue);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, kBlue);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledGrey);
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledGrey);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, kDisabledGrey);
    palette.setColor(QPalette::Disabled, QPalette::Light, kLightYellow);
    box.setPalette(palette);
}

QCheckBox* makeCheckBox(QWidget& client, const QString& name, const QString& caption,
                        const QRect& place) {
    auto* box = new QCheckBox(caption, &client);
    box->setObjectName(name);
    box->setGeometry(place);
    colourCheckBox(*box);
    return box;
}

// On a display scaled above 100 %, a picture with a drawing at twice the resolution shows that
// one, so the lettering stays sharp; the label scales either to its place in device pixels.
QLabel* makePicture(QWidget& client, const char* name, const QString& image, const QRect& place,
                    const QString& doubleResolutionImage = {}) {
    auto* picture = new QLabel(&client);
    picture->setObjectName(name);
    picture->setGeometry(place);
    const bool dense = !doubleResolutionImage.isEmpty() && qApp->devicePixelRatio() > 1.0;
    picture->setPixmap(QPixmap(dense ? doubleResolutionImage : image));
    picture->setScaledContents(true);
    return picture;
}

// A vertical rule one pixel wide, drawn in the window-text colour of a line.
void makeVerticalRule(QWidget& client, const char* name, int leftTwips, int topTwips,
                      int bottomTwips) {
    auto* rule = new QFrame(&client);
    rule->setObjectName(name);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(1);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::WindowText, kBlack);
    rule->setPalette(palette);
    const int top = twipsToPixels(topTwips);
    rule->setGeometry(twipsToPixels(leftTwips), top, 1, twipsToPixels(bottomTwips) - top);
}

}  // namespace

MainWindow::MainWindow() : QMainWindow(nullptr, kFixedWindowWithCloseButton) {
    registerWindowImages();
    setObjectName("main");
    setWindowTitle("Tessavine Gui");

    about_ = menuBar()->addAction("About");
    about_->setObjectName("About(0)");

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(twipsRect(0, 0, 6705, 5880).size());
    setCentralWidget(client);
    // The window takes exactly the size of the menu bar and the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Creation order is drawing order: the backdrop first, the controls over it.
    buildDecoration(*client);
    buildParameterRows(*client);
    buildSlotBoxes(*client);

    execute_ = new QPushButton("Execute", client);
    execute_->setObjectName("Command1");
    execute_->setGeometry(twipsRect(480, 5160, 5775, 375));
    execute_->setStyleSheet(kExecuteButtonStyle);
    // Enter in a field must never press Execute.
    execute_->setAutoDefault(false);
    execute_->setDefault(false);

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(1000);

    applyTabOrder();
    // The captions are fixed; the user's own text in the entry fields keeps the default font.
    std::vector<QWidget*> captioned;
    for (QWidget* control : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<EntryField*>(control) == nullptr) {
            captioned.push_back(control);
        }
    }
    fitCaptions(captioned);

    // Files dropped anywhere on the window, the entry fields included, go to filesDropped().
    setAcceptDrops(true);
    for (EntryField* field : fields_) {
        field->installEventFilter(this);
    }
}

QLineEdit& MainWindow::field(TextField which) const {
    return *fields_.at(static_cast<std::size_t>(which));
}

QCheckBox& MainWindow::slotBox(int index) const {
    return *slotBoxes_.at(static_cast<std::size_t>(index));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        return;
    }
    event->acceptProposedAction();
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // A file from elsewhere than this computer's file system has no local path: it is
        // passed on empty, so the drop is refused as no font.
        paths << (url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : QString());
    }
    emit filesDropped(paths);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // An entry field would take a dropped file's address as text; files are the window's.
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasUrls()) {
                break;
            }
            if (event->type() == QEvent::Drop) {
                dropEvent(drop);
            } else {
                drop->acceptProposedAction();
            }
            return true;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        centreOnScreen(*this);
    }
    QMainWindow::showEvent(event);
}

void MainWindow::buildDecoration(QWidget& client) {
    makePicture(client, "bgimage1", ":/images/background.jpg", twipsRect(0, 0, 6720, 5880));
    makePicture(client, "Image1", ":/images/banner.gif", twipsRect(0, 0, 6645, 1380),
                ":/images/banner@2x.png");
    // Label1(0) overlaps the banner's bottom edge and is drawn over it.
    for (const TextLayout& layout : kLabelLayouts) {
        auto* label = new QLabel(layout.text, &client);
        label->setObjectName(layout.name);
        label->setGeometry(layout.place);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, kLightGreen);
        label->setPalette(palette);
    }
    makeVerticalRule(client, "Line2", 3840, 1920, 4960);
    makeVerticalRule(client, "Line1", 3960, 1920, 4960);
}

void MainWindow::buildParameterRows(QWidget& client) {
    for (std::size_t i = 0; i < hints_.size(); ++i) {
        const TextLayout& layout = kHintLayouts[i];
        auto* hint = new QLineEdit(layout.text, &client);
        hint->setObjectName(layout.name);
        hint->setGeometry(layout.place);
        hint->setReadOnly(true);  // nothing reads the hints, so typing into them is pointless
        hint->setAlignment(Qt::AlignCenter);
        QPalette palette = hint->palette();
        palette.setColor(QPalette::Base, kLightCyan);
        palette.setColor(QPalette::Window, kLightCyan);
        hint->setPalette(palette);
        hints_[i] = hint;
    }
    for (const FieldLayout& layout : kFieldLayouts) {
        auto* field = new EntryField(layout.filter, &client);
        field->setObjectName(layout.name);
        field->setGeometry(layout.place);
        field->setText(layout.initialText);
        if (layout.maxLength > 0) {
            field->setMaxLength(layout.maxLength);
        }
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, kWhite);
        palette.setColor(QPalette::Text, kBlue);
        field->setPalette(palette);
        fields_[static_cast<std::size_t>(layout.field)] = field;
    }
    bold_ = makeCheckBox(client, "bold1", "Embolden?", twipsRect(2280, 4320, 1425, 285));
    italicize_ = makeCheckBox(client, "italicize1", "Italicize?", twipsRect(2280, 4680, 1425, 285));
}

void MainWindow::buildSlotBoxes(QWidget& client) {
    for (int index = 0; index <= kSlotCount; ++index) {
        const QString caption = index == kCreateAllBox ? QString("Create All PGF (ltn0-ltn15)")
                                                       : QString("ltn%1.pgf").arg(index);
        slotBoxes_[static_cast<std::size_t>(index)] =
            makeCheckBox(client, QString("Check1(%1)").arg(index), caption, slotBoxPlace(index));
    }
    // Slot 0 is what the converter itself writes: always produced, so not the user's choice.
    slotBox(0).setChecked(true);
    slotBox(0).setEnabled(false);
}

void MainWindow::applyTabOrder() {
    const auto hint = [this](int number) { return hints_[static_cast<std::size_t>(number - 2)]; };
    std::vector<QWidget*> order = {
        &field(TextField::intensity1),
        &field(TextField::blur1),
        &field(TextField::horizontal1),
        &field(TextField::height1),
        execute_,
        bold_,
        &field(TextField::fontname1),
        italicize_,
        &field(TextField::advance1),
        hint(2),
        hint(3),
        hint(4),
        hint(5),
        hint(6),
        hint(7),
        &slotBox(0),
        hint(8),
    };
    for (int index = 1; index < kSlotCount; ++index) {
        order.push_back(&slotBox(index));
    }
    order.push_back(hint(9));
    order.push_back(&slotBox(kCreateAllBox));
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

}  // namespace tessavine
