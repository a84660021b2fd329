#include "ui/about_window.h"

#include <QPlainTextEdit>

#include "ui/centre_on_screen.h"
#include "ui/fixed_window_flags.h"
#include "ui/twips.h"

namespace tessavine {

namespace {

const char* const kAboutText =
    "About This Program\n"
    "\n"
    "This program allows you to easily convert any font file\n"
    "for use as a modded font for any version of psp.\n";

}  // namespace

AboutWindow::AboutWindow(QWidget* owner) : QWidget(owner, kFixedWindowWithCloseButton) {
    setObjectName("credits");
    setWindowTitle("About this Program");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsRect(0, 0, 5745, 1425).size());

    // Larger than the window on purpose: the window cuts off the text field's right and bottom
    // edges, so its frame shows only along the top and left.
    auto* text = new QPlainTextEdit(this);
    text->setObjectName("creditsabout1");
    text->setGeometry(twipsRect(0, 0, 5775, 2295));
    text->setReadOnly(true);
    text->setPlainText(kAboutText);
}

void AboutWindow::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        centreOnScreen(*this);
    }
    QWidget::showEvent(event);
}

}  // namespace tessavine
