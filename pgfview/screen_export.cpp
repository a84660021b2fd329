#include "screen_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QImageWriter>

#include "core/std_file_system.h"

#include "font_file.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"
#include "qt_pictures.h"
#include "shown_name.h"

namespace tessavine::pgfview {

QString savePng(const QImage& image, const QString& pngPath) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        return QString("Could not save %1: %2. Choose another folder or name.")
            .arg(shownName(QDir::toNativeSeparators(pngPath)), writer.errorString());
    }
    // Written beside the name and renamed over it: a link standing at the name is replaced,
    // never written through to a file elsewhere, and no half-written picture is left.
    StdFileSystem files;
    const std::string problem = files.writeFileReplacing(pngPath.toStdString(), png.toStdString());
    if (problem.empty()) {
        return {};
    }
    return shownName(problem) + " Choose another folder or name.";
}

QString exportScreen(const QString& fontPath, const QString& pngPath) {
    const FontFileRead read = readFontFile(fontPath);
    if (!read.font) {
        return QString("Could not read %1: %2. Name a PGF font file.")
            .arg(shownName(QDir::toNativeSeparators(fontPath)), read.problem);
    }
    const pgf::PgfFile& font = *read.font;
    const psp_screen::ScreenLayout layout =
        psp_screen::pspScreenLayout(font, QString::fromUtf8(kDefaultSampleText).toStdU32String());
    return savePng(screenImage(font, layout, psp_screen::darkPalette()), pngPath);
}

}  // namespace tessavine::pgfview
