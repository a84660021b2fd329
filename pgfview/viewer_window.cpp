#include "viewer_window.h"

#include <QtWidgets>

#include "companion_placement.h"
#include "font_summary.h"
#include "pgfview_shared/font_summary.h"
#include "pgfview_shared/opening_zoom.h"
#include "picture_area.h"
#include "psp_screen/character_table.h"
#include "psp_screen/screen_layout.h"
#include "qt_pictures.h"
#include "screen_export.h"
#include "shown_name.h"

namespace tessavine::pgfview {
namespace {

const QString kDefaultSample = QString::fromUtf8(kDefaultSampleText);
// Beside the picture; below it, the panel takes the picture's width.
constexpr int kSidePanelWidth = 330;

// The first local .pgf file among the dropped ones.
QString droppedFont(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && path.endsWith(".pgf", Qt::CaseInsensitive)) {
            return path;
        }
    }
    return {};
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("pgfview");
    setWindowTitle("pgfview");
    setAcceptDrops(true);
    buildControls();
    connect(&font_, &WatchedFont::changed, this, &ViewerWindow::redraw);
    redraw();
    openAtTheZoomThatFits();
    fitToContent();
}

void ViewerWindow::placeBesideMainWindow() {
    if (const QScreen* shownOn = screen()) {
        const QRect available = shownOn->availableGeometry();
        companionRoom_ = companionRoom(available);
        openAtTheZoomThatFits();
        fitToContent();
        setGeometry(companionGeometry(available, size()));
    }
}

QSize ViewerWindow::room() const {
    if (!companionRoom_.isEmpty()) {
        return companionRoom_;
    }
    if (const QScreen* shownOn = screen()) {
        // Room for a title bar and borders, which the window manager adds around this size.
        constexpr int kFrameWidth = 16;
        constexpr int kFrameHeight = 40;
        return shownOn->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight);
    }
    return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
}

