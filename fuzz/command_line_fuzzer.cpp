// The converter's command line, two ways: any words at all, and the words the window makes from
// whatever its fields hold after its own corrections, which the converter must always accept.
//
// Input: the first byte picks the way and the window's style boxes; the rest is split at NUL
// bytes into the words, or into the font name, height, width, blur and intensity texts.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/command_line.h"
#include "converter/conversion_error.h"
#include "core/converter_command.h"
#include "core/number_reading.h"
#include "core/parameter_rules.h"
#include "fuzz_check.h"

namespace {

using namespace tessavine;
using converter::CommandLine;

std::vector<std::string> splitAtNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    return parts;
}

void checkSound(const CommandLine& commandLine) {
    if (commandLine.action != CommandLine::Action::Convert) {
        return;
    }
    const auto& p = commandLine.parameters;
    FUZZ_CHECK(!commandLine.fontPath.empty() && !commandLine.outputPath.empty());
    FUZZ_CHECK(p.fontScale >= 1 && p.fontScale <= 32767);
    FUZZ_CHECK(p.horizontalWidth > 0 && std::isfinite(p.horizontalWidth));
    FUZZ_CHECK(p.shadowBlur >= 0 && std::isfinite(p.shadowBlur));
    FUZZ_CHECK(p.shadowIntensity >= 0 && std::isfinite(p.shadowIntensity));
}

// The window's number fields take only digits and "." (the scale only digits).
std::string asTyped(const std::string& text, bool point) {
    std::string kept;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (point && c == '.')) {
            kept += c;
        }
    }
    return kept;
}

void fromWindow(std::vector<std::string> parts, std::uint8_t boxes) {
    parts.resize(5);
    ConverterTexts texts;
    texts.fontname1 = parts[0];
    texts.height1 = asTyped(parts[1], false);
    texts.horizontal1 = asTyped(parts[2], true);
    texts.blur1 = asTyped(parts[3], true);
    texts.intensity1 = asTyped(parts[4], true);
    texts.boldState = (boxes >> 1) % 3;
    texts.italicizeState = (boxes >> 3) % 3;
    if (texts.fontname1.empty()) {
        return;  // the window refuses to start without a font name
    }
    const ParameterTexts fields{texts.horizontal1, "1", texts.blur1, texts.intensity1,
                                texts.height1};
    for (const ParameterCorrection& correction : normaliseParameters(fields)) {
        switch (correction.field) {
            case TextField::horizontal1:
                texts.horizontal1 = correction.text;
                break;
            case TextField::blur1:
                texts.blur1 = correction.text;
                break;
            case TextField::intensity1:
                texts.intensity1 = correction.text;
                break;
            case TextField::height1:
                texts.height1 = correction.text;
                break;
            default:
                break;
        }
    }

    const std::vector<std::string> words = converterArguments(texts);
    CommandLine commandLine;
    try {
        commandLine = converter::readCommandLine(words);
    } catch (const converter::ConversionError&) {
        // Only a scale beyond what the converter counts may be refused: the window passes any
        // large height on.
        FUZZ_CHECK(*readWholeNumber(texts.height1) > 32767);
        return;
    }
    checkSound(commandLine);
    FUZZ_CHECK(commandLine.action == CommandLine::Action::Convert);
    FUZZ_CHECK(commandLine.fontPath == texts.fontname1);
    FUZZ_CHECK(commandLine.outputPath == kConverterOutputName);
    FUZZ_CHECK(commandLine.parameters.embolden == (texts.boldState == kTicked));
    FUZZ_CHECK(commandLine.parameters.italicize == (texts.italicizeState == kTicked));
    FUZZ_CHECK(commandLine.parameters.fontScale == *readWholeNumber(texts.height1));
    FUZZ_CHECK(commandLine.parameters.horizontalWidth == readDecimal(texts.horizontal1));
    FUZZ_CHECK(commandLine.parameters.shadowBlur == readDecimal(texts.blur1));
    FUZZ_CHECK(commandLine.parameters.shadowIntensity == readDecimal(texts.intensity1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::string> parts = splitAtNul(data + 1, size - 1);
    if (data[0] & 1) {
        fromWindow(std::move(parts), data[0]);
        return 0;
    }
    try {
        checkSound(converter::readCommandLine(parts));
    } catch (const converter::ConversionError& error) {
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
