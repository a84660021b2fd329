// The second stage of the converter's pipeline, on its own thread and on the caller's: results at
// their item's number, the work done once per item in the order handed over, and the first error
// back to the caller as it was thrown.

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "converter/background_stage.h"
#include "converter/glyph_renderer.h"

namespace tessavine::converter {
namespace {

struct StageCase {
    const char* name;
    bool threaded;
    std::size_t batch;
    std::size_t depth;
};

class Stage : public testing::TestWithParam<StageCase> {};

// Every third number of 1,000 is handed over, so a result kept where it arrived (the n-th
// result at n) would land at the wrong number.
TEST_P(Stage, KeepsEachResultAtItsItemsNumber) {
    constexpr std::size_t kCount = 1000;
    std::vector<std::size_t> worked;  // written by the worker, read after finish()
    BackgroundStage<int, long> stage(
        kCount,
        [&](std::size_t index, int& input) {
            worked.push_back(index);
            return static_cast<long>(index) * 1000 + input;
        },
        GetParam().threaded, GetParam().batch, GetParam().depth);
    std::vector<std::size_t> handedOver;
    for (std::size_t i = 0; i < kCount; i += 3) {
        ASSERT_TRUE(stage.submit(i, static_cast<int>(i % 7)));
        handedOver.push_back(i);
    }
    const std::vector<std::optional<long>> outputs = stage.finish();
    ASSERT_EQ(outputs.size(), kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        if (i % 3 == 0) {
            EXPECT_EQ(outputs[i], static_cast<long>(i) * 1000 + static_cast<long>(i % 7)) << i;
        } else {
            EXPECT_FALSE(outputs[i]) << i;
        }
    }
    EXPECT_EQ(worked, handedOver);  // each once, in the order handed over
}

// The work of item 40 throws a ConversionError subclass: the caller is told to stop handing
// over, gets that very exception from finish(), and nothing after item 40 was worked on.
TEST_P(Stage, TheFirstErrorReachesTheCallerAsItWasThrown) {
    constexpr std::size_t kCount = 5000;
    constexpr std::size_t kFailing = 40;
    std::vector<std::size_t> worked;
    BackgroundStage<int, int> stage(
        kCount,
        [&](std::size_t index, int& input) {
            worked.push_back(index);
            if (index == kFailing) {
                throw GlyphTooLarge("item " + std::to_string(index) + " is too wide");
            }
            return input;
        },
        GetParam().threaded, GetParam().batch, GetParam().depth);
    std::size_t accepted = 0;
    while (accepted < kCount && stage.submit(accepted, 1)) {
        ++accepted;
    }
    EXPECT_LT(accepted, kCount) << "the caller was never told to stop";
    try {
        stage.finish();
        FAIL() << "the error was lost";
    } catch (const GlyphTooLarge& error) {
        EXPECT_EQ(std::string(error.what()), "item 40 is too wide");
    }
    ASSERT_FALSE(worked.empty());
    EXPECT_EQ(worked.back(), kFailing);
    EXPECT_EQ(worked.size(), kFailing + 1);
}

// A caller that fails before finish() leaves without waiting for the items still waiting.
TEST_P(Stage, ACallerThatGivesUpEndsTheStage) {
    std::vector<std::size_t> worked;
    {
        BackgroundStage<int, int> stage(
            100, [&](std::size_t index, int& input) { return worked.push_back(index), input; },
            GetParam().threaded, GetParam().batch, GetParam().depth);
        for (std::size_t i = 0; i < 100; ++i) {
            ASSERT_TRUE(stage.submit(i, 0));
        }
    }
    for (std::size_t i = 0; i < worked.size(); ++i) {
        EXPECT_EQ(worked[i], i);  // whatever was worked on, in order and once
    }
}

INSTANTIATE_TEST_SUITE_P(ThreadsAndBatches, Stage,
                         testing::Values(StageCase{"OnTheCallersThread", false, 32, 4},
                                         StageCase{"ItemByItem", true, 1, 1},
                                         StageCase{"SmallBatches", true, 3, 2},
                                         StageCase{"TheConvertersBatches", true, 128, 4}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

}  // namespace
}  // namespace tessavine::converter
