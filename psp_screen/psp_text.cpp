#include "psp_text.h"

#include <algorithm>

namespace tessavine::psp_screen {

const pgf::PgfGlyph* glyphFor(const pgf::PgfFile& font, char32_t code) {
    auto index = font.glyphIndexOf(code);
    if (!index) {
        index = font.glyphIndexOf(kSubstituteCharacter);
    }
    return index && *index < font.glyphs.size() ? &font.glyphs[*index] : nullptr;
}

int roundToPixels(std::int32_t value26dot6) {
    const std::int64_t value = value26dot6;
    return static_cast<int>(value >= 0 ? (value + 32) / 64 : -((-value + 32) / 64));
}

int advancePixels(const pgf::PgfGlyph& glyph) {
    return std::clamp(roundToPixels(glyph.metrics.advance.horizontal), -kMostPixels, kMostPixels);
}

int linePitch(const pgf::PgfHeader& header) {
    // In 64 bits: a damaged header may hold values whose difference leaves 32 bits.
    const std::int64_t pitch = (static_cast<std::int64_t>(header.maxAscender) -
                                static_cast<std::int64_t>(header.maxDescender) + 32) /
                               64;
    return static_cast<int>(std::clamp<std::int64_t>(pitch, 1, kMostPixels));
}

int ascentPixels(const pgf::PgfHeader& header) {
    return std::clamp(roundToPixels(header.maxAscender), 0, kMostPixels);
}

int shadowMagnification(const pgf::PgfHeader& header) {
    // A scale outside 1..64 says nothing sensible; draw the shadow at the usual half resolution.
    if (header.shadowScaleX <= 0 || header.shadowScaleX > 64) {
        return 2;
    }
    return std::min(kMostShadowMagnification, 64 / header.shadowScaleX);
}

int textWidth(const pgf::PgfFile& font, const std::u32string& text) {
    int width = 0;
    for (const char32_t c : text) {
        if (const pgf::PgfGlyph* glyph = glyphFor(font, c)) {
            width += advancePixels(*glyph);
        }
    }
    return width;
}

std::vector<std::u32string> wrapText(const pgf::PgfFile& font, const std::u32string& text,
                                     int width) {
    std::vector<std::u32string> lines;
    std::u32string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(U' ', start);
        if (end == std::u32string::npos) {
            end = text.size();
        }
        const std::u32string word = text.substr(start, end - start);
        const std::u32string candidate = line.empty() ? word : line + U' ' + word;
        if (!line.empty() && textWidth(font, candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        start = end + 1;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::u32string> wrapCharacters(const pgf::PgfFile& font, const std::u32string& text,
                                           int width) {
    std::vector<std::u32string> lines;
    std::u32string line;
    for (const char32_t code : text) {
        std::u32string candidate = line + code;
        if (!line.empty() && textWidth(font, candidate) > width) {
            lines.push_back(line);
            line.clear();
            if (code == U' ' || code == U'\u3000') {
                continue;  // a space that ends a line is not carried to the next
            }
            candidate = std::u32string(1, code);
        }
        line = std::move(candidate);
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

CoverageCanvas::CoverageCanvas(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      ink_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      shadow_(ink_.size()) {}

void CoverageCanvas::add(std::vector<std::uint8_t>& plane, int x, int y, std::uint8_t level) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || level == 0) {
        return;
    }
    std::uint8_t& pixel = plane[index(x, y)];
    pixel = static_cast<std::uint8_t>(std::min(255, pixel + level * 17));
}

void CoverageCanvas::drawGlyph(const pgf::PgfFile& font, const pgf::PgfGlyph& glyph, int x,
                               int baseline) {
    // The shadow is stored at reduced resolution, its placement in shadow pixels too.
    const pgf::GlyphImage& shadow = glyph.shadow;
    const int scale = shadowMagnification(font.header);
    for (int row = 0; row < shadow.height; ++row) {
        for (int column = 0; column < shadow.width; ++column) {
            const std::uint8_t level = shadow.at(column, row);
            if (level == 0) {
                continue;
            }
            const int left = x + (shadow.left + column) * scale;
            const int top = baseline + (row - shadow.top) * scale;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    add(shadow_, left + dx, top + dy, level);
                }
            }
        }
    }
    const pgf::GlyphImage& image = glyph.image;
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            add(ink_, x + image.left + column, baseline - image.top + row, image.at(column, row));
        }
    }
}

int CoverageCanvas::drawText(const pgf::PgfFile& font, int x, int baseline,
                             const std::u32string& text) {
    for (const char32_t c : text) {
        if (const pgf::PgfGlyph* glyph = glyphFor(font, c)) {
            drawGlyph(font, *glyph, x, baseline);
            x += advancePixels(*glyph);
        }
    }
    return x;
}

}  // namespace tessavine::psp_screen
