#include "model/History.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TPlotState WithFormula(const std::string& formula) {
    TPlotState s;
    s.Input.Formula = formula;
    return s;
}

struct HistoryTest : ::testing::Test {
    TStateHistory history;
    std::vector<std::string> shown; // the formulas Undo and Redo showed
    void SetUp() override {
        history.Reset(WithFormula("start"));
        history.Show = [this](const TPlotState& s) { shown.push_back(s.Input.Formula); };
    }
};

TEST_F(HistoryTest, AStepIsTakenBackAndMadeAgain) {
    history.Edit(WithFormula("a"), "построение");
    history.Edit(WithFormula("b"), "масштаб");
    EXPECT_EQ(history.UndoName(), "масштаб");
    history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "a");
    EXPECT_EQ(history.RedoName(), "масштаб");
    history.Undo();
    history.Undo(); // nothing more: the start stays
    EXPECT_EQ(history.State().Input.Formula, "start");
    history.Redo();
    history.Redo();
    history.Redo();
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "start", "a", "b"}));
}

TEST_F(HistoryTest, TheSameStateMakesNoStep) {
    history.Edit(WithFormula("start"), "построение");
    EXPECT_FALSE(history.CanUndo());
    history.Edit(WithFormula("a"), "построение");
    history.Edit(WithFormula("a"), "построение");
    EXPECT_EQ(history.Stack().count(), 1);
}

TEST_F(HistoryTest, AnActionWithActionsInsideIsOneStepUnderItsOwnName) {
    history.Begin("смена координат");
    history.Edit(WithFormula("a"), "построение"); // the build the switch runs
    EXPECT_FALSE(history.CanUndo());              // nothing to undo inside an action
    history.Begin("построение");
    history.End(WithFormula("b"));
    history.End(WithFormula("c"));
    ASSERT_EQ(history.Stack().count(), 1);
    EXPECT_EQ(history.UndoName(), "смена координат");
    history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "start");
    // An End with no Begin is no step.
    history.End(WithFormula("d"));
    EXPECT_EQ(history.Stack().count(), 1);
}

TEST_F(HistoryTest, AStepAfterAnUndoDropsWhatCouldBeRedone) {
    history.Edit(WithFormula("a"), "построение");
    history.Undo();
    history.Edit(WithFormula("b"), "построение");
    EXPECT_FALSE(history.CanRedo());
    history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "start");
}

TEST_F(HistoryTest, ABlockedHistoryNeitherUndoesNorRedoes) {
    history.Edit(WithFormula("a"), "построение");
    history.SetBlocked(true);
    history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "a");
    EXPECT_TRUE(shown.empty());
    history.SetBlocked(false);
    history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "start");
}

TEST_F(HistoryTest, TheSavedMarkFollowsUndoBackToIt) {
    history.Edit(WithFormula("a"), "построение");
    history.MarkSaved();
    history.Edit(WithFormula("b"), "построение");
    EXPECT_FALSE(history.AtSaved());
    history.Undo();
    EXPECT_TRUE(history.AtSaved());
    history.Undo();
    EXPECT_FALSE(history.AtSaved());
    history.Reset(WithFormula("opened"));
    EXPECT_TRUE(history.AtSaved());
    EXPECT_FALSE(history.CanUndo());
}

TEST(History, KeepsAHundredStepsByDefault) {
    TStateHistory history;
    history.Reset(WithFormula("0"));
    for (int k = 1; k <= 150; ++k)
        history.Edit(WithFormula(std::to_string(k)), "построение");
    while (history.CanUndo())
        history.Undo();
    EXPECT_EQ(history.State().Input.Formula, "50");
}

// A random edit of any member, now and then none at all.
void RandomEdit(TPlotState& s, std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    auto text = [&] {
        std::string t;
        for (int k = pick(6); k > 0; --k)
            t += "x+1*(ф)^"[pick(9)];
        return t;
    };
    switch (pick(12)) {
    case 0:
        s.Input.Mode = 1 + pick(6);
        break;
    case 1:
        s.Input.Coordinates = pick(2) ? TCoordinates::Polar : TCoordinates::Cartesian;
        break;
    case 2:
        s.Input.Document.Formulas[pick(DocumentFormulaCount)] = text();
        break;
    case 3:
        s.Input.Document.Numbers[pick(DocumentNumberCount)] =
            std::ldexp(static_cast<double>(random()), pick(40) - 20);
        break;
    case 4:
        s.Input.Formula = text();
        break;
    case 5:
        if (pick(3) == 0)
            s.Input.List.clear();
        else if (pick(2) == 0 && !s.Input.List.empty())
            s.Input.List.pop_back();
        else
            s.Input.List.push_back(text());
        break;
    case 6:
        s.Input.Families[pick(3)] ^= true;
        s.Input.Grid ^= pick(2) == 0;
        break;
    case 7:
        s.Fields[pick(StateFieldCount)] = text();
        break;
    case 8:
        s.Colours.Values[pick(ColourBlockSize)] = random() & 0xFFFFFF;
        break;
    case 9:
        s.Animation.Loop ^= true;
        s.Animation.LastFrame = pick(1000);
        break;
    case 10:
        s.View.X1 = std::nextafter(s.View.X1, pick(2) ? 1e300 : -1e300);
        break;
    default:
        break; // no change: no step either
    }
}

TEST(History, TenThousandRandomEditsAreUndoneToTheFirstStateAndRedoneToTheLast) {
    std::mt19937 random(20261210);
    TStateHistory history(10000);
    TPlotState state;
    state.Input = DefaultPlotInput();
    history.Reset(state);
    std::vector<std::string> steps{StateBytes(state)}; // each state a step reached
    for (int k = 0; k < 10000; ++k) {
        const bool nested = random() % 4 == 0;
        if (nested) history.Begin("действие");
        RandomEdit(state, random);
        history.Edit(state, "правка");
        if (nested) {
            RandomEdit(state, random);
            history.End(state);
        }
        if (StateBytes(state) != steps.back()) steps.push_back(StateBytes(state));
    }
    ASSERT_EQ(history.Stack().count() + 1, static_cast<int>(steps.size()));
    std::string shown;
    history.Show = [&](const TPlotState& s) { shown = StateBytes(s); };
    for (size_t k = steps.size() - 1; k > 0; --k) {
        history.Undo();
        ASSERT_EQ(shown, steps[k - 1]) << "undo to step " << k - 1;
    }
    EXPECT_FALSE(history.CanUndo());
    for (size_t k = 1; k < steps.size(); ++k) {
        history.Redo();
        ASSERT_EQ(shown, steps[k]) << "redo to step " << k;
    }
    EXPECT_EQ(StateBytes(history.State()), StateBytes(state));
}

} // namespace
