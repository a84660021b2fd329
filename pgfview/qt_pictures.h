#pragma once

#include <QImage>
#include <span>
#include <vector>

#include "pgf/pgf_reader.h"
#include "psp_screen/character_table.h"
#include "psp_screen/rgba_image.h"
#include "psp_screen/screen_layout.h"
#include "psp_screen/screen_renderer.h"

namespace tessavine::pgfview {

// The shared drawing's pictures as Qt images, for the window to show and save.
QImage toQImage(const psp_screen::RgbaImage& picture);

QImage screenImage(const pgf::PgfFile& font, const psp_screen::ScreenLayout& layout,
                   const psp_screen::Palette& palette);
QImage characterTableImage(const pgf::PgfFile& font,
                           std::span<const psp_screen::TableEntry> entries,
                           const psp_screen::Palette& palette);

// Each pixel becomes a factor × factor block, so pixels stay pixels.
QImage magnify(const QImage& image, int factor);

}  // namespace tessavine::pgfview
