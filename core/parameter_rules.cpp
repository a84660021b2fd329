#include "core/parameter_rules.h"

#include "core/number_reading.h"

namespace tessavine {
namespace {

constexpr TextField kRangeCheckedFields[] = {TextField::horizontal1, TextField::advance1,
                                             TextField::blur1, TextField::intensity1,
                                             TextField::height1};

struct DecimalRange {
    double low;
    double high;
    int decimals;
    const char* lowText;
    const char* highText;
};

// Horizontal width is tested at a finer grain than the others: ".249" is too narrow a width
// but a fine advance.
constexpr DecimalRange kHorizontal{0.25, 2.0, 3, "0.25", "2.0"};
constexpr DecimalRange kAdvance{0.25, 2.0, 2, "0.25", "2.0"};
constexpr DecimalRange kBlur{0.1, 4.0, 2, "0.1", "4.0"};
constexpr DecimalRange kIntensity{0.0, 4.0, 2, "0.0", "4.0"};

constexpr double kLowestHeight = 8.0;
constexpr const char* kLowestHeightText = "8";

std::optional<std::string> correctedDecimal(const DecimalRange& range, std::string_view text) {
    const double value = roundHalfEven(readDecimal(text), range.decimals);
    if (value < range.low) {
        return range.lowText;
    }
    if (value > range.high) {
        return range.highText;
    }
    return std::nullopt;
}

// A height that is no whole number at all is treated like one that is too small: the
// converter needs a number, and the smallest allowed one is the safe choice. A very large
// height is the user's business and is passed on.
std::optional<std::string> correctedHeight(std::string_view text) {
    const std::optional<double> value = readWholeNumber(text);
    if (!value || *value < kLowestHeight) {
        return kLowestHeightText;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> correctedParameter(TextField field, std::string_view text) {
    switch (field) {
        case TextField::horizontal1:
            return correctedDecimal(kHorizontal, text);
        case TextField::advance1:
            return correctedDecimal(kAdvance, text);
        case TextField::blur1:
            return correctedDecimal(kBlur, text);
        case TextField::intensity1:
            return correctedDecimal(kIntensity, text);
        case TextField::height1:
            return correctedHeight(text);
        case TextField::fontname1:
            break;
    }
    return std::nullopt;
}

std::vector<ParameterCorrection> normaliseParameters(const ParameterTexts& texts) {
    const std::string_view inOrder[] = {texts.horizontal1, texts.advance1, texts.blur1,
                                        texts.intensity1, texts.height1};
    std::vector<ParameterCorrection> corrections;
    for (std::size_t i = 0; i < std::size(kRangeCheckedFields); ++i) {
        if (auto text = correctedParameter(kRangeCheckedFields[i], inOrder[i])) {
            corrections.push_back({kRangeCheckedFields[i], std::move(*text)});
        }
    }
    return corrections;
}

}  // namespace tessavine
