#include "number_reading.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tessavine {
namespace {

struct NumberPrefix {
    double value = 0.0;
    std::size_t length = 0;  // characters taken; 0 when the text begins with no number
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// "&H" / "&O" numbers: a value that fits 16 bits is taken as a signed 16-bit number and one that
// fits 32 bits as a signed 32-bit number, so "&HFFFF" is -1 as it always was.
NumberPrefix readRadixNumber(std::string_view text, int radix) {
    std::uint64_t magnitude = 0;
    std::size_t at = 2;
    bool saturated = false;
    while (at < text.size() && digitValue(text[at]) < radix) {
        const auto digit = static_cast<std::uint64_t>(digitValue(text[at]));
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) /
                            static_cast<std::uint64_t>(radix)) {
            saturated = true;
        } else {
            magnitude = magnitude * static_cast<std::uint64_t>(radix) + digit;
        }
        ++at;
    }
    if (at == 2) {
        return {};
    }
    double value = 0.0;
    if (saturated) {
        value = std::numeric_limits<double>::infinity();
    } else if (magnitude <= 0xFFFFu) {
        value = static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude));
    } else if (magnitude <= 0xFFFFFFFFu) {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    } else {
        value = static_cast<double>(magnitude);
    }
    return {value, at};
}

NumberPrefix readNumberPrefix(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&') {
        const char kind = text[1];
        if (kind == 'H' || kind == 'h') {
            return readRadixNumber(text, 16);
        }
        if (kind == 'O' || kind == 'o') {
            return readRadixNumber(text, 8);
        }
        return {};
    }

    std::string normal;  // the number in the form std::from_chars reads
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') {
            normal += '-';
        }
        ++at;
    }
    std::size_t digits = 0;
    while (at < text.size() && isDigit(text[at])) {
        normal += text[at++];
        ++digits;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        normal += '.';
        while (at < text.size() && isDigit(text[at])) {
            normal += text[at++];
            ++digits;
        }
    }
    if (digits == 0) {
        return {};
    }
    std::size_t length = at;
    if (at < text.size() &&
        (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd')) {
        std::size_t expAt = at + 1;
        std::string exponent = "e";
        if (expAt < text.size() && (text[expAt] == '+' || text[expAt] == '-')) {
            exponent += text[expAt++];
        }
        const std::size_t expDigitsStart = expAt;
        while (expAt < text.size() && isDigit(text[expAt])) {
            exponent += text[expAt++];
        }
        if (expAt > expDigitsStart) {
            normal += exponent;
            length = expAt;
        }
    }

    double value = 0.0;
    const char* first = normal.data();
    const char* last = normal.data() + normal.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // Too large: an infinity of its sign. Too small: zero.
        const bool negative = normal.front() == '-';
        const bool tiny = normal.find("e-") != std::string::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        if (negative) {
            value = -value;
        }
    }
    (void)end;
    return {value, length};
}

bool isDroppedBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

double readDecimal(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text) {
        if (!isDroppedBlank(c)) {
            packed += c;
        }
    }
    return readNumberPrefix(packed).value;
}

std::optional<double> readWholeNumber(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    const NumberPrefix number = readNumberPrefix(text);
    if (number.length == 0 || number.length != text.size()) {
        return std::nullopt;
    }
    return std::nearbyint(number.value);
}

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(value * scale) / scale;
}

}  // namespace tessavine
