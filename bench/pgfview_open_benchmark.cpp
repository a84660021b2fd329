// Times how long the pgfview window takes from opening a PGF file to showing it, side panel
// included, or to saying it is damaged; run under /usr/bin/time -v for the peak memory. For the
// crafted files of bench/crafted_inputs.sh.
//
//   pgfview_open_benchmark FILE.pgf     prints "<milliseconds> ms <state>"; exit 1 after 60 s
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "pgfview/viewer_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: pgfview_open_benchmark FILE.pgf\n", stderr);
        return 2;
    }
    using tessavine::pgfview::ViewerWindow;
    using tessavine::pgfview::WatchedFont;
    ViewerWindow window;
    window.show();
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&window, &ViewerWindow::redrawn, &loop, [&] {
        const WatchedFont::State state = window.font().state();
        if (state == WatchedFont::State::Loaded || state == WatchedFont::State::Damaged) {
            loop.quit();
        }
    });
    QElapsedTimer clock;
    clock.start();
    window.openFile(QString::fromLocal8Bit(argv[1]));
    timeout.start(60000);
    loop.exec();
    const double milliseconds = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const bool loaded = window.font().state() == WatchedFont::State::Loaded;
    std::printf("%.0f ms %s\n", milliseconds,
                !timeout.isActive() ? "timed out" : (loaded ? "shown" : "refused as damaged"));
    return timeout.isActive() ? 0 : 1;
}
