#include "font_sources.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

namespace tessavine::pgf {
namespace {

constexpr char kStart[8] = {'T', 'S', 'V', 'S', 'R', 'C', '1', '\0'};
constexpr char kEnd[4] = {'T', 'S', 'V', 'S'};
constexpr std::size_t kFooterBytes = 8;
constexpr std::size_t kMostRuns = 0xFFFF;

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t count) const { return bytes_.size() - at_ >= count; }
    std::uint8_t byte() { return bytes_[at_++]; }
    unsigned u16() {
        const unsigned low = byte();
        return low | (unsigned{byte()} << 8);
    }
    std::span<const std::uint8_t> take(std::size_t count) {
        const auto part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }
    std::size_t rest() const { return bytes_.size() - at_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<std::pair<char16_t, char16_t>> runsOf(const std::vector<char32_t>& ascending) {
    std::vector<std::pair<char16_t, char16_t>> runs;
    for (const char32_t code : ascending) {
        const auto c = static_cast<char16_t>(code);
        if (!runs.empty() && runs.back().second + 1 == c) {
            runs.back().second = c;
        } else {
            runs.emplace_back(c, c);
        }
    }
    return runs;
}

std::vector<std::uint8_t> encodeFontSources(const std::vector<FontSource>& sources) {
    if (sources.size() < 2) {
        return {};
    }
    std::vector<std::uint8_t> block(std::begin(kStart), std::end(kStart));
    const std::size_t count = std::min(sources.size(), kMostFontSources);
    put16(block, static_cast<unsigned>(count));
    for (const FontSource& source : std::span(sources).first(count)) {
        const std::string name = source.name.substr(0, kLongestFontSourceName);
        block.push_back(static_cast<std::uint8_t>(name.size()));
        block.insert(block.end(), name.begin(), name.end());
        const std::size_t runs = std::min(source.runs.size(), kMostRuns);
        put16(block, static_cast<unsigned>(runs));
        for (std::size_t r = 0; r < runs; ++r) {
            put16(block, source.runs[r].first);
            put16(block, source.runs[r].second);
        }
    }
    block.resize((block.size() + 3) / 4 * 4, 0);
    const auto length = static_cast<std::uint32_t>(block.size());
    for (int shift = 0; shift < 32; shift += 8) {
        block.push_back(static_cast<std::uint8_t>((length >> shift) & 0xFF));
    }
    block.insert(block.end(), std::begin(kEnd), std::end(kEnd));
    return block;
}

FontSourcesRead readFontSourcesBlock(std::span<const std::uint8_t> file) {
    if (file.size() < kFooterBytes ||
        std::memcmp(file.data() + file.size() - 4, kEnd, sizeof kEnd) != 0) {
        return {};
    }
    const std::uint8_t* footer = file.data() + file.size() - kFooterBytes;
    const std::size_t length = std::size_t{footer[0]} | (std::size_t{footer[1]} << 8) |
                               (std::size_t{footer[2]} << 16) | (std::size_t{footer[3]} << 24);
    if (length < sizeof kStart + 2 || length > file.size() - kFooterBytes) {
        return {};
    }
    Cursor in(file.subspan(file.size() - kFooterBytes - length, length));
    const auto start = in.take(sizeof kStart);
    if (std::memcmp(start.data(), kStart, sizeof kStart) != 0) {
        return {};
    }
    const FontSourcesRead damaged{std::nullopt,
                                  "the list of the fonts it was drawn from is damaged"};
    const unsigned count = in.u16();
    if (count > kMostFontSources) {
        return {std::nullopt, "the list of the fonts it was drawn from names " +
                                  std::to_string(count) + " fonts, more than the " +
                                  std::to_string(kMostFontSources) +
                                  " a file can be made from, so it is not shown"};
    }
    std::vector<FontSource> sources;
    std::size_t allRuns = 0;
    for (unsigned f = 0; f < count; ++f) {
        if (!in.has(1)) {
            return damaged;
        }
        const std::size_t nameLength = in.byte();  // a byte: never above kLongestFontSourceName
        if (!in.has(nameLength + 2)) {
            return damaged;
        }
        const auto name = in.take(nameLength);
        FontSource source{std::string(name.begin(), name.end()), {}};
        const unsigned runs = in.u16();
        allRuns += runs;
        if (allRuns > kMostFontSourceRuns) {
            return {std::nullopt, "the list of the fonts it was drawn from names more than " +
                                      std::to_string(kMostFontSourceRuns) +
                                      " runs of characters, more than there are codes, so it "
                                      "is not shown"};
        }
        if (!in.has(std::size_t{runs} * 4)) {
            return damaged;
        }
        for (unsigned r = 0; r < runs; ++r) {
            const auto first = static_cast<char16_t>(in.u16());
            const auto last = static_cast<char16_t>(in.u16());
            if (last < first) {
                return damaged;
            }
            source.runs.emplace_back(first, last);
        }
        sources.push_back(std::move(source));
    }
    // Only the padding may follow.
    if (in.rest() > 3) {
        return damaged;
    }
    return {std::move(sources), {}};
}

std::optional<std::vector<FontSource>> readFontSources(std::span<const std::uint8_t> file) {
    return readFontSourcesBlock(file).sources;
}

}  // namespace tessavine::pgf
