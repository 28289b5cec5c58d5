#include "animation/FrameAnimation.h"
#include "document/Limits.h"
#include "document/Settings.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// The frames shown by ticks until the animation finishes (or `limit` ticks).
std::vector<int> Play(int first, int last, bool loop, int limit = 100) {
    FirstFrame = first;
    LastFrame = last;
    FrameCounter = first;
    std::vector<int> shown;
    for (int tick = 0; tick < limit; ++tick) {
        shown.push_back(FrameCounter);
        if (AdvanceFrameCounter(loop) == TFrameAdvance::Finished) break;
    }
    return shown;
}

TEST(FrameAnimation, FramesShownPerSettings) {
    const struct {
        const char* name;
        int first, last;
        bool loop;
        int limit;
        std::vector<int> shown;
        int counterAfter;
    } cases[] = {
        {"three frames", 1, 3, false, 100, {1, 2, 3}, 3},
        {"looping repeats from the first", 1, 3, true, 7, {1, 2, 3, 1, 2, 3, 1}, 2},
        {"first after last shows the first once", 5, 2, false, 100, {5}, 2},
        {"first after last, looping, shows it again", 5, 2, true, 3, {5, 5, 5}, 5},
        {"one frame", 0, 0, false, 100, {0}, 0},
        {"the last frame at the top of the range",
         INT_MAX - 1,
         INT_MAX,
         false,
         100,
         {INT_MAX - 1, INT_MAX},
         INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Play(c.first, c.last, c.loop, c.limit), c.shown) << c.name;
        EXPECT_EQ(FrameCounter, c.counterAfter) << c.name;
    }
    SetDefaultSettings();
    FrameCounter = 0;
}

TEST(FrameAnimation, TheDefaultsShowTwentyFramesAndKeepTheLast) {
    SetDefaultSettings();
    const std::vector<int> shown = Play(FirstFrame, LastFrame, false);
    ASSERT_EQ(shown.size(), 20u);
    EXPECT_EQ(shown.front(), 1);
    EXPECT_EQ(shown.back(), 20);
    EXPECT_EQ(FrameCounter, 20);
    FrameCounter = 0;
}

TEST(FrameAnimation, Caption) {
    EXPECT_EQ(FrameCaption(7), " Кадр 7");
    EXPECT_EQ(FrameCaption(-3), " Кадр -3");
}

TEST(FrameAnimation, ASettingIsAWholeNumberInItsRangeOrTheOneKept) {
    const std::int32_t M = MaxFrameNumber, I = MaxFrameInterval;
    const std::string refusal = "Номера кадров — от -1000000000 до 1000000000, шаг — от 0 до "
                                "3600000 мс, а не ";
    const struct {
        const char* text;
        std::int32_t low, high, kept;
        const char* refused; // nullptr: taken; "": no whole number; else the value told
    } cases[] = {
        {"5", -M, M, 0, nullptr},
        {"-1000000000", -M, M, 0, nullptr},
        {"1000000000", -M, M, 0, nullptr},
        {"3600000", 0, I, 0, nullptr},
        {"0", 0, I, 50, nullptr},
        {"1000000001", -M, M, 0, "1000000001."},
        {"-1", 0, I, 0, "-1."},
        // What a file holds stands, as long as it is not changed.
        {"2000000000", -M, M, 2000000000, nullptr},
        {"2147483647", 0, I, INT_MAX, nullptr},
        {"-5", 0, I, -5, nullptr},
        {"2000000001", -M, M, 2000000000, "2000000001."},
        {"1.5", -M, M, 0, ""},
        {"abc", -M, M, 0, ""},
    };
    for (const auto& c : cases) {
        if (c.refused == nullptr) {
            EXPECT_EQ(FrameSetting(c.text, c.low, c.high, c.kept), std::stol(c.text)) << c.text;
        } else if (*c.refused == 0) {
            EXPECT_THROW(FrameSetting(c.text, c.low, c.high, c.kept), ConversionError) << c.text;
        } else {
            try {
                FrameSetting(c.text, c.low, c.high, c.kept);
                ADD_FAILURE() << c.text;
            } catch (const BuildRefused& e) {
                EXPECT_EQ(e.what(), refusal + c.refused);
            }
        }
    }
}

} // namespace
