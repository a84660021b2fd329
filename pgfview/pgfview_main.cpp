#include <QApplication>
#include <QDir>

#include "viewer_window.h"

// pgfview [font.pgf]: shows a PSP font as the PSP draws it and follows the file as it changes.
// Without an argument it shows ltn0.pgf in its own folder, where the converter writes it.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString path = arguments.size() > 1
                             ? arguments.at(1)
                             : QDir(QCoreApplication::applicationDirPath()).filePath("ltn0.pgf");
    tessavine::pgfview::ViewerWindow window;
    window.openFile(path);
    window.show();
    return QApplication::exec();
}
