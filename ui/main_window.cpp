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
#include "ui/twips.h"
#include "ui/window_description.h"

// Resources of a static library must be registered by name, outside any namespace.
static void registerWindowImages() {
    Q_INIT_RESOURCE(window_images);
}

namespace tessavine {

namespace {

QColor qColour(const Rgb& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

// Green needs a style sheet: the native Windows styles ignore a button's palette colour.
const char* const kExecuteButtonStyle =
    "QPushButton { background-color: rgb(128, 255, 128); border: 1px solid rgb(64, 128, 64);"
    " border-radius: 2px; }"
    "QPushButton:focus { border: 2px solid rgb(0, 96, 0); }"
    "QPushButton:pressed { background-color: rgb(96, 224, 96); }";

void colourCheckBox(QCheckBox& box) {
    box.setAutoFillBackground(true);
    QPalette palette = box.palette();
    // Styles fill a check box with its button colour, the window colour shows around it.
    palette.setColor(QPalette::Window, qColour(kLightYellow));
    palette.setColor(QPalette::Button, qColour(kLightYellow));
    // Only the enabled text is blue, so the disabled Check1(0) still looks disabled; its grey
    // is dark enough to read on the yellow (about 9:1, and above 4.5:1 as drawn, smoothed), and no
    // etched highlight blurs it.
    palette.setColor(QPalette::Active, QPalette::WindowText, qColour(kBlue));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, qColour(kBlue));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, qColour(kDisabledGrey));
    palette.setColor(QPalette::Disabled, QPalette::Text, qColour(kDisabledGrey));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, qColour(kDisabledGrey));
    palette.setColor(QPalette::Disabled, QPalette::Light, qColour(kLightYellow));
    box.setPalette(palette);
}

QCheckBox* makeCheckBox(QWidget& client, const ControlDescription& control) {
    auto* box = new QCheckBox(QString::fromStdString(control.caption), &client);
    box->setObjectName(QString::fromStdString(control.name));
    box->setGeometry(toQRect(control.place));
    colourCheckBox(*box);
    box->setChecked(control.initialState == kTicked);
    box->setEnabled(control.enabled);
    return box;
}

// On a display scaled above 100 %, a picture with a drawing at twice the resolution shows that
// one, so the lettering stays sharp; the label scales either to its place in device pixels.
QLabel* makePicture(QWidget& client, const ControlDescription& control) {
    auto* picture = new QLabel(&client);
    picture->setObjectName(QString::fromStdString(control.name));
    picture->setGeometry(toQRect(control.place));
    const bool dense = !control.denseImage.empty() && qApp->devicePixelRatio() > 1.0;
    picture->setPixmap(QPixmap(
        QString::fromStdString(":/images/" + (dense ? control.denseImage : control.image))));
    picture->setScaledContents(true);
    return picture;
}

QLabel* makeLabel(QWidget& client, const ControlDescription& control) {
    auto* label = new QLabel(QString::fromStdString(control.caption), &client);
    label->setObjectName(QString::fromStdString(control.name));
    label->setGeometry(toQRect(control.place));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, qColour(kLightGreen));
    label->setPalette(palette);
    return label;
}

// A vertical rule one pixel wide, drawn in the window-text colour of a line.
QFrame* makeVerticalRule(QWidget& client, const ControlDescription& control) {
    auto* rule = new QFrame(&client);
    rule->setObjectName(QString::fromStdString(control.name));
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(1);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::WindowText, qColour(kBlack));
    rule->setPalette(palette);
    const int top = twipsToPixels(control.place.top);
    rule->setGeometry(twipsToPixels(control.place.left), top, 1,
                      twipsToPixels(control.place.top + control.place.height) - top);
    return rule;
}

QLineEdit* makeHint(QWidget& client, const ControlDescription& control) {
    auto* hint = new QLineEdit(QString::fromStdString(control.caption), &client);
    hint->setObjectName(QString::fromStdString(control.name));
    hint->setGeometry(toQRect(control.place));
    hint->setReadOnly(true);  // nothing reads the hints, so typing into them is pointless
    hint->setAlignment(Qt::AlignCenter);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::Base, qColour(kLightCyan));
    palette.setColor(QPalette::Window, qColour(kLightCyan));
    hint->setPalette(palette);
    return hint;
}

EntryField* makeEntryField(QWidget& client, const ControlDescription& control) {
    auto* field = new EntryField(control.filter, &client);
    field->setObjectName(QString::fromStdString(control.name));
    field->setGeometry(toQRect(control.place));
    field->setText(QString::fromStdString(control.caption));
    if (control.maxLength > 0) {
        field->setMaxLength(control.maxLength);
    }
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, qColour(kWhite));
    palette.setColor(QPalette::Text, qColour(kBlue));
    field->setPalette(palette);
    return field;
}

}  // namespace

MainWindow::MainWindow() : QMainWindow(nullptr, kFixedWindowWithCloseButton) {
    registerWindowImages();
    setObjectName(QString::fromStdString(kMainWindowFrame.name));
    setWindowTitle(QString::fromStdString(kMainWindowFrame.caption));

    about_ = menuBar()->addAction(kAboutMenuCaption);
    about_->setObjectName(kAboutMenuName);

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(
        twipsRect(0, 0, kMainWindowFrame.clientWidthTwips, kMainWindowFrame.clientHeightTwips)
            .size());
    setCentralWidget(client);
    // The window takes exactly the size of the menu bar and the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Creation order is drawing order: the backdrop first, the controls over it.
    buildControls(*client);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(kTimerName);
    timer1_->setInterval(kTimerInterval);

    applyTabOrder(*client);
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

void MainWindow::buildControls(QWidget& client) {
    std::size_t hintCount = 0;
    for (const ControlDescription& control : mainWindowControls()) {
        switch (control.kind) {
            case ControlKind::picture:
                makePicture(client, control);
                break;
            case ControlKind::label:
                makeLabel(client, control);
                break;
            case ControlKind::verticalRule:
                makeVerticalRule(client, control);
                break;
            case ControlKind::hint:
                hints_.at(hintCount++) = makeHint(client, control);
                break;
            case ControlKind::entryField:
                fields_[static_cast<std::size_t>(*control.field)] = makeEntryField(client, control);
                break;
            case ControlKind::checkBox: {
                QCheckBox* box = makeCheckBox(client, control);
                if (control.slotIndex >= 0) {
                    slotBoxes_.at(static_cast<std::size_t>(control.slotIndex)) = box;
                } else if (control.name == "bold1") {
                    bold_ = box;
                } else {
                    italicize_ = box;
                }
                break;
            }
            case ControlKind::button:
                execute_ = new QPushButton(QString::fromStdString(control.caption), &client);
                execute_->setObjectName(QString::fromStdString(control.name));
                execute_->setGeometry(toQRect(control.place));
                execute_->setStyleSheet(kExecuteButtonStyle);
                // Enter in a field must never press Execute.
                execute_->setAutoDefault(false);
                execute_->setDefault(false);
                break;
        }
    }
}

void MainWindow::applyTabOrder(QWidget& client) {
    QWidget* previous = nullptr;
    for (const std::string& name : mainWindowTabOrder()) {
        auto* control =
            client.findChild<QWidget*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

}  // namespace tessavine
