#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geometry.h"
#include "pgf/pgf_reader.h"

namespace tessavine::psp_screen {

inline constexpr Size kPspScreen{480, 272};

// One line of text: the pen starts at x on the baseline.
struct TextRun {
    int x = 0;
    int baseline = 0;
    std::u32string text;
};

struct Panel {
    enum class Kind { Dialog, Highlight };
    Kind kind = Kind::Dialog;
    Rect rect;
};

// The size of the firmware's own font, to hold a replacement against: its em box and the
// distance between its baselines, in pixels.
struct ReferenceSize {
    int em = 0;
    int ascent = 0;  // rows of the em box above the baseline
    int pitch = 0;
};

// What goes on the screen, in screen pixels; panels are drawn first, then the text.
struct ScreenLayout {
    Size size = kPspScreen;
    std::vector<Panel> panels;
    std::vector<TextRun> runs;
    // With a value, every run gets an outline of the reference em box and a mark where the
    // reference font's next baseline would be.
    std::optional<ReferenceSize> reference;
};

// The size of firmware slot `slot` (0 to 15) in screen pixels.
ReferenceSize firmwareReference(int slot);

// A screen as the PSP's own menus look: the user's sample line at the top, a column of short menu
// items with the first one highlighted, and a paragraph in a dialog box, all spaced by the font's
// line pitch.
ScreenLayout pspScreenLayout(const pgf::PgfFile& font, const std::u32string& sample);

}  // namespace tessavine::psp_screen
