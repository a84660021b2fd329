#include "app/message_box_prompts.h"

#include <QMessageBox>

namespace tessavine {

namespace {

const char* const kApplicationTitle = "Tessavine";

}  // namespace

void MessageBoxPrompts::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, QString::fromStdString(text),
                    QMessageBox::Ok, &owner_);
    // Messages may quote a file name or the converter's own words; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBoxPrompts::showWarning(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kApplicationTitle, QString::fromStdString(text),
                    QMessageBox::Ok, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxPrompts::askYesNo(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tessavine
