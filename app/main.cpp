#include <QApplication>
#include <QDir>

#include "app/device_roots.h"
#include "app/main_program.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tessavine::MainProgram program({
        .programFolder =
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString(),
        .prompts = nullptr,
        .deviceRoots = tessavine::candidateDeviceRoots,
        .endProgram = [] { QCoreApplication::exit(0); },
    });
    program.window().show();
    return QApplication::exec();
}