QSize ViewerWindow::contentWish(QBoxLayout::Direction direction) {
    // The hints of the layouts around the picture follow a change a step an event; they are
    // brought up to date first, or the window would be sized for the zoom of before.
    for (int step = 0; step < 8; ++step) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    body_->setDirection(direction);
    if (direction == QBoxLayout::LeftToRight) {
        sidePanel_->setFixedWidth(kSidePanelWidth);
    } else {
        sidePanel_->setMinimumWidth(0);
        sidePanel_->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    // The outer layout keeps the hint it had until it is told its parts changed.
    central_->layout()->invalidate();
    // The content's own wish, not the outer scroll area's, which is capped like any other.
    return central_->sizeHint() + QSize(0, menuBar()->sizeHint().height());
}

void ViewerWindow::openAtTheZoomThatFits() {
    if (isVisible()) {
        return;  // the zoom is the user's once the window is up
    }
    // What stands around the picture is measured at the largest opening zoom with the panel
    // below the picture, the narrower arrangement, which fitToContent takes where the room
    // beside the main window is too narrow for both across.
    zoom_->setCurrentIndex(pgfview_shared::kLargestOpeningZoom - 1);
    const QSize picture = screenArea_->pictureSize();
    const QSize around = contentWish(QBoxLayout::TopToBottom) - picture;
    const QSize fits = room();
    const int zoom =
        pgfview_shared::openingZoom({fits.width(), fits.height()},
                                    {psp_screen::kPspScreen.width, psp_screen::kPspScreen.height},
                                    {around.width(), around.height()});
    zoom_->setCurrentIndex(zoom - 1);
}

void ViewerWindow::fitToContent() {
    QSize room = this->room();
    if (isVisible()) {
        room = room.expandedTo(size());  // a window the user made larger keeps its size
    }
    // The panel beside the picture where the room holds both across, else below it as in
    // pgfview.exe: side by side in the room beside the main window (at 200 % even on a large
    // screen), the picture would be cut and scrolled for the sake of the panel.
    QSize wanted = contentWish(QBoxLayout::LeftToRight);
    if (wanted.width() > room.width()) {
        wanted = contentWish(QBoxLayout::TopToBottom);
    }
    if (!isVisible()) {
        resize(wanted.boundedTo(room));
        return;
    }
    const QSize client = wanted.expandedTo(size()).boundedTo(room);
    if (const QScreen* shownOn = screen(); shownOn != nullptr && client != size()) {
        // The frame around the client area stays as the window manager drew it.
        const QRect frame = frameGeometry();
        const QRect moved =
            resizedInPlace(frame, client + (frame.size() - size()), shownOn->availableGeometry());
        move(moved.topLeft());
    }
    resize(client);
}

void ViewerWindow::buildControls() {
    QMenu* fileMenu = menuBar()->addMenu("&File");
    fileMenu->addAction("&Open…", QKeySequence::Open, this, &ViewerWindow::chooseFile);
    fileMenu->addAction("&Export PNG…", QKeySequence::Save, this, &ViewerWindow::chooseExport);
    fileMenu->addSeparator();
    fileMenu->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);

    sample_ = new QLineEdit(kDefaultSample);
    sample_->setObjectName("sampleText");
    sample_->setToolTip("Your own sample text, drawn at the top of the screen");
    zoom_ = new QComboBox;
    zoom_->setObjectName("zoom");
    for (int factor = 1; factor <= 4; ++factor) {
        zoom_->addItem(QString("%1×").arg(factor), factor);
    }
    zoom_->setCurrentIndex(1);
    background_ = new QComboBox;
    background_->setObjectName("background");
    background_->addItems({"Dark", "Light"});
    outline_ = new QCheckBox("Firmware size");
    outline_->setObjectName("firmwareOutline");
    outline_->setToolTip("Outlines the em box and line pitch of the PSP's own font of this slot");
    onTop_ = new QCheckBox("Stay on top");
    onTop_->setObjectName("stayOnTop");
    auto* open = new QPushButton("Open…");
    open->setObjectName("openButton");
    export_ = new QPushButton("Export PNG…");
    export_->setObjectName("exportButton");

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel("Sample:"));
    controls->addWidget(sample_, 1);
    controls->addWidget(new QLabel("Zoom:"));
    controls->addWidget(zoom_);
    controls->addWidget(background_);
    controls->addWidget(outline_);
    controls->addWidget(onTop_);
    controls->addWidget(open);
    controls->addWidget(export_);

    status_ = new QLabel;
    status_->setObjectName("statusMessage");
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText);  // it shows file names, which may hold markup
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    screen_ = new QLabel;
    screen_->setObjectName("screenView");
    screen_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    screen_->setTextFormat(Qt::PlainText);
    screenArea_ = new PictureArea;
    screenArea_->setObjectName("screenArea");
    screenArea_->setWidget(screen_);
    screenArea_->setWidgetResizable(true);
    // Its wish before any layout asks for it: a layout keeps the first answer it had.
    screenArea_->setPictureSize(QSize(psp_screen::kPspScreen.width, psp_screen::kPspScreen.height) *
                                zoom_->currentData().toInt());
    table_ = new QLabel;
    table_->setObjectName("characterTable");
    table_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    table_->installEventFilter(this);
    auto* tableArea = new QScrollArea;
    tableArea->setWidget(table_);
    tableArea->setWidgetResizable(true);
    // A big font's table comes a Unicode block at a time; a latin font's is one page, and the
    // chooser stays hidden.
    tablePage_ = new QComboBox;
    tablePage_->setObjectName("tablePage");
    tablePage_->setToolTip("The characters of one Unicode block at a time");
    tablePage_->hide();
    auto* tableLayout = new QVBoxLayout;
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(tablePage_);
    tableLayout->addWidget(tableArea, 1);
    auto* tableTab = new QWidget;
    tableTab->setLayout(tableLayout);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("views");
    tabs_->addTab(screenArea_, "Screen");
    tabs_->addTab(tableTab, "Characters");

    details_ = new QLabel;
    details_->setObjectName("fontDetails");
    details_->setTextFormat(Qt::RichText);
    details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    details_->setWordWrap(true);
    missing_ = new QPlainTextEdit;
    missing_->setObjectName("missingCharacters");
    missing_->setReadOnly(true);
    auto* side = new QVBoxLayout;
    side->addWidget(details_);
    missingLabel_ = new QLabel(QString::fromStdString(
        "Characters of " + pgfview_shared::setWords(0) + " the font lacks:"));
    missingLabel_->setObjectName("missingLabel");
    side->addWidget(missingLabel_);
    side->addWidget(missing_, 1);
    sidePanel_ = new QWidget;
    sidePanel_->setObjectName("sidePanel");
    sidePanel_->setLayout(side);
    sidePanel_->setFixedWidth(kSidePanelWidth);

    body_ = new QBoxLayout(QBoxLayout::LeftToRight);
    body_->addWidget(tabs_, 1);
    body_->addWidget(sidePanel_);
    auto* layout = new QVBoxLayout;
    layout->addLayout(controls);
    layout->addWidget(status_);
    layout->addLayout(body_, 1);
    central_ = new QWidget;
    central_->setLayout(layout);
    // Scrolls rather than grows past a screen that has little room beside the main window (a
    // laptop at 200 %): the window then keeps any size it is given.
    auto* scroll = new QScrollArea;
    scroll->setWidget(central_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(scroll);

    connect(sample_, &QLineEdit::textChanged, this, &ViewerWindow::redraw);
    connect(tabs_, &QTabWidget::currentChanged, this, &ViewerWindow::drawTableIfShown);
    connect(tablePage_, &QComboBox::currentIndexChanged, this, &ViewerWindow::drawTablePage);
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] {
        redraw();
        fitToContent();
    });
    connect(background_, &QComboBox::currentIndexChanged, this, &ViewerWindow::redraw);
    connect(outline_, &QCheckBox::toggled, this, &ViewerWindow::redraw);
    connect(onTop_, &QCheckBox::toggled, this, [this](bool on) {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        show();
    });
    connect(open, &QPushButton::clicked, this, &ViewerWindow::chooseFile);
    connect(export_, &QPushButton::clicked, this, &ViewerWindow::chooseExport);
}

void ViewerWindow::openFile(const QString& path) {
    font_.open(path);
    setWindowTitle(QString("%1 — pgfview").arg(shownName(QFileInfo(path).fileName())));
}

void ViewerWindow::redraw() {
    const pgf::PgfFile* font = font_.font();
    export_->setEnabled(font != nullptr);
    const int factor = zoom_->currentData().toInt();
    if (font == nullptr) {
        view_ = QImage();
        screenArea_->setPictureSize(
            QSize(psp_screen::kPspScreen.width, psp_screen::kPspScreen.height) * factor);
        screen_->setPixmap({});
        screen_->setText(font_.message());
        table_->setPixmap({});
        tableEntries_.clear();
        tablePages_.clear();
        tablePage_->clear();
        tablePage_->hide();
        details_->clear();
        missing_->clear();
        status_->setText(font_.state() == WatchedFont::State::None ? QString("Open a .pgf file.")
                                                                   : font_.message());
        status_->setStyleSheet(font_.state() == WatchedFont::State::Damaged ? "color: #c02020"
                                                                            : "");
        emit redrawn();
        return;
    }
    const psp_screen::Palette palette =
        background_->currentIndex() == 1 ? psp_screen::lightPalette() : psp_screen::darkPalette();
    psp_screen::ScreenLayout layout =
        psp_screen::pspScreenLayout(*font, sample_->text().toStdU32String());
    const FontSummary summary =
        summarize(*font, QFileInfo(font_.path()).fileName(), font_.fileBytes());
    if (outline_->isChecked()) {
        layout.reference = psp_screen::firmwareReference(summary.slot);
    }
    const QImage screen = screenImage(*font, layout, palette);
    view_ = magnify(screen, factor);
    // Each PSP pixel becomes a whole square of device pixels, so that nothing scales the picture
    // again (and smooths it) on a screen with more device pixels than logical ones.
    const qreal ratio = devicePixelRatioF();
    const int devicePixels = std::max(1, qRound(factor * ratio));
    QImage shown = devicePixels == factor ? view_ : magnify(screen, devicePixels);
    shown.setDevicePixelRatio(ratio);
    screenArea_->setPictureSize(shown.deviceIndependentSize().toSize());
    screen_->setPixmap(QPixmap::fromImage(shown));
    tableEntries_.clear();
    tablePages_.clear();
    table_->setPixmap({});
    drawTableIfShown();
    details_->setText(summaryHtml(summary));
    missingLabel_->setText("Characters of " + summary.wantedSet + " the font lacks:");
    missing_->setPlainText(summary.missing.empty() ? QString("(none)")
                                                   : describeCharacters(summary.missing));
    status_->setStyleSheet("");
    status_->setText(shownName(QDir::toNativeSeparators(font_.path())));
    emit redrawn();
}

