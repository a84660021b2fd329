#include "east_asian_lines.h"

#include <algorithm>
#include <string_view>

#include "pgf/named_character_sets.h"

namespace tessavine::psp_screen {
namespace {

struct Script {
    std::string_view set;  // the named set that stands for the script
    std::u32string_view line;
};

// What a game says while it saves, in each script, with the buttons' ○ and ×. Each line holds a
// character only its own set has among the four (読 only JIS X 0208, 读 only GB 2312, Hangul
// only KS X 1001), except the traditional one, which the most fully held set tells apart.
constexpr Script kScripts[] = {
    {"jis0208", U"データを読み込んでいます。電源を切らないでください。○で決定　×で戻る"},
    {"gb2312", U"正在读取数据，请勿关闭电源。按○确定，按×返回。"},
    {"big5", U"正在讀取資料，請勿關閉電源。按○確定，按×返回。"},
    {"ksx1001", U"데이터를 읽는 중입니다. 전원을 끄지 마십시오. ○ 확인 × 취소"},
};

bool holdsEvery(const pgf::PgfFile& font, std::u32string_view line) {
    return std::all_of(line.begin(), line.end(), [&font](char32_t code) {
        return code == U' ' || font.glyphIndexOf(code).has_value();
    });
}

double heldShare(const pgf::PgfFile& font, std::string_view set) {
    const std::vector<char32_t> codes = pgf::namedCharacterSet(set);
    const auto held = std::count_if(codes.begin(), codes.end(), [&font](char32_t code) {
        return font.glyphIndexOf(code).has_value();
    });
    return codes.empty() ? 0.0 : static_cast<double>(held) / static_cast<double>(codes.size());
}

}  // namespace

std::vector<std::u32string> eastAsianLines(const pgf::PgfFile& font) {
    std::vector<const Script*> candidates;
    std::vector<double> shares;
    for (const Script& script : kScripts) {
        if (holdsEvery(font, script.line)) {
            candidates.push_back(&script);
            shares.push_back(heldShare(font, script.set));
        }
    }
    std::vector<std::u32string> lines;
    if (candidates.empty()) {
        return lines;
    }
    // A font that holds several sets in full serves each of them.
    const double best = *std::max_element(shares.begin(), shares.end());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (shares[i] >= best - 1e-9) {
            lines.emplace_back(candidates[i]->line);
        }
    }
    return lines;
}

}  // namespace tessavine::psp_screen
