#include "ui/about_window.h"

#include <QPlainTextEdit>

#include "ui/centre_on_screen.h"
#include "ui/fixed_window_flags.h"
#include "ui/twips.h"

namespace tessavine {

AboutWindow::AboutWindow(QWidget* owner) : QWidget(owner, kFixedWindowWithCloseButton) {
    setObjectName(QString::fromStdString(kAboutWindowFrame.name));
    setWindowTitle(QString::fromStdString(kAboutWindowFrame.caption));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(
        twipsRect(0, 0, kAboutWindowFrame.clientWidthTwips, kAboutWindowFrame.clientHeightTwips)
            .size());

    // Larger than the window on purpose: the window cuts off the text field's right and bottom
    // edges, so its frame shows only along the top and left.
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(kAboutTextName);
    text->setGeometry(toQRect(kAboutTextPlace));
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
