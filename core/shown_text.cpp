#include "core/shown_text.h"

#include <cstdio>

namespace tessavine {

std::string shownText(std::string_view text, std::size_t maxBytes) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (shown.size() >= maxBytes) {
            return shown + "...";
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\\') {
            shown += "\\\\";
        } else if (c == 0xc2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // U+0080 to U+009F: the second set of control characters, which terminals obey too.
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(text[++i]));
            shown += escape;
        } else if (c < 0x20 || c == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown += escape;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace tessavine
