#include "document/Settings.h"

#include <gtest/gtest.h>

namespace {

TEST(Settings, OneResetGivesEveryDefault) {
    AxesColor = BackgroundColor = FontColor = 0x123456;
    for (auto& c : GraphColors)
        c = 0x654321;
    FirstFrame = -4;
    LastFrame = 99;
    FrameInterval = 7;
    ViewAlongMode = 3;
    SetDefaultSettings();
    EXPECT_EQ(AxesColor, 0x008000u);
    EXPECT_EQ(BackgroundColor, 0xFFFFFFu);
    EXPECT_EQ(FontColor, 0u);
    for (int k = 0; k < GraphColourCount; ++k)
        EXPECT_EQ(GraphColors[k], 0xFF0000u) << k;
    EXPECT_EQ(FirstFrame, 1);
    EXPECT_EQ(LastFrame, 20);
    EXPECT_EQ(FrameInterval, 50);
    EXPECT_EQ(ViewAlongMode, 1);
}

TEST(Settings, TheColourBlockKeepsItsOrder) {
    TColourBlock block{};
    for (int i = 0; i < ColourBlockSize; ++i)
        block.Values[i] = 0x100 + i;
    ApplyColours(block);
    EXPECT_EQ(AxesColor, 0x100u);
    EXPECT_EQ(BackgroundColor, 0x101u);
    EXPECT_EQ(FontColor, 0x102u);
    EXPECT_EQ(GraphColors[0], 0x103u);
    EXPECT_EQ(GraphColors[10], 0x10Du);
    const TColourBlock back = CurrentColours();
    for (int i = 0; i < ColourBlockSize; ++i)
        EXPECT_EQ(back.Values[i], block.Values[i]) << i;
    SetDefaultSettings();
    const TColourBlock defaults = DefaultColours();
    const TColourBlock now = CurrentColours();
    for (int i = 0; i < ColourBlockSize; ++i)
        EXPECT_EQ(now.Values[i], defaults.Values[i]) << i;
}

} // namespace
