#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/main_controls.h"
#include "ui/key_filter.h"

namespace tessavine {

// The main window and the About window as data, free of any toolkit: every control's kind, name,
// caption, place in twips, colours, limits and rules, the drawing order and the tab order. The Qt
// window and the native Windows window both build themselves from it, so the layout is changed
// in one place only.

// 15 twips make one pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kBaseDpi = 96;

// Twips to pixels at a display's dots per inch, rounded to the nearest pixel, so that every
// control keeps its place relative to the others at any scale.
constexpr int twipsToPixels(int twips, int dpi = kBaseDpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long divisor = static_cast<long long>(kTwipsPerPixel) * kBaseDpi;
    return static_cast<int>((scaled + divisor / 2) / divisor);
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelRect&) const = default;
};

// Left, top, width and height each rounded to the nearest pixel, as the window was designed.
PixelRect toPixels(const TwipsRect& rect, int dpi = kBaseDpi);

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kLightCyan{192, 255, 255};
inline constexpr Rgb kLightYellow{255, 255, 128};
inline constexpr Rgb kLightGreen{192, 255, 192};
inline constexpr Rgb kButtonGreen{128, 255, 128};
inline constexpr Rgb kBlack{0, 0, 0};
// The text of a disabled check box: dark enough to read on the yellow (about 9:1).
inline constexpr Rgb kDisabledGrey{64, 64, 64};

enum class ControlKind {
    picture,       // an image stretched to its rectangle
    label,         // static text on light green
    verticalRule,  // a black line one pixel wide down the rectangle's left edge
    hint,          // a read-only, centred text box on light cyan
    entryField,    // an editable text field: white, blue text, key filter and length limit
    checkBox,      // light yellow, blue text
    button,        // the green Execute button
};

struct ControlDescription {
    ControlKind kind;
    std::string name;       // the control's name; tests find controls by it
    std::string caption{};  // caption, initial text or nothing
    TwipsRect place;
    std::optional<TextField> field{};  // entry fields: the parameter carried
    KeyFilter filter = KeyFilter::none;
    int maxLength = 0;         // entry fields: 0 for no limit of ours
    int slotIndex = -1;        // check boxes of the Check1 group: the index, 0 to 16
    std::string image{};       // pictures: the file in ui/images
    std::string denseImage{};  // pictures: a drawing at twice the resolution, or nothing
    bool enabled = true;
    int initialState = kUnticked;  // check boxes
};

// Every control of the main window's client area, in drawing order: the backdrop first, each
// later control over the earlier ones.
const std::vector<ControlDescription>& mainWindowControls();

// The control of that name, or nothing.
const ControlDescription* findControl(const std::string& name);

// The names of the controls that take the focus, in tab order.
const std::vector<std::string>& mainWindowTabOrder();

struct WindowFrame {
    std::string name;
    std::string caption;
    int clientWidthTwips;
    int clientHeightTwips;
};

inline const WindowFrame kMainWindowFrame{"main", "Tessavine Gui", 6705, 5880};

// The menu bar's one entry.
inline constexpr const char* kAboutMenuName = "About(0)";
inline constexpr const char* kAboutMenuCaption = "About";

// Timer1: its name and the interval Execute arms it with.
inline constexpr const char* kTimerName = "Timer1";
inline constexpr int kTimerInterval = 1000;

// The About window "credits": a read-only text larger than the window, which cuts off the text
// field's right and bottom edges, so its frame shows only along the top and left.
inline const WindowFrame kAboutWindowFrame{"credits", "About this Program", 5745, 1425};
inline constexpr const char* kAboutTextName = "creditsabout1";
inline constexpr TwipsRect kAboutTextPlace{0, 0, 5775, 2295};
inline constexpr const char* kAboutText =
    "About This Program\n"
    "\n"
    "This program allows you to easily convert any font file\n"
    "for use as a modded font for any version of psp.\n";

}  // namespace tessavine
