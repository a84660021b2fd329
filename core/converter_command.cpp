#include "core/converter_command.h"

#include "core/paths.h"

namespace tessavine {
namespace {

std::string sizeWord(const ConverterTexts& texts) {
    return texts.height1 + styleLetters(texts.boldState, texts.italicizeState) + "h" +
           texts.horizontal1;
}

std::string shadowWord(const ConverterTexts& texts) {
    return "b" + texts.blur1 + "i" + texts.intensity1;
}

}  // namespace

std::string styleLetters(int boldState, int italicizeState) {
    const bool bold = boldState == kTicked;
    const bool italic = italicizeState == kTicked;
    if (bold && italic) {
        return "bi";
    }
    if (bold) {
        return "b";
    }
    if (italic) {
        return "i";
    }
    return {};
}

std::string converterCommandLine(const ConverterTexts& texts) {
    return std::string(kConverterFileName) + " \"" + texts.fontname1 + "\" " +
           kConverterOutputName + " " + sizeWord(texts) + " " + shadowWord(texts);
}

std::vector<std::string> converterArguments(const ConverterTexts& texts) {
    return {texts.fontname1, kConverterOutputName, sizeWord(texts), shadowWord(texts)};
}

ProcessCommand converterCommand(const ConverterTexts& texts, const std::string& programFolder) {
    ProcessCommand command;
    command.commandLine = converterCommandLine(texts);
    command.program = joinPath(programFolder, kConverterFileName);
    command.arguments = converterArguments(texts);
    command.workingFolder = programFolder;
    return command;
}

}  // namespace tessavine
