#include "screen_layout.h"

#include <algorithm>

#include "east_asian_lines.h"
#include "pgf/firmware_slots.h"
#include "psp_text.h"

namespace tessavine::psp_screen {
namespace {

constexpr int kMargin = 14;
constexpr int kMenuLeft = 24;
constexpr int kMenuWidth = 170;
constexpr int kItemGap = 6;  // system menus leave air between items
constexpr int kDialogPadding = 10;

const std::u32string kMenuItems[] = {
    U"Settings", U"Photo", U"Music", U"Video", U"Game", U"Network", U"Date & Time",
};

const std::u32string kParagraph =
    U"Saving\u2026 Do not remove the memory card or turn off the system. "
    U"Überschreiben? Ça marche à côté. \u00a1Señal! \u00bfAño? Привет, мир! "
    U"The quick brown fox jumps over the lazy dog: 0123456789 \u20ac \u2116 \u2122";

}  // namespace

ReferenceSize firmwareReference(int slot) {
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(slot);
    const int em = static_cast<int>(firmware.emPixels() + 0.5);
    const double ascenderShare =
        static_cast<double>(firmware.maxAscender) / (firmware.maxAscender - firmware.maxDescender);
    return {
        .em = em,
        .ascent = static_cast<int>(em * ascenderShare + 0.5),
        .pitch = roundToPixels(firmware.maxAscender - firmware.maxDescender),
    };
}

ScreenLayout pspScreenLayout(const pgf::PgfFile& font, const std::u32string& sample) {
    ScreenLayout layout;
    const int pitch = linePitch(font.header);
    const int ascent = ascentPixels(font.header);
    const int descent = pitch - ascent;
    const int width = layout.size.width;
    const int height = layout.size.height;

    int baseline = kMargin + ascent;
    layout.runs.push_back({kMargin, baseline, sample});

    // The menu column, under the sample line.
    const int menuTop = baseline + descent + 2 * kMargin;
    const int itemPitch = pitch + kItemGap;
    int itemTop = menuTop;
    for (const std::u32string& item : kMenuItems) {
        if (itemTop + pitch > height - kMargin) {
            break;
        }
        if (item == kMenuItems[0]) {
            layout.panels.push_back(
                {Panel::Kind::Highlight,
                 Rect{kMenuLeft - 6, itemTop - kItemGap / 2, kMenuWidth - 12, itemPitch}});
        }
        layout.runs.push_back({kMenuLeft, itemTop + ascent, item});
        itemTop += itemPitch;
    }

    // The dialog box to the right of the menu, the paragraph wrapped inside it.
    const Rect dialog{kMenuWidth + kMargin, menuTop - kItemGap, width - kMenuWidth - 2 * kMargin,
                      height - menuTop + kItemGap - kMargin};
    layout.panels.push_back({Panel::Kind::Dialog, dialog});
    baseline = dialog.top() + kDialogPadding + ascent;
    // A big font's own script first, then the latin paragraph it also has to show.
    const int lineWidth = dialog.width - 2 * kDialogPadding;
    std::vector<std::u32string> lines;
    for (const std::u32string& line : eastAsianLines(font)) {
        const bool spaced = line.find(U' ') != std::u32string::npos;  // Korean puts spaces
        for (std::u32string& part :
             spaced ? wrapText(font, line, lineWidth) : wrapCharacters(font, line, lineWidth)) {
            lines.push_back(std::move(part));
        }
    }
    for (std::u32string& line : wrapText(font, kParagraph, lineWidth)) {
        lines.push_back(std::move(line));
    }
    for (const std::u32string& line : lines) {
        if (baseline + descent > dialog.bottom() - kDialogPadding / 2) {
            break;
        }
        layout.runs.push_back({dialog.left() + kDialogPadding, baseline, line});
        baseline += pitch;
    }
    return layout;
}

}  // namespace tessavine::psp_screen
