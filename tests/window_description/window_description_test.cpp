// The window's description, which both front ends build from, against the window as it was
// designed (places in twips, captions, limits and rules written out here by hand), and the
// conversion between UTF-8 and the UTF-16 of Windows' wide text.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/utf16.h"
#include "ui/window_description.h"
#include "windows/exit_status.h"

namespace tessavine {
namespace {

struct Expected {
    const char* name;
    ControlKind kind;
    const char* caption;
    TwipsRect place;
    KeyFilter filter;
    int maxLength;
};

TEST(WindowDescription, ControlsStandWhereTheWindowWasDesigned) {
    const Expected rows[] = {
        {"fontname1",
         ControlKind::entryField,
         "Example.ttf or Example2.otf",
         {480, 1560, 5775, 285},
         KeyFilter::none,
         0},
        {"height1",
         ControlKind::entryField,
         "24",
         {2280, 2280, 615, 285},
         KeyFilter::wholeNumber,
         3},
        {"horizontal1",
         ControlKind::entryField,
         "0.8",
         {2280, 2640, 615, 285},
         KeyFilter::decimal,
         4},
        {"advance1", ControlKind::entryField, "0.8", {2280, 3000, 615, 285}, KeyFilter::decimal, 4},
        {"blur1", ControlKind::entryField, "2.5", {2280, 3360, 615, 285}, KeyFilter::decimal, 3},
        {"intensity1",
         ControlKind::entryField,
         "1.2",
         {2280, 3720, 615, 285},
         KeyFilter::decimal,
         3},
        {"Label1(6)",
         ControlKind::label,
         "Advance Scaling Amt.",
         {480, 3000, 1815, 285},
         KeyFilter::none,
         0},
        {"Text4", ControlKind::hint, "0.25 to 2.0", {2880, 2640, 855, 285}, KeyFilter::none, 0},
        {"Text9",
         ControlKind::hint,
         "Or Tick to Create all PGF",
         {4080, 4320, 2175, 285},
         KeyFilter::none,
         0},
        {"bold1", ControlKind::checkBox, "Embolden?", {2280, 4320, 1425, 285}, KeyFilter::none, 0},
        {"Check1(0)",
         ControlKind::checkBox,
         "ltn0.pgf",
         {4080, 2280, 975, 255},
         KeyFilter::none,
         0},
        {"Check1(7)",
         ControlKind::checkBox,
         "ltn7.pgf",
         {4080, 3960, 975, 255},
         KeyFilter::none,
         0},
        {"Check1(8)",
         ControlKind::checkBox,
         "ltn8.pgf",
         {5280, 2280, 975, 255},
         KeyFilter::none,
         0},
        {"Check1(15)",
         ControlKind::checkBox,
         "ltn15.pgf",
         {5280, 3960, 975, 255},
         KeyFilter::none,
         0},
        {"Check1(16)",
         ControlKind::checkBox,
         "Create All PGF (ltn0-ltn15)",
         {4080, 4680, 2175, 285},
         KeyFilter::none,
         0},
        {"Command1", ControlKind::button, "Execute", {480, 5160, 5775, 375}, KeyFilter::none, 0},
        {"Image1", ControlKind::picture, "", {0, 0, 6645, 1380}, KeyFilter::none, 0},
        {"Line1", ControlKind::verticalRule, "", {3960, 1920, 0, 3040}, KeyFilter::none, 0},
    };
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.name);
        const ControlDescription* control = findControl(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind, row.kind);
        EXPECT_EQ(control->caption, row.caption);
        EXPECT_EQ(control->place.left, row.place.left);
        EXPECT_EQ(control->place.top, row.place.top);
        EXPECT_EQ(control->place.width, row.place.width);
        EXPECT_EQ(control->place.height, row.place.height);
        EXPECT_EQ(control->filter, row.filter);
        EXPECT_EQ(control->maxLength, row.maxLength);
    }
    EXPECT_EQ(findControl("Check1(17)"), nullptr);
    EXPECT_EQ(findControl("Label1(8)"), nullptr);
}

TEST(WindowDescription, EveryControlOnceAndEachFieldCarriesItsOwnParameter) {
    const auto& controls = mainWindowControls();
    // 2 pictures, 8 labels, 2 rules, 8 hints, 6 fields, 2 style boxes, 17 slot boxes, 1 button.
    EXPECT_EQ(controls.size(), 46u);
    std::set<std::string> names;
    std::set<TextField> fields;
    std::set<int> slots;
    for (const ControlDescription& control : controls) {
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
        EXPECT_EQ(control.field.has_value(), control.kind == ControlKind::entryField);
        if (control.field) {
            EXPECT_TRUE(fields.insert(*control.field).second);
        }
        if (control.slotIndex >= 0) {
            EXPECT_EQ(control.name, "Check1(" + std::to_string(control.slotIndex) + ")");
            slots.insert(control.slotIndex);
        }
        // Only Check1(0) is fixed: ticked and out of the user's reach.
        const bool fixed = control.name == "Check1(0)";
        EXPECT_EQ(control.enabled, !fixed) << control.name;
        EXPECT_EQ(control.initialState, fixed ? kTicked : kUnticked) << control.name;
    }
    EXPECT_EQ(fields.size(), 6u);
    EXPECT_EQ(slots.size(), 17u);
    // Drawing order: the backdrop under everything, the field over the label it overlaps.
    EXPECT_EQ(controls.front().name, "bgimage1");
    EXPECT_EQ(controls.back().name, "Command1");
    const auto at = [&](const char* name) {
        return std::find_if(controls.begin(), controls.end(),
                            [&](const ControlDescription& c) { return c.name == name; });
    };
    EXPECT_LT(at("Image1"), at("Label1(0)"));
    EXPECT_LT(at("Label1(0)"), at("fontname1"));
    EXPECT_EQ(findControl("Image1")->denseImage, "banner@2x.png");
    EXPECT_EQ(findControl("bgimage1")->image, "background.jpg");
}

