#include "ui/window_description.h"

#include <algorithm>

#include "ui/initial_texts.h"

namespace tessavine {

namespace {

ControlDescription label(const char* name, const char* text, TwipsRect place) {
    return {.kind = ControlKind::label, .name = name, .caption = text, .place = place};
}

ControlDescription hint(const char* name, const char* text, TwipsRect place) {
    return {.kind = ControlKind::hint, .name = name, .caption = text, .place = place};
}

ControlDescription entryField(TextField field, const char* name, KeyFilter filter, int maxLength,
                              TwipsRect place) {
    return {.kind = ControlKind::entryField,
            .name = name,
            .caption = initialText(field),
            .place = place,
            .field = field,
            .filter = filter,
            .maxLength = maxLength};
}

ControlDescription checkBox(const char* name, const char* caption, TwipsRect place) {
    return {.kind = ControlKind::checkBox, .name = name, .caption = caption, .place = place};
}

// A rule from the top to the bottom edge given in twips; its width is the one pixel it draws.
ControlDescription verticalRule(const char* name, int left, int top, int bottom) {
    return {.kind = ControlKind::verticalRule, .name = name, .place = {left, top, 0, bottom - top}};
}

TwipsRect slotBoxPlace(int index) {
    if (index == kCreateAllBox) {
        return {4080, 4680, 2175, 285};
    }
    const int column = index / 8;
    const int row = index % 8;
    return {4080 + 1200 * column, 2280 + 240 * row, 975, 255};
}

std::vector<ControlDescription> describeMainWindow() {
    std::vector<ControlDescription> controls = {
        {.kind = ControlKind::picture,
         .name = "bgimage1",
         .place = {0, 0, 6720, 5880},
         .image = "background.jpg"},
        // On a display scaled above 100 % the banner's drawing at twice the resolution keeps
        // its lettering sharp.
        {.kind = ControlKind::picture,
         .name = "Image1",
         .place = {0, 0, 6645, 1380},
         .image = "banner.gif",
         .denseImage = "banner@2x.png"},
        // Label1(0) overlaps the banner's bottom edge and is drawn over it.
        label("Label1(0)", "Enter the Font Name below including the extension. (.ttf or .otf)",
              {480, 1320, 5775, 285}),
        label("Label1(1)", "Font Scale", {480, 2280, 1815, 285}),
        label("Label1(3)", "Horizontal Width", {480, 2640, 1815, 285}),
        label("Label1(6)", "Advance Scaling Amt.", {480, 3000, 1815, 285}),
        label("Label1(4)", "Shadow Blurring Amt.", {480, 3360, 1815, 285}),
        label("Label1(7)", "Shadow Intensity", {480, 3720, 1815, 285}),
        label("Label1(2)", "Bold", {480, 4320, 1695, 285}),
        label("Label1(5)", "Italics", {480, 4680, 1695, 285}),
        verticalRule("Line2", 3840, 1920, 4960),
        verticalRule("Line1", 3960, 1920, 4960),
        hint("Text2", "0.1 to 4.0", {2880, 3360, 855, 285}),
        hint("Text3", "0.0 to 4.0", {2880, 3720, 855, 285}),
        hint("Text4", "0.25 to 2.0", {2880, 2640, 855, 285}),
        hint("Text5", "0.25 to 2.0", {2880, 3000, 855, 285}),
        hint("Text6", "8 Upwards", {2880, 2280, 855, 285}),
        hint("Text7", "Range", {2880, 1920, 855, 285}),
        hint("Text8", "Tick to Create each PGF", {4080, 1920, 2175, 285}),
        hint("Text9", "Or Tick to Create all PGF", {4080, 4320, 2175, 285}),
        entryField(TextField::fontname1, "fontname1", KeyFilter::none, 0, {480, 1560, 5775, 285}),
        entryField(TextField::height1, "height1", KeyFilter::wholeNumber, 3,
                   {2280, 2280, 615, 285}),
        entryField(TextField::horizontal1, "horizontal1", KeyFilter::decimal, 4,
                   {2280, 2640, 615, 285}),
        entryField(TextField::advance1, "advance1", KeyFilter::decimal, 4, {2280, 3000, 615, 285}),
        entryField(TextField::blur1, "blur1", KeyFilter::decimal, 3, {2280, 3360, 615, 285}),
        entryField(TextField::intensity1, "intensity1", KeyFilter::decimal, 3,
                   {2280, 3720, 615, 285}),
        checkBox("bold1", "Embolden?", {2280, 4320, 1425, 285}),
        checkBox("italicize1", "Italicize?", {2280, 4680, 1425, 285}),
    };
    for (int index = 0; index <= kSlotCount; ++index) {
        ControlDescription box = checkBox("", "", slotBoxPlace(index));
        box.name = "Check1(" + std::to_string(index) + ")";
        box.caption = index == kCreateAllBox ? std::string("Create All PGF (ltn0-ltn15)")
                                             : "ltn" + std::to_string(index) + ".pgf";
        box.slotIndex = index;
        // Slot 0 is what the converter itself writes: always produced, so not the user's choice.
        if (index == 0) {
            box.initialState = kTicked;
            box.enabled = false;
        }
        controls.push_back(box);
    }
    controls.push_back({.kind = ControlKind::button,
                        .name = "Command1",
                        .caption = "Execute",
                        .place = {480, 5160, 5775, 375}});
    return controls;
}

std::vector<std::string> describeTabOrder() {
    std::vector<std::string> order = {
        "intensity1", "blur1",      "horizontal1", "height1",   "Command1", "bold1",
        "fontname1",  "italicize1", "advance1",    "Text2",     "Text3",    "Text4",
        "Text5",      "Text6",      "Text7",       "Check1(0)", "Text8",
    };
    for (int index = 1; index < kSlotCount; ++index) {
        order.push_back("Check1(" + std::to_string(index) + ")");
    }
    order.emplace_back("Text9");
    order.push_back("Check1(" + std::to_string(kCreateAllBox) + ")");
    return order;
}

}  // namespace

PixelRect toPixels(const TwipsRect& rect, int dpi) {
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi),
            twipsToPixels(rect.width, dpi), twipsToPixels(rect.height, dpi)};
}

const std::vector<ControlDescription>& mainWindowControls() {
    static const std::vector<ControlDescription> controls = describeMainWindow();
    return controls;
}

const ControlDescription* findControl(const std::string& name) {
    const auto& controls = mainWindowControls();
    const auto found =
        std::find_if(controls.begin(), controls.end(),
                     [&name](const ControlDescription& c) { return c.name == name; });
    return found == controls.end() ? nullptr : &*found;
}

const std::vector<std::string>& mainWindowTabOrder() {
    static const std::vector<std::string> order = describeTabOrder();
    return order;
}

}  // namespace tessavine
