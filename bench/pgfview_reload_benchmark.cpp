// Times how long pgfview takes to show a rewritten ltn0.pgf: the file is replaced as the converter
// replaces it (a temporary file renamed into place) while the viewer window watches it, and the
// clock runs from the rename to the window's redraw. Two conversions of the bundled Example.ttf
// (18 px and 24 px) take turns, so every replacement changes the picture.
//
//   pgfview_reload_benchmark [REPLACEMENTS] [FONT]

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "converter/font_converter.h"
#include "converter/output_file.h"
#include "pgfview/viewer_window.h"

namespace {

std::vector<std::uint8_t> convert(const std::filesystem::path& font, int scale) {
    tessavine::converter::ConversionParameters parameters;
    parameters.fontScale = scale;
    parameters.shadowBlur = 2.5;
    parameters.shadowIntensity = 1.2;
    return tessavine::converter::convertFont(font, parameters).pgf;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int replacements = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::filesystem::path font =
        argc > 2 ? std::filesystem::path(argv[2])
                 : std::filesystem::path(TESSAVINE_FONTS_DIR) / "Example.ttf";
    const std::vector<std::uint8_t> versions[] = {convert(font, 18), convert(font, 24)};

    QTemporaryDir folder;
    const QString path = folder.filePath("ltn0.pgf");
    const std::filesystem::path target(path.toStdString());
    tessavine::converter::writeFileWhole(target, versions[0]);

    tessavine::pgfview::ViewerWindow window;
    window.openFile(path);
    window.show();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    std::vector<double> milliseconds;
    int missed = 0;
    for (int i = 1; i <= replacements; ++i) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
            ++missed;
            loop.quit();
        });
        // Only the redraw that shows the new file counts.
        const std::size_t expected = versions[i % 2].size();
        QObject::connect(&window, &tessavine::pgfview::ViewerWindow::redrawn, &loop, [&] {
            if (window.font().font() != nullptr && window.font().fileBytes() == expected) {
                loop.quit();
            }
        });
        QElapsedTimer clock;
        tessavine::converter::writeFileWhole(target, versions[i % 2]);
        clock.start();
        timeout.start(5000);
        loop.exec();
        if (timeout.isActive()) {
            milliseconds.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        // Let the notifications of this replacement die down before the next.
        QEventLoop pause;
        QTimer::singleShot(200, &pause, &QEventLoop::quit);
        pause.exec();
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    if (milliseconds.empty()) {
        std::printf("no redraw seen in %d replacements\n", replacements);
        return 1;
    }
    const auto at = [&](double share) {
        return milliseconds[static_cast<std::size_t>(share *
                                                     static_cast<double>(milliseconds.size() - 1))];
    };
    std::printf("ltn0.pgf replaced %d times (%zu and %zu bytes), rename to redraw:\n", replacements,
                versions[0].size(), versions[1].size());
    std::printf(
        "  min %.1f ms, median %.1f ms, 90th %.1f ms, max %.1f ms; missed %d (goal: under 1000 "
        "ms)\n",
        milliseconds.front(), at(0.5), at(0.9), milliseconds.back(), missed);
    return milliseconds.back() < 1000.0 && missed == 0 ? 0 : 1;
}
