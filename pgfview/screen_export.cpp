#include "screen_export.h"

#include <QDir>
#include <QImageWriter>
#include <exception>

#include "pgf/pgf_reader.h"
#include "screen_layout.h"
#include "screen_renderer.h"

namespace tessavine::pgfview {

QString exportScreen(const QString& fontPath, const QString& pngPath) {
    pgf::PgfFile font;
    try {
        font = pgf::readPgf(pgf::readWholeFile(fontPath.toStdString()));
    } catch (const std::exception& error) {
        return QString("Could not read %1: %2. Name a PGF font file.")
            .arg(QDir::toNativeSeparators(fontPath), QString::fromUtf8(error.what()));
    }
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
