// Any text typed into the window's number fields: reading never fails, and a corrected text is
// one the rules then accept as it stands.
//
// Input: the first byte picks the field, the rest is the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/main_controls.h"
#include "core/number_reading.h"
#include "core/parameter_rules.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessavine;
    if (size == 0) {
        return 0;
    }
    constexpr TextField kFields[] = {TextField::fontname1,   TextField::height1,
                                     TextField::horizontal1, TextField::advance1,
                                     TextField::blur1,       TextField::intensity1};
    const TextField field = kFields[data[0] % std::size(kFields)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const double decimal = readDecimal(text);
    FUZZ_CHECK(!std::isnan(decimal));
    for (int decimals = 0; decimals <= 3; ++decimals) {
        const double rounded = roundHalfEven(decimal, decimals);
        FUZZ_CHECK(!std::isnan(rounded) || std::isinf(decimal));
    }
    if (const auto whole = readWholeNumber(text)) {
        FUZZ_CHECK(*whole == std::nearbyint(*whole));
        FUZZ_CHECK(!std::isnan(*whole));
    }

    if (const auto corrected = correctedParameter(field, text)) {
        FUZZ_CHECK(field != TextField::fontname1);
        FUZZ_CHECK(!correctedParameter(field, *corrected));
    }

    ParameterTexts texts{std::string(text), std::string(text), std::string(text), std::string(text),
                         std::string(text)};
    for (const ParameterCorrection& correction : normaliseParameters(texts)) {
        FUZZ_CHECK(!correction.text.empty());
        FUZZ_CHECK(!correctedParameter(correction.field, correction.text));
    }
    return 0;
}
