#include "metric_table.h"

#include <algorithm>
#include <map>
#include <utility>

#include "format_limits.h"

namespace tessavine::pgf {

bool MetricTable::indexesEveryGlyph() const {
    return std::all_of(indexOfGlyph.begin(), indexOfGlyph.end(),
                       [](const auto& index) { return index.has_value(); });
}

MetricTable buildMetricTable(std::span<const MetricPair> pairOfGlyph) {
    std::map<MetricPair, int> uses;
    for (const MetricPair& pair : pairOfGlyph) {
        ++uses[pair];
    }
    std::vector<std::pair<MetricPair, int>> byUse(uses.begin(), uses.end());
    // Most used first; equal use keeps the pairs' own order so the table is reproducible.
    std::stable_sort(byUse.begin(), byUse.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (byUse.size() > static_cast<std::size_t>(kMostTableEntries)) {
        byUse.resize(static_cast<std::size_t>(kMostTableEntries));
    }

    MetricTable table;
    for (const auto& [pair, count] : byUse) {
        table.entries.push_back(pair);
    }
    std::sort(table.entries.begin(), table.entries.end());
    std::map<MetricPair, std::uint8_t> indexOfPair;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        indexOfPair[table.entries[i]] = static_cast<std::uint8_t>(i);
    }
    for (const MetricPair& pair : pairOfGlyph) {
        const auto found = indexOfPair.find(pair);
        table.indexOfGlyph.push_back(
            found == indexOfPair.end() ? std::nullopt : std::optional<std::uint8_t>(found->second));
    }
    return table;
}

}  // namespace tessavine::pgf
