// The East Asian sets against the C library's own codecs: every valid two-byte code of EUC-JP,
// CP932, EUC-CN, Big5 and EUC-KR decoded here through iconv, so a table that lost a row, gained
// a code or was packed wrongly disagrees with the codec.

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "pgf/named_character_sets.h"
#include "pgf/packed_code_runs.h"

namespace tessavine::pgf {
namespace {

using Codes = std::vector<char32_t>;

struct ByteRange {
    int first;
    int last;
};

// Each code point a two-byte sequence of the codec decodes to alone, private use left out.
Codes decodeEveryPair(const char* codec, std::initializer_list<ByteRange> leads,
                      std::initializer_list<ByteRange> trails) {
    const iconv_t cd = iconv_open("UTF-32LE", codec);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "the C library has no " << codec << " codec";
        return {};
    }
    Codes codes;
    for (const ByteRange lead : leads) {
        for (int l = lead.first; l <= lead.last; ++l) {
            for (const ByteRange trail : trails) {
                for (int t = trail.first; t <= trail.last; ++t) {
                    std::array<char, 2> in{static_cast<char>(l), static_cast<char>(t)};
                    std::array<char, 16> out{};
                    char* inPointer = in.data();
                    char* outPointer = out.data();
                    std::size_t inLeft = in.size();
                    std::size_t outLeft = out.size();
                    iconv(cd, nullptr, nullptr, nullptr, nullptr);
                    const std::size_t done = iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft);
                    if (done == static_cast<std::size_t>(-1) || inLeft != 0 ||
                        out.size() - outLeft != 4) {
                        continue;
                    }
                    char32_t code = 0;
                    std::memcpy(&code, out.data(), 4);
                    if (code < 0xE000 || code > 0xF8FF) {
                        codes.push_back(code);
                    }
                }
            }
        }
    }
    iconv_close(cd);
    return codes;
}

Codes block(char32_t first, char32_t last) {
    Codes codes;
    for (char32_t c = first; c <= last; ++c) {
        codes.push_back(c);
    }
    return codes;
}

// ○ × △ □ ◯ ● ▲ ■ and ← ↑ → ↓, written out as a user would type them.
Codes buttons() {
    std::u32string signs = U"○×△□◯●▲■←↑→↓";
    std::sort(signs.begin(), signs.end());
    return {signs.begin(), signs.end()};
}

Codes joined(std::initializer_list<Codes> parts) {
    Codes all;
    for (const Codes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

constexpr ByteRange kEuc{0xA1, 0xFE};

Codes jis0208() {
    return decodeEveryPair("EUC-JP", {kEuc}, {kEuc});
}

struct SetCase {
    const char* name;
    Codes expected;
    std::size_t smallest;  // the standard's own count, so an empty codec cannot pass
    std::size_t largest;
};

TEST(EastAsianSets, HoldExactlyWhatTheCodecsDecodePlusTheButtons) {
    const SetCase cases[] = {
        {"jis0208", joined({jis0208(), buttons()}), 6879, 6879},
        {"japanese",
         joined(
             {jis0208(),
              decodeEveryPair("CP932", {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}}),
              block(0x20, 0x7E), block(0xFF61, 0xFF9F), buttons()}),
         7400, 7600},
        {"gb2312", joined({decodeEveryPair("EUC-CN", {kEuc}, {kEuc}), buttons()}), 7445, 7460},
        {"big5", joined({decodeEveryPair("BIG5", {{0xA1, 0xF9}}, {{0x40, 0x7E}, kEuc}), buttons()}),
         13060, 13510},
        {"ksx1001", joined({decodeEveryPair("EUC-KR", {kEuc}, {kEuc}), buttons()}), 8224, 8240},
        {"hangul", joined({block(0xAC00, 0xD7A3), buttons()}), 11172 + 12, 11172 + 12},
        {"kana", joined({block(0x3041, 0x3096), block(0x3099, 0x30FF), buttons()}), 86 + 103 + 12,
         86 + 103 + 12},
        {"cjk-punctuation", joined({block(0x3000, 0x303F), buttons()}), 76, 76},
        {"fullwidth", joined({block(0xFF00, 0xFFEF), buttons()}), 252, 252},
        {"buttons", buttons(), 12, 12},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Codes got = namedCharacterSet(c.name);
        EXPECT_GE(got.size(), c.smallest);
        EXPECT_LE(got.size(), c.largest);
        EXPECT_EQ(got.size(), c.expected.size());
        // The first difference, to name it rather than print thousands of codes.
        const auto [mine, theirs] =
            std::mismatch(got.begin(), got.end(), c.expected.begin(), c.expected.end());
        if (mine != got.end() || theirs != c.expected.end()) {
            ADD_FAILURE() << "first difference: set has U+" << std::hex
                          << (mine != got.end() ? static_cast<unsigned>(*mine) : 0u)
                          << ", codec gives U+"
                          << (theirs != c.expected.end() ? static_cast<unsigned>(*theirs) : 0u);
        }
    }
}

TEST(PackedCodeRuns, DamagedTextIsRefusedNotMisread) {
    // "ba": a gap of one, a run of one code; "A" alone is a number without its last digit.
    EXPECT_EQ(unpackCodeRuns("ba"), Codes{1});
    EXPECT_EQ(unpackCodeRuns("aabb"), (Codes{0, 2, 3}));
    for (const char* damaged : {"A", "a", "a!", "BBBBBa"}) {
        SCOPED_TRACE(damaged);
        EXPECT_THROW(unpackCodeRuns(damaged), std::invalid_argument);
    }
}

}  // namespace
}  // namespace tessavine::pgf
