#pragma once

#include <QImage>
#include <QString>

namespace tessavine::pgfview {

// The sample line the screen starts with.
inline constexpr const char* kDefaultSampleText = "Hello, PSP! ÀÉÎÕÜ àéîõü ßç 0123456789";

// Draws the PSP screen of a PGF file at 1×, with the default sample on the dark background, and
// writes it as a PNG, without any window. Returns an empty string on success, else what went
// wrong in words for the user.
QString exportScreen(const QString& fontPath, const QString& pngPath);

// Writes a picture as a PNG: made in memory, then written to a new file beside `pngPath` and
// renamed over it, so a symbolic link at that name is replaced and whatever it led to is left
// untouched. Returns an empty string on success, else what went wrong in words for the user.
QString savePng(const QImage& image, const QString& pngPath);

}  // namespace tessavine::pgfview
