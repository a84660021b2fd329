#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "screen_export.h"
#include "tessavine_version.h"
#include "viewer_window.h"

namespace {

constexpr const char* kUsage =
    "usage: pgfview [FILE.pgf]\n"
    "       pgfview --export OUT.png [FILE.pgf]\n"
    "       pgfview --help | --version\n"
    "\n"
    "Shows a PSP font as the PSP draws it and follows the file as it changes. Without FILE it\n"
    "shows ltn0.pgf in its own folder, where the converter writes it, and opens beside the\n"
    "Tessavine window. --export writes the PSP screen at 1x as a PNG, without a window.\n";

// The program folder's ltn0.pgf, found without an application object (none exists yet when
// --export runs): beside the program, as argv[0] names it.
QString defaultFont(const char* argv0) {
    return QFileInfo(QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath(), "ltn0.pgf")
        .absoluteFilePath();
}

int exportWithoutWindow(int argc, char* argv[], const QString& out, const QString& font) {
    // The drawing needs Qt's image and text machinery, not a display: scripts and tests run it
    // where there is none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString problem = tessavine::pgfview::exportScreen(font, out);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "pgfview: %s\n", problem.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace

// pgfview [font.pgf]: shows a PSP font as the PSP draws it and follows the file as it changes.
int main(int argc, char* argv[]) {
    // The answers that need no window come before any application object, so that they work
    // without a display.
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--version") {
        std::puts("pgfview " TESSAVINE_VERSION " (Tessavine)");
        return 0;
    }
    if (first == "--export") {
        if (argc < 3 || argc > 4) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        return exportWithoutWindow(
            argc, argv, QString::fromLocal8Bit(argv[2]),
            argc == 4 ? QString::fromLocal8Bit(argv[3]) : defaultFont(argv[0]));
    }
    if (first.size() > 1 && first[0] == '-') {
        std::fprintf(stderr, "pgfview: unknown option %s\n%s", first.c_str(), kUsage);
        return 2;
    }

    QApplication application(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : defaultFont(argv[0]);
    tessavine::pgfview::ViewerWindow window;
    window.openFile(path);
    // A file named on the command line is one the user looks at for itself, wherever the desktop
    // puts the window; only the converter's own output is watched beside the window.
    if (argc <= 1) {
        window.placeBesideMainWindow();
    }
    window.show();
    return QApplication::exec();
}