TEST(WindowDescription, TabOrderVisitsEveryFocusableControlOnceInTheDesignedOrder) {
    const auto& order = mainWindowTabOrder();
    const std::vector<std::string> start = {
        "intensity1", "blur1",     "horizontal1", "height1",   "Command1", "bold1", "fontname1",
        "italicize1", "advance1",  "Text2",       "Text3",     "Text4",    "Text5", "Text6",
        "Text7",      "Check1(0)", "Text8",       "Check1(1)", "Check1(2)"};
    ASSERT_GE(order.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), order.begin()));
    EXPECT_EQ(order[order.size() - 3], "Check1(15)");
    EXPECT_EQ(order[order.size() - 2], "Text9");
    EXPECT_EQ(order.back(), "Check1(16)");
    std::set<std::string> focusable;
    for (const ControlDescription& control : mainWindowControls()) {
        if (control.kind == ControlKind::entryField || control.kind == ControlKind::hint ||
            control.kind == ControlKind::checkBox || control.kind == ControlKind::button) {
            focusable.insert(control.name);
        }
    }
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()), focusable);
    EXPECT_EQ(order.size(), focusable.size());
}

TEST(WindowDescription, TwipsScaleEvenlyWithTheScreensDotsPerInch) {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    // 1440 twips are an inch: twips * dpi / 1440, to the nearest pixel (halves upwards).
    const Case cases[] = {{6705, 96, 447}, {5880, 96, 392},  {285, 96, 19},  {7, 96, 0},
                          {8, 96, 1},      {6705, 144, 671}, {285, 144, 29}, {6705, 192, 894},
                          {285, 192, 38},  {5880, 120, 490}, {1, 192, 0},    {4, 192, 1},
                          {0, 288, 0},     {375, 288, 75}};
    for (const Case& c : cases) {
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
    EXPECT_EQ(toPixels({480, 5160, 5775, 375}, 192), (PixelRect{64, 688, 770, 50}));
    EXPECT_EQ(toPixels({2280, 2640, 615, 285}), (PixelRect{152, 176, 41, 19}));
}

TEST(WideText, Utf8AndUtf16CarryEveryCharacterBothWays) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"Example.ttf", u"Example.ttf"},
        {"Schrift \xc3\x9f \xc3\xa9.ttf", u"Schrift \u00df \u00e9.ttf"},
        {"\xe5\xad\x97\xe4\xbd\x93 \xe2\x9c\x93", u"\u5b57\u4f53 \u2713"},
        {"\xf0\x9f\x98\x80", std::u16string{char16_t(0xD83D), char16_t(0xDE00)}},
        {"\xf4\x8f\xbf\xbf", std::u16string{char16_t(0xDBFF), char16_t(0xDFFF)}},
        {"\xef\xbf\xbf", u"\uffff"},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(utf16FromUtf8(utf8), utf16) << utf8;
        EXPECT_EQ(utf8FromUtf16(utf16), utf8) << utf8;
    }
    // A path far beyond the old limit of 260 characters survives the round trip whole; each folder
    // name is 12 bytes of UTF-8 and 9 units of UTF-16.
    std::string longPath = "C:\\";
    while (longPath.size() < 1000) {
        longPath += "F\xc3\xb6lder \xe2\x9c\x93\\";
    }
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(longPath)), longPath);
    EXPECT_EQ(utf16FromUtf8(longPath).size(), 3 + (longPath.size() - 3) / 12 * 9);
}

TEST(WideText, WhatIsNotWellFormedBecomesTheReplacementCharacter) {
    const std::u16string replacement = u"\ufffd";
    EXPECT_EQ(utf16FromUtf8("a\xff"), u"a" + replacement);
    EXPECT_EQ(utf16FromUtf8("\xed\xa0\x80"), replacement + replacement + replacement);
    const std::string utf8Replacement = "\xef\xbf\xbd";
    EXPECT_EQ(utf8FromUtf16(std::u16string{char16_t(0xD800)}), utf8Replacement);
    EXPECT_EQ(utf8FromUtf16(std::u16string{char16_t(0xDC00), u'a'}), utf8Replacement + "a");
    EXPECT_EQ(utf8FromUtf16(std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}),
              utf8Replacement + "\xf0\x90\x80\x80");
}

TEST(ExitStatus, OnlyTheStatusOfAnUnhandledExceptionCountsAsACrash) {
    // Codes a converter returns itself (exit(1), exit(-1) = 0xFFFFFFFF) against the statuses
    // Windows leaves for a process an exception ended, at both ends of their range.
    const std::pair<std::uint32_t, bool> cases[] = {
        {0, false},          {1, false},          {255, false},         {0x7FFFFFFFu, false},
        {0x80000000u, true}, {0x80000003u, true}, {0xC0000005u, true},  {0xC00000FDu, true},
        {0xC0000409u, true}, {0xCFFFFFFFu, true}, {0xD0000000u, false}, {0xFFFFFFFFu, false}};
    for (const auto& [code, crash] : cases) {
        EXPECT_EQ(isCrashExitCode(code), crash) << std::hex << code;
    }
}

}  // namespace
}  // namespace tessavine
