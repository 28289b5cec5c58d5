// The parameters' rules below the windows: the slider's positions, a step
// of play in each way, and the command line's settings.
#include "model/Parameters.h"

#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TParameter Range(double min, double max, double step, TPlay play = TPlay::None) {
    TParameter p;
    p.Name = "a";
    p.Min = min, p.Max = max, p.Step = step, p.Play = play;
    return p;
}

TEST(Parameters, TheSlidersPositionsAreTheSteps) {
    const struct {
        TParameter p;
        int positions;
    } rows[] = {
        {Range(-10, 10, 0.1), 200}, {Range(0, 1, 0.3), 4}, // the last one shorter
        {Range(0, 1, 5), 1},        {Range(0, 1e9, 1e-3), 100000}, {Range(-1, 1, 0.25), 8},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SliderPositions(r.p), r.positions) << r.p.Min << " " << r.p.Step;
    const TParameter p = Range(-10, 10, 0.1);
    EXPECT_EQ(SliderValue(p, 110), 1.0); // exactly, as typed
    EXPECT_EQ(SliderValue(p, 103), 0.3);
    EXPECT_EQ(SliderValue(p, 0), -10.0);
    EXPECT_EQ(SliderValue(p, 200), 10.0);
    EXPECT_EQ(SliderPosition(p, 1.0), 110);
    EXPECT_EQ(SliderPosition(p, 1.04), 110); // between positions: the nearest
    EXPECT_EQ(SliderPosition(p, 99), 200);   // beyond the range: its end
}

TEST(Parameters, EachWayOfPlay) {
    const struct {
        TPlay play;
        int from, direction;
        int to, then;
        bool goesOn;
    } rows[] = {
        {TPlay::Loop, 3, 1, 4, 1, true},    {TPlay::Loop, 4, 1, 0, 1, true},
        {TPlay::None, 4, 1, 0, 1, true},    {TPlay::Bounce, 3, 1, 4, 1, true},
        {TPlay::Bounce, 4, 1, 3, -1, true}, {TPlay::Bounce, 1, -1, 0, -1, true},
        {TPlay::Bounce, 0, -1, 1, 1, true}, {TPlay::Once, 3, 1, 4, 1, true},
        {TPlay::Once, 4, 1, 4, 1, false},
    };
    for (const auto& r : rows) {
        TPlayer player{r.from, r.direction};
        EXPECT_EQ(AdvancePlay(Range(0, 1, 0.25, r.play), player), r.goesOn) << r.from;
        EXPECT_EQ(player.Position, r.to) << static_cast<int>(r.play) << " from " << r.from;
        EXPECT_EQ(player.Direction, r.then) << static_cast<int>(r.play) << " from " << r.from;
    }
}

TEST(Parameters, TheCommandLinesSettingsInTheirOrder) {
    DecimalSeparatorChar = '.';
    const std::vector<TParameter> document = {Range(-5, 5, 1)};
    const std::vector<TParameter> set =
        WithSettings(document, {{"A", "3"}, {"k", "a*2"}, {"a", "k+1"}});
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set[0].Name, "a"); // the document's, whatever the case of the setting
    EXPECT_EQ(set[0].Value, 7);
    EXPECT_EQ(set[0].Min, -5);
    EXPECT_EQ(set[1].Name, "k");
    EXPECT_EQ(set[1].Value, 6);
    EXPECT_EQ(set[1].Min, -10); // a new one has the new parameter's range
    for (const TParameterSetting& bad :
         {TParameterSetting{"sin", "1"}, TParameterSetting{"2a", "1"}, TParameterSetting{"b", "c"},
          TParameterSetting{"b", "1/0"}})
        EXPECT_THROW(WithSettings(document, {bad}), std::runtime_error) << bad.Name;
    SetParameterNames({});
}

} // namespace
