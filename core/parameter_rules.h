#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/main_controls.h"

namespace tessavine {

// The text that replaces `text` in the numeric `field` when its value lies outside the field's
// range: the text of the bound it passed. Nothing when the text may stay as it is, and nothing
// for a field that has no range (fontname1).
std::optional<std::string> correctedParameter(TextField field, std::string_view text);

struct ParameterTexts {
    std::string horizontal1;
    std::string advance1;
    std::string blur1;
    std::string intensity1;
    std::string height1;
};

struct ParameterCorrection {
    TextField field;
    std::string text;
};

// The corrections for the five texts, in the order in which Execute handles them (horizontal1,
// advance1, blur1, intensity1, height1); a field that needs none is left out.
std::vector<ParameterCorrection> normaliseParameters(const ParameterTexts& texts);

}  // namespace tessavine
