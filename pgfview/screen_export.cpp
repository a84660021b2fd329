#include "screen_export.h"

#include <QDir>
#include <QImageWriter>

#include "font_file.h"
#include "screen_layout.h"
#include "screen_renderer.h"

namespace tessavine::pgfview {

QString exportScreen(const QString& fontPath, const QString& pngPath) {
    const FontFileRead read = readFontFile(fontPath);
    if (!read.font) {
        return QString("Could not read %1: %2. Name a PGF font file.")
            .arg(QDir::toNativeSeparators(fontPath), read.problem);
    }
    const pgf::PgfFile& font = *read.font;
    const ScreenLayout layout =
        pspScreenLayout(font, QString::fromUtf8(kDefaultSampleText).toStdU32String());
    QImageWriter writer(pngPath, "png");
    if (!writer.write(renderScreen(font, layout, darkPalette()))) {
        return QString("Could not save %1: %2. Choose another folder or name.")
            .arg(QDir::toNativeSeparators(pngPath), writer.errorString());
    }
    return {};
}

}  // namespace tessavine::pgfview
