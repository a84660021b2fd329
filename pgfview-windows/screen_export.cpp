#include "screen_export.h"

#include <stdexcept>

#include "core/file_platform.h"
#include "core/utf8.h"
#include "pgfinfo/png_file.h"
#include "pgfview_shared/font_reading.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"

namespace tessavine::pgfview_windows {

std::string savePicture(const psp_screen::RgbaImage& picture, const std::filesystem::path& png) {
    try {
        pgfinfo::writePng(png, picture);
    } catch (const std::runtime_error& error) {
        return std::string(error.what()) + ". Choose another folder or name.";
    }
    return {};
}

std::string exportScreen(const std::filesystem::path& font, const std::filesystem::path& png) {
    const pgfview_shared::FontRead read = pgfview_shared::readFontFile(font);
    if (!read.font) {
        return "Could not read " + platform::utf8FromPath(font) + ": " + read.problem +
               ". Name a PGF font file.";
    }
    const psp_screen::ScreenLayout layout =
        psp_screen::pspScreenLayout(*read.font, decodeUtf8(kDefaultSampleText));
    return savePicture(psp_screen::renderScreen(*read.font, layout, psp_screen::darkPalette()),
                       png);
}

}  // namespace tessavine::pgfview_windows
