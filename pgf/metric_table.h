#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pgf_font.h"

namespace tessavine::pgf {

// One of the four metric tables, built from every glyph's pair. A table holds at most 255 pairs;
// the most frequent pairs get an entry and a glyph whose pair did not make it stores its pair
// inline instead (index empty).
struct MetricTable {
    std::vector<MetricPair> entries;
    std::vector<std::optional<std::uint8_t>> indexOfGlyph;

    bool indexesEveryGlyph() const;
};

MetricTable buildMetricTable(std::span<const MetricPair> pairOfGlyph);

}  // namespace tessavine::pgf