QString ViewerWindow::exportPng(const QString& path) const {
    if (view_.isNull()) {
        return "There is no picture to save yet: open a font first.";
    }
    return savePng(view_, path);
}

void ViewerWindow::chooseFile() {
    const QString path = askForFont_
                             ? askForFont_(QFileInfo(font_.path()).absolutePath())
                             : QFileDialog::getOpenFileName(this, "Open a PSP font",
                                                            QFileInfo(font_.path()).absolutePath(),
                                                            "PSP fonts (*.pgf);;All files (*)");
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ViewerWindow::chooseExport() {
    const QString suggestion = QFileInfo(font_.path()).absolutePath() + "/" +
                               QFileInfo(font_.path()).completeBaseName() + ".png";
    const QString path =
        QFileDialog::getSaveFileName(this, "Export the view", suggestion, "PNG images (*.png)");
    if (path.isEmpty()) {
        return;
    }
    const QString problem = exportPng(path);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, "pgfview", problem);
    }
}

void ViewerWindow::drawTableIfShown() {
    // The table is the larger picture; it is drawn only when it is looked at.
    const pgf::PgfFile* font = font_.font();
    if (font == nullptr || tabs_->currentIndex() != 1 || !tableEntries_.empty()) {
        return;
    }
    tableEntries_ = psp_screen::characterTableEntries(
        *font,
        pgfview_shared::wantedCharacters(QFileInfo(font_.path()).fileName().toStdString()).codes);
    tablePages_ = psp_screen::characterTablePages(*font, tableEntries_);
    // The same block stays chosen when the file is drawn again, as long as it is still there.
    const QString chosen = tablePage_->currentText();
    {
        const QSignalBlocker quiet(tablePage_);
        tablePage_->clear();
        for (const psp_screen::TablePage& page : tablePages_) {
            tablePage_->addItem(QString::fromStdString(page.title));
        }
        tablePage_->setCurrentIndex(std::max(0, tablePage_->findText(chosen)));
    }
    tablePage_->setVisible(tablePages_.size() > 1);
    drawTablePage();
}

void ViewerWindow::drawTablePage() {
    const pgf::PgfFile* font = font_.font();
    const int index = tablePage_->currentIndex();
    if (font == nullptr || index < 0 || static_cast<std::size_t>(index) >= tablePages_.size()) {
        return;
    }
    const psp_screen::Palette palette =
        background_->currentIndex() == 1 ? psp_screen::lightPalette() : psp_screen::darkPalette();
    shownPage_ = tablePages_[static_cast<std::size_t>(index)];
    const std::span<const psp_screen::TableEntry> entries(tableEntries_.data() + shownPage_.first,
                                                          shownPage_.count);
    tableGeometry_ = psp_screen::tableGeometry(*font, entries.size());
    tableZoom_ = zoom_->currentData().toInt();
    table_->setPixmap(
        QPixmap::fromImage(magnify(characterTableImage(*font, entries, palette), tableZoom_)));
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    // A cell of the character table tells its code when the mouse rests on it.
    if (watched == table_ && event->type() == QEvent::ToolTip && !tableEntries_.empty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QPoint at = help->pos() / tableZoom_;
        const int column = at.x() / std::max(1, tableGeometry_.cellWidth);
        const int row = at.y() / std::max(1, tableGeometry_.cellHeight);
        const auto index = static_cast<std::size_t>(row * psp_screen::kTableColumns + column);
        if (column < psp_screen::kTableColumns && index < shownPage_.count &&
            shownPage_.first + index < tableEntries_.size()) {
            const psp_screen::TableEntry& entry = tableEntries_[shownPage_.first + index];
            QToolTip::showText(
                help->globalPos(),
                QString::fromStdString(pgfview_shared::tableCellTip(entry.code, entry.missing)),
                table_);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFont(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void ViewerWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFont(event->mimeData());
    if (!path.isEmpty()) {
        openFile(path);
        event->acceptProposedAction();
    }
}

}  // namespace tessavine::pgfview
