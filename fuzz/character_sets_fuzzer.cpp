// What --chars and --chars-from read: a list of sets, or a text that may not be UTF-8 at all.
// Either ends with a one-line refusal or a sound set: ascending, each code once, every code one a
// PGF font can hold. A list the converter writes back out reads as the same set.
//
// Input: the first byte picks the reader (even: the --chars list, odd: a --chars-from text);
// the rest is what it reads.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz_check.h"
#include "pgf/character_list.h"
#include "pgf/font_sources.h"
#include "pgf/text_characters.h"

namespace {

void checkSound(const std::vector<char32_t>& codes) {
    FUZZ_CHECK(std::adjacent_find(codes.begin(), codes.end(),
                                  [](char32_t a, char32_t b) { return a >= b; }) == codes.end());
    FUZZ_CHECK(std::all_of(codes.begin(), codes.end(), tessavine::pgf::isStorableCharacter));
}

void checkOneLine(const std::string& message) {
    FUZZ_CHECK(!message.empty());
    FUZZ_CHECK(message.find('\n') == std::string::npos);
    FUZZ_CHECK(message.size() < 1000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessavine::pgf;
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        const std::string_view list(reinterpret_cast<const char*>(rest.data()), rest.size());
        const auto result = parseCharacterList(list);
        if (const auto* error = std::get_if<CharacterSetError>(&result)) {
            checkOneLine(error->message);
            return 0;
        }
        const auto& codes = std::get<std::vector<char32_t>>(result);
        checkSound(codes);
        if (!codes.empty()) {
            const auto again = parseCharacterList(describeCharacterRuns(codes, codes.size()));
            FUZZ_CHECK(std::holds_alternative<std::vector<char32_t>>(again));
            FUZZ_CHECK(std::get<std::vector<char32_t>>(again) == codes);
        }
        return 0;
    }
    const auto result = readTextCharacters(rest);
    if (const auto* error = std::get_if<TextError>(&result)) {
        checkOneLine(error->message);
    } else {
        const auto& text = std::get<TextCharacters>(result);
        checkSound(text.characters);
        FUZZ_CHECK(text.characters.size() <= rest.size());
        FUZZ_CHECK(text.beyondSixteenBits == 0 || text.firstBeyond > 0xFFFF);
    }
    // The same bytes as the end of a PGF file: a block of font names is read or ignored.
    if (const auto sources = readFontSources(rest)) {
        for (const FontSource& source : *sources) {
            FUZZ_CHECK(source.name.size() <= 255);
            for (const auto& [first, last] : source.runs) {
                FUZZ_CHECK(first <= last);
            }
        }
    }
    return 0;
}
