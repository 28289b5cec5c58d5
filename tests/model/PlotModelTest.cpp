// The record a save writes of the window's state, and when two records
// hold the same document.
#include "model/Parameters.h"
#include "model/PlotModel.h"

#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TPlotState Typed() {
    TPlotState s;
    s.Input = DefaultPlotInput();
    s.Input.Formula = std::string(150, 'x');
    for (int k = 0; k < 12; ++k)
        s.Input.List.push_back("x+" + std::to_string(k));
    s.Input.Document.Formulas[fsSurfaceZ] = "ж" + std::string(120, '1'); // 121 characters
    s.Fields[1] = "2";
    s.X0Result = "4";
    s.Animation.Loop = true;
    return s;
}

TEST(PlotModel, TheRecordOfAStateHoldsWhatTheFileCanHold) {
    DecimalSeparatorChar = '.';
    const TPlotFileRecord r = RecordOfState(Typed(), true);
    EXPECT_EQ(r.MainFormula, std::string(100, 'x'));
    EXPECT_EQ(r.FormulaList[PlotFileListSlots - 1], "x+" + std::to_string(PlotFileListSlots - 1));
    EXPECT_EQ(r.Formulas[fsSurfaceZ], "ж" + std::string(99, '1')); // characters, not bytes
    EXPECT_EQ(r.X0, 2);
    EXPECT_EQ(r.ResultText, "4");
    EXPECT_TRUE(r.LoopAnimation);
    EXPECT_TRUE(r.Cartesian);
    EXPECT_EQ(r.Mode, pmYx);
    // An x0 not yet evaluated stops a save, but not the title's check.
    TPlotState unevaluated = Typed();
    unevaluated.Fields[1] = "2*pi";
    EXPECT_THROW(RecordOfState(unevaluated, true), ConversionError);
    EXPECT_EQ(RecordOfState(unevaluated, false).X0, 0);
}

TEST(PlotModel, WhatCountsAsTheSameDocument) {
    DecimalSeparatorChar = '.';
    TPlotModel model;
    const TPlotState saved = Typed();
    model.SavedRecord = RecordOfState(saved, false);
    model.SavedX0 = saved.Fields[1];
    model.SavedBeyond = BeyondRecord(saved);
    const struct {
        const char* name;
        void (*change)(TPlotState&);
        bool same;
    } rows[] = {
        {"the y(x0) result", [](TPlotState& s) { s.X0Result = "5"; }, true},
        {"beyond 15 digits",
         [](TPlotState& s) {
             double& n = s.Input.Document.Numbers[SurfXStep];
             n = std::nextafter(n, 1.0);
         },
         true},
        {"beyond 100 characters", [](TPlotState& s) { s.Input.Formula += "y"; }, true},
        {"the view", [](TPlotState& s) { s.View.X1 = 3; }, true},
        {"the 15th digit", [](TPlotState& s) { s.Input.Document.Numbers[SurfXStep] += 1e-14; },
         false},
        {"a list item", [](TPlotState& s) { s.Input.List[3] = "y"; }, false},
        {"the x0 field", [](TPlotState& s) { s.Fields[1] = "3"; }, false},
        {"the loop", [](TPlotState& s) { s.Animation.Loop = false; }, false},
        {"the coordinates", [](TPlotState& s) { s.Input.Coordinates = TCoordinates::Polar; },
         false},
    };
    for (const auto& row : rows) {
        TPlotState changed = saved;
        row.change(changed);
        EXPECT_EQ(StateIsSaved(model, changed), row.same) << row.name;
    }
}

TEST(PlotModel, TheTitleNamesTheDocument) {
    const struct {
        const char* file;
        bool modified;
        const char* title;
    } cases[] = {
        {"", false, "Графики функций"},
        {"", true, "Без имени[*] — Графики функций"},
        {"/home/u/plots/sine.mth", false, "sine.mth[*] — Графики функций"},
        {"/home/u/plots/sine.mth", true, "sine.mth[*] — Графики функций"},
    };
    for (const auto& c : cases) {
        TPlotModel model;
        model.FileName = c.file;
        EXPECT_EQ(WindowTitle(model, c.modified).toStdString(), c.title) << c.file << c.modified;
    }
}

