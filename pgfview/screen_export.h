#pragma once

#include <QString>

namespace tessavine::pgfview {

// The sample line the screen starts with.
inline constexpr const char* kDefaultSampleText = "Hello, PSP! ÀÉÎÕÜ àéîõü ßç 0123456789";

// Draws the PSP screen of a PGF file at 1×, with the default sample on the dark background, and
// writes it as a PNG, without any window. Returns an empty string on success, else what went
// wrong in words for the user.
QString exportScreen(const QString& fontPath, const QString& pngPath);

}  // namespace tessavine::pgfview
