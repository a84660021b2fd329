#include "font_file.h"

#include "core/file_platform.h"
#include "pgfview_shared/font_reading.h"

namespace tessavine::pgfview {

FontFileRead readFontFile(const QString& path) {
    pgfview_shared::FontRead read =
        pgfview_shared::readFontFile(platform::pathFromUtf8(path.toStdString()));
    FontFileRead result;
    result.font = std::move(read.font);
    result.problem = QString::fromStdString(read.problem);
    result.bytes = read.bytes;
    return result;
}

}  // namespace tessavine::pgfview
