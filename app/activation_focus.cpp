#include "app/activation_focus.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace tessavine {

ActivationFocus::ActivationFocus(QWidget& mainWindow, QWidget& focusTarget)
    : QObject(&mainWindow), mainWindow_(mainWindow), focusTarget_(&focusTarget) {
    mainWindow_.installEventFilter(this);
    // Leaving for another program breaks the chain: the next activation is a return from
    // outside, even if the About window was the last of ours to be active.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && !returningFromClosedWindow_) {
                    returningFromOwnWindow_ = false;
                }
            });
}

void ActivationFocus::watchReturnFrom(QWidget& window) {
    window.installEventFilter(this);
}

bool ActivationFocus::eventFilter(QObject* watched, QEvent* event) {
    const bool mainWindow = watched == &mainWindow_;
    switch (event->type()) {
        case QEvent::WindowActivate:
            if (!mainWindow) {
                returningFromOwnWindow_ = true;
            } else {
                if ((firstActivation_ || returningFromOwnWindow_) && focusTarget_) {
                    focusTarget_->setFocus(Qt::ActiveWindowFocusReason);
                }
                firstActivation_ = false;
                returningFromOwnWindow_ = false;
                returningFromClosedWindow_ = false;
            }
            break;
        case QEvent::Close:
            if (!mainWindow) {
                returningFromOwnWindow_ = true;
                returningFromClosedWindow_ = true;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessavine
