#include "core/shown_text.h"

#include <algorithm>
#include <cstdio>

#include "core/utf8.h"

namespace tessavine {
namespace {

// Characters that change how the text around them is laid out or read rather than showing.
bool actsInsteadOfShowing(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) ||  // C0, DEL and C1 controls
           code == 0x2028 || code == 0x2029 ||               // line and paragraph separators
           (code >= 0x202A && code <= 0x202E) ||             // bidirectional embeddings, overrides
           (code >= 0x2066 && code <= 0x2069);               // bidirectional isolates
}

void appendEscape(std::string& out, char32_t code) {
    switch (code) {
        case U'\t':
            out += "\\t";
            return;
        case U'\n':
            out += "\\n";
            return;
        case U'\r':
            out += "\\r";
            return;
        default:
            break;
    }
    char escape[8];
    if (code <= 0x7F) {
        std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(code));
    } else {
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(code));
    }
    out += escape;
}

}  // namespace

std::string shownText(std::string_view fromFile) {
    return shownText(fromFile, std::string::npos);
}

std::string shownText(std::string_view fromFile, std::size_t maxBytes) {
    std::string out;
    out.reserve(std::min(fromFile.size(), maxBytes));
    std::size_t at = 0;
    while (at < fromFile.size()) {
        if (out.size() >= maxBytes) {
            return out + "...";
        }
        const auto decoded = decodeUtf8At(fromFile, at);
        if (!decoded) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(fromFile[at])));
            out += escape;
            ++at;
            continue;
        }
        if (actsInsteadOfShowing(decoded->codePoint)) {
            appendEscape(out, decoded->codePoint);
        } else {
            out.append(fromFile.substr(at, decoded->bytes));
        }
        at += decoded->bytes;
    }
    return out;
}

}  // namespace tessavine
