#include "screen_export.h"

#include <QDir>
#include <QImageWriter>

#include "font_file.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"
#include "qt_pictures.h"

namespace tessavine::pgfview {

QString exportScreen(const QString& fontPath, const QString& pngPath) {
    const FontFileRead read = readFontFile(fontPath);
    if (!read.font) {
        return QString("Could not read %1: %2. Name a PGF font file.")
            .arg(QDir::toNativeSeparators(fontPath), read.problem);
    }
    const pgf::PgfFile& font = *read.font;
    const psp_screen::ScreenLayout layout =
        psp_screen::pspScreenLayout(font, QString::fromUtf8(kDefaultSampleText).toStdU32String());
    QImageWriter writer(pngPath, "png");
    if (!writer.write(screenImage(font, layout, psp_screen::darkPalette()))) {
        return QString("Could not save %1: %2. Choose another folder or name.")
            .arg(QDir::toNativeSeparators(pngPath), writer.errorString());
    }
    return {};
}

}  // namespace tessavine::pgfview
