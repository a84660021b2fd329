#include "core/utf8.h"

namespace tessavine {
namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

}  // namespace

std::optional<DecodedCharacter> decodeUtf8At(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80u) {
        return DecodedCharacter{static_cast<char32_t>(lead), 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;  // below this the sequence is an overlong form
    if ((lead & 0xE0u) == 0xC0u) {
        length = 2;
        value = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0u) == 0xE0u) {
        length = 3;
        value = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8u) == 0xF0u) {
        length = 4;
        value = lead & 0x07u;
        smallest = 0x10000;
    }
    bool wellFormed = length != 0 && at + length <= text.size();
    for (std::size_t i = 1; wellFormed && i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        wellFormed = isContinuation(byte);
        value = (value << 6) | (byte & 0x3Fu);
    }
    if (!wellFormed || value < smallest || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return DecodedCharacter{value, length};
}

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        if (const auto decoded = decodeUtf8At(text, at)) {
            out += decoded->codePoint;
            at += decoded->bytes;
        } else {
            out += kReplacementCharacter;
            ++at;
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = kReplacementCharacter;
    }
    const auto put = [&out](char32_t bits) { out += static_cast<char>(bits); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace tessavine
