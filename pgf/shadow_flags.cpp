#include "shadow_flags.h"

#include <algorithm>
#include <array>

namespace tessavine::pgf {
namespace {

constexpr ShadowFlags kLetter{2, 2, 1};
constexpr ShadowFlags kDigit{2, 2, 2};
constexpr ShadowFlags kFraction{0, 0, 2};
constexpr ShadowFlags kClosing{2, 0, 6};
constexpr ShadowFlags kOpening{0, 2, 6};
constexpr ShadowFlags kStraightQuote{2, 2, 6};
constexpr ShadowFlags kMarkLike{2, 1, 6};
constexpr ShadowFlags kSymbol{0, 0, 6};
constexpr ShadowFlags kModifier{0, 0, 1};

template <std::size_t N>
bool isOneOf(char32_t code, const std::array<char32_t, N>& codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool isLetter(char32_t code) {
    if ((code >= U'A' && code <= U'Z') || (code >= U'a' && code <= U'z')) {
        return true;
    }
    if (code >= 0x00C0 && code <= 0x00FF) {
        return code != 0x00D7 && code != 0x00F7;  // × and ÷ are symbols
    }
    if (code == 0x00AA || code == 0x00B5 || code == 0x00BA) {
        return true;
    }
    return (code >= 0x0100 && code <= 0x024F) || (code >= 0x0400 && code <= 0x04FF);
}

}  // namespace

ShadowFlags shadowFlagsFor(char32_t code) {
    static constexpr std::array<char32_t, 6> fractions{0x00B2, 0x00B3, 0x00B9,
                                                       0x00BC, 0x00BD, 0x00BE};
    static constexpr std::array<char32_t, 12> closing{U' ', U'!', U'%', U')', U',', U'.',
                                                      U':', U';', U'?', U']', U'}', 0x00A2};
    static constexpr std::array<char32_t, 16> opening{
        U'$',   U'(',   U'[',   U'{',   0x00A1, 0x00A3, 0x00A5, 0x00BF,
        0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x20AC, 0x2116};
    static constexpr std::array<char32_t, 4> markLike{U'_', 0x00A9, 0x00AE, 0x2122};

    if (code >= U'0' && code <= U'9') {
        return kDigit;
    }
    if (isLetter(code)) {
        return kLetter;
    }
    if (isOneOf(code, fractions)) {
        return kFraction;
    }
    if (isOneOf(code, closing)) {
        return kClosing;
    }
    if (isOneOf(code, opening)) {
        return kOpening;
    }
    if (code == U'"' || code == U'\'') {
        return kStraightQuote;
    }
    if (isOneOf(code, markLike)) {
        return kMarkLike;
    }
    if (code == 0x02C6 || code == 0x02DC || (code >= 0x0300 && code <= 0x036F)) {
        return kModifier;
    }
    return kSymbol;
}

}  // namespace tessavine::pgf
