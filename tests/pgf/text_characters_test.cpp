// --chars-from's reading of a text: strict UTF-8, said where it breaks.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "pgf/text_characters.h"

namespace tessavine::pgf {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(TextCharacters, KeepsWhatAFontCanShowAndCountsWhatItCannot) {
    // A BOM, Greek with a combining acute, CR LF and tabs, an emoji and a Gothic letter (both
    // surrogate pairs in UTF-16, four bytes in UTF-8) on line 2, and a repeated letter.
    const std::string text =
        "\xEF\xBB\xBF"
        "\xCE\xB1\xCC\x81\tb\r\n"
        "a\xF0\x9F\x98\x80z\xF0\x90\x8C\xB0\x7F\n"
        "\xC2\x85\xE2\x86\x92 a";
    const auto result = readTextCharacters(bytes(text));
    const auto* read = std::get_if<TextCharacters>(&result);
    ASSERT_NE(read, nullptr) << std::get<TextError>(result).message;
    // α, the combining acute U+0301, b, a, z, →, space; no BOM, tab, CR, LF, DEL or NEL.
    EXPECT_EQ(read->characters,
              (std::vector<char32_t>{U' ', U'a', U'b', U'z', 0x301, 0x3B1, 0x2192}));
    EXPECT_EQ(read->beyondSixteenBits, 2u);
    EXPECT_EQ(read->firstBeyond, char32_t{0x1F600});
    EXPECT_EQ(read->firstBeyondLine, 2u);
}

TEST(TextCharacters, RefusesWhatIsNotUtf8SayingWhere) {
    const std::pair<std::string, const char*> cases[] = {
        {"ab\n\xFF", "byte 3 (line 2)"},                   // no lead byte
        {"a\n\nb\xC3", "byte 4 (line 3)"},                 // cut at the end
        {"\xC3(x", "byte 0 (line 1)"},                     // cut by an ASCII byte
        {"\xC0\xAF", "byte 0 (line 1)"},                   // overlong "/"
        {"ok\xE0\x80\xAF", "byte 2 (line 1)"},             // overlong, three bytes
        {"x\xED\xA0\xBD\xED\xB8\x80", "byte 1 (line 1)"},  // CESU-8 surrogate pair
        {"\xF4\x90\x80\x80", "byte 0 (line 1)"},           // beyond U+10FFFF
        {"\xEF\xBB\xBF\xEF\xBB", "byte 3 (line 1)"},       // a BOM, then a cut one
        {"latin-1 caf\xE9\n", "byte 11 (line 1)"},         // a text saved as Latin-1
    };
    for (const auto& [text, where] : cases) {
        const auto result = readTextCharacters(bytes(text));
        const auto* error = std::get_if<TextError>(&result);
        ASSERT_NE(error, nullptr) << text;
        EXPECT_NE(error->message.find(where), std::string::npos) << error->message;
        EXPECT_EQ(error->message.find('\n'), std::string::npos);
    }
    // An empty text and a lone BOM are fine and hold nothing.
    for (const std::string text : {"", "\xEF\xBB\xBF", "\r\n\t"}) {
        const auto result = readTextCharacters(bytes(text));
        ASSERT_TRUE(std::holds_alternative<TextCharacters>(result));
        EXPECT_TRUE(std::get<TextCharacters>(result).characters.empty());
    }
}

}  // namespace
}  // namespace tessavine::pgf
