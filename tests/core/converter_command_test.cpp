#include "core/converter_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/paths.h"

namespace tessavine {
namespace {

ConverterTexts example(int bold, int italic) {
    return {"Example.ttf", "24", "0.8", "2.5", "1.2", bold, italic};
}

struct FormCase {
    int bold;
    int italic;
    std::string commandLine;
    std::string sizeWord;
};

class CommandForm : public testing::TestWithParam<FormCase> {};

TEST_P(CommandForm, IsExactToTheCharacter) {
    const FormCase& c = GetParam();
    EXPECT_EQ(converterCommandLine(example(c.bold, c.italic)), c.commandLine);
}

TEST_P(CommandForm, ArgumentListCarriesTheSameWords) {
    const FormCase& c = GetParam();
    const std::vector<std::string> expected = {"Example.ttf", "ltn0.pgf", c.sizeWord, "b2.5i1.2"};
    EXPECT_EQ(converterArguments(example(c.bold, c.italic)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    StyleBoxes, CommandForm,
    testing::Values(FormCase{kUnticked, kUnticked,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24h0.8 b2.5i1.2)", "24h0.8"},
                    FormCase{kTicked, kUnticked,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24bh0.8 b2.5i1.2)", "24bh0.8"},
                    FormCase{kUnticked, kTicked,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24ih0.8 b2.5i1.2)", "24ih0.8"},
                    FormCase{kTicked, kTicked,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24bih0.8 b2.5i1.2)", "24bih0.8"},
                    // a greyed box counts as not ticked
                    FormCase{kGreyed, kTicked,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24ih0.8 b2.5i1.2)", "24ih0.8"},
                    FormCase{kTicked, kGreyed,
                             R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24bh0.8 b2.5i1.2)", "24bh0.8"}));

TEST(CommandTexts, GoThroughUntrimmedAndUnescaped) {
    const ConverterTexts texts{"My \"odd\" font.ttf", " 24", "0.8 ", "1.5abc", "", 0, 0};
    EXPECT_EQ(converterCommandLine(texts),
              "ttf2pgf.exe \"My \"odd\" font.ttf\" ltn0.pgf  24h0.8  b1.5abci");
    const std::vector<std::string> expected = {"My \"odd\" font.ttf", "ltn0.pgf", " 24h0.8 ",
                                               "b1.5abci"};
    EXPECT_EQ(converterArguments(texts), expected);
}

TEST(ConverterCommand, RunsTheProgramFoldersConverterInTheProgramFolder) {
    const ProcessCommand command = converterCommand(example(0, 0), "/opt/tessavine");
    EXPECT_EQ(command.program, joinPath("/opt/tessavine", "ttf2pgf.exe"));
    EXPECT_EQ(command.workingFolder, "/opt/tessavine");
    EXPECT_EQ(command.commandLine, R"(ttf2pgf.exe "Example.ttf" ltn0.pgf 24h0.8 b2.5i1.2)");
    EXPECT_EQ(command.arguments.size(), 4u);
}

}  // namespace
}  // namespace tessavine