// Undo shows a state through the globals and takes the next one from them:
// what goes in comes out, bit for bit.
TEST(PlotModel, TheGlobalsTakeAStateAndGiveItBack) {
    TPlotState s;
    s.Input = DefaultPlotInput();
    s.Input.Document.Formulas[fsSurfaceZ] = std::string(150, 'x'); // longer than the document keeps
    s.Input.Document.Numbers[SurfXStep] = 0.1 + 1e-17;
    s.Colours = DefaultColours();
    s.Colours.Values[13] ^= 0x10203;
    s.Colouring = {0.5, -0.25, 1, 2, 3, 4};
    s.Animation = {-7, 9, 40, true, true, 3};
    s.View = {-5, 5, -std::nextafter(5.0, 6.0), 5.5};
    TPlotModel model;
    model.State = s;
    ApplyGlobals(model, s);
    ApplyView(s.View);
    EXPECT_EQ(PlotDocument.Formulas[fsSurfaceZ], std::string(100, 'x'));
    EXPECT_TRUE(SameState(StateWithGlobals(model), s));
    EXPECT_EQ(StateWithGlobals(model).View.Y1, -std::nextafter(5.0, 6.0));
    // A formula changed in the document since (a build of another text) is the document's.
    PlotDocument.Formulas[fsSurfaceZ] = "y";
    EXPECT_EQ(TypedDocument(model).Formulas[fsSurfaceZ], "y");
}

// A save keeps each graph's style with its formula, wherever the list has
// moved it since, and gives a new graph the pen of its place.
TEST(PlotModel, EachGraphKeepsItsStyleThroughChangesOfTheList) {
    TPlotState s;
    for (const char* f : {"a", "b", "c"}) {
        TGraphStyle g;
        g.Formula = f;
        g.Name = std::string("name of ") + f;
        g.Width = 3;
        s.Styles.push_back(g);
    }
    s.Legend = true;
    s.Input = DefaultPlotInput();
    s.Colours = DefaultColours();
    s.Colours.Values[3 + 2] = 0x123456; // the pen of list item 2
    s.Input.List = {"c", "x", "a"};     // "b" removed, "x" added, "c" moved up
    TDocumentFile kept;
    kept.Unknown = R"({"theme": "dark"})";
    s.Input.Parameters = {NewParameter("a")};
    s.Input.Parameters[0].Value = 2;
    const TDocumentFile d = DocumentOfState(s, kept, false);
    ASSERT_EQ(d.Graphs.size(), 3u);
    EXPECT_EQ(d.Graphs[0].Name, "name of c");
    EXPECT_EQ(d.Graphs[1].Name, "");
    EXPECT_EQ(d.Graphs[1].Width, 1);
    EXPECT_EQ(d.Graphs[1].Colour, 0x123456u);
    EXPECT_EQ(d.Graphs[2].Name, "name of a");
    EXPECT_TRUE(d.Legend);
    EXPECT_EQ(d.Unknown, kept.Unknown);
    ASSERT_EQ(d.Parameters.size(), 1u);
    EXPECT_EQ(d.Parameters[0].Value, 2);
    // What counts as a change: a style of a graph in the list, or the
    // legend; not the style of the graph no longer there.
    TPlotModel model;
    model.SavedRecord = RecordOfState(s, false);
    model.SavedX0 = s.Fields[1];
    model.SavedBeyond = BeyondRecord(s);
    const struct {
        const char* name;
        void (*change)(TPlotState&);
        bool same;
    } rows[] = {
        {"the removed graph's name", [](TPlotState& t) { t.Styles[1].Name = "b"; }, true},
        {"a listed graph's width", [](TPlotState& t) { t.Styles[2].Width = 4; }, false},
        {"a listed graph's visibility", [](TPlotState& t) { t.Styles[0].Visible = false; }, false},
        {"the legend", [](TPlotState& t) { t.Legend = false; }, false},
        {"a style for the new graph",
         [](TPlotState& t) {
             TGraphStyle g;
             g.Formula = "x";
             g.Style = TLineStyle::Dot;
             t.Styles.push_back(g);
         },
         false},
    };
    for (const auto& r : rows) {
        TPlotState t = s;
        r.change(t);
        EXPECT_EQ(StateIsSaved(model, t), r.same) << r.name;
    }
}

TEST(PlotModel, AChangeBeyondTheTenthGraphIsAChange) {
    TPlotState s;
    s.Input = DefaultPlotInput();
    for (int k = 0; k < 12; ++k)
        s.Input.List.push_back("x+" + std::to_string(k));
    TPlotModel model;
    model.SavedRecord = RecordOfState(s, false);
    model.SavedX0 = s.Fields[1];
    model.SavedBeyond = BeyondRecord(s);
    EXPECT_TRUE(StateIsSaved(model, s));
    s.Input.List[11] = "x";
    EXPECT_FALSE(StateIsSaved(model, s));
    s.Input.List.resize(11);
    EXPECT_FALSE(StateIsSaved(model, s));
}

} // namespace
