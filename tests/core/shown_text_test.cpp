// Names read from files, as they are printed: nothing a terminal or a label would act on passes,
// and nothing else is changed. Expected texts are written out by hand.
#include <gtest/gtest.h>

#include <string>

#include "core/result_texts.h"
#include "core/shown_text.h"

namespace tessavine {
namespace {

TEST(ShownText, ControlsAndBrokenBytesBecomeVisibleEscapesAndTheRestPasses) {
    struct Case {
        const char* what;
        std::string from;
        std::string shown;
    };
    const Case cases[] = {
        {"plain", "Example.ttf", "Example.ttf"},
        {"other scripts", "\xce\xa9\xe6\x96\x87\xf0\x9f\x98\x80.ttf",
         "\xce\xa9\xe6\x96\x87\xf0\x9f\x98\x80.ttf"},
        {"Windows path", "C:\\PSP\\FONT\\ltn0.pgf", "C:\\PSP\\FONT\\ltn0.pgf"},
        {"markup is text, not a control", "<b>x</b>&amp;", "<b>x</b>&amp;"},
        {"terminal title and bell", "a\x1b]0;owned\x07z", "a\\x1b]0;owned\\x07z"},
        {"clear screen", "\x1b[2J", "\\x1b[2J"},
        {"a faked report line", "x\r\nfont name", "x\\r\\nfont name"},
        {"tab", "a\tb", "a\\tb"},
        {"NUL and the C0 ends", std::string("\0\x01\x1f", 3), "\\x00\\x01\\x1f"},
        {"DEL", "a\x7f", "a\\x7f"},
        {"C1 CSI and NEL", "\xc2\x9b\xc2\x85", "\\u009b\\u0085"},
        {"first printable above C1", "\xc2\xa0\xc3\xa9", "\xc2\xa0\xc3\xa9"},
        {"right-to-left override",
         "gpj.\xe2\x80\xae"
         "exe",
         "gpj.\\u202eexe"},
        {"isolates and separators", "\xe2\x81\xa6\xe2\x81\xa9\xe2\x80\xa8\xe2\x80\xa9",
         "\\u2066\\u2069\\u2028\\u2029"},
        {"zero-width joiner passes",
         "a\xe2\x80\x8d"
         "b",
         "a\xe2\x80\x8d"
         "b"},
        {"stray bytes",
         "a\xff\xfe"
         "b",
         "a\\xff\\xfeb"},
        {"cut sequence then text",
         "\xe6\x96"
         "A",
         "\\xe6\\x96A"},
        {"overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
        {"surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        {"C1 encoded overlong", "\xe0\x82\x9b", "\\xe0\\x82\\x9b"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shownText(c.from), c.shown) << c.what;
    }
}

// The notices name a dropped font file, the PSP's font folder and a backup folder; a name
// holding controls is shown escaped there too (markup needs nothing: the notices are plain text).
TEST(ShownText, TheNoticesShowTheNamesTheyCarryEscaped) {
    const std::string made =
        conversionNotice("a\x1b[2J<b>.ttf", FontCoverage{447, {}}, std::chrono::seconds(1), 0);
    EXPECT_EQ(made.substr(0, made.find('\n')),
              "ltn0.pgf made from a\\x1b[2J<b>.ttf in 1.0 s: 447 characters, none missing.");
    EXPECT_EQ(copyNotice(2, "/media/x\r\nfaked", "/p/backup/b\x07"),
              "2 fonts copied to /media/x\\r\\nfaked.\n"
              "The fonts they replaced are backed up in /p/backup/b\\x07.");
}

}  // namespace
}  // namespace tessavine
