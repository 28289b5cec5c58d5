// The graphs of a picture as the analysis numbers them: 0 for the formula
// box, 1 … 10 for the list, none outside y(x) in cartesian coordinates.
#include "model/GraphAnalysis.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

namespace {

struct TGraphRow {
    int Number;
    std::string Formula;
    bool operator==(const TGraphRow&) const = default;
};

std::vector<TGraphRow> GraphsOf(const TPlotInput& input, bool& analysed) {
    ViewFromInput(input);
    TYxTrees trees;
    const TPlotRequest request = PictureRequest(input, false, trees);
    TGraphAnalysis analysis(
        nullptr, [] {}, [](const std::optional<TGraphAnalysis::TInfo>&) {});
    analysed = analysis.ShownInput(input, request);
    std::vector<TGraphRow> rows;
    for (const auto& g : analysis.Graphs())
        rows.push_back({g.Number, g.Formula.toStdString()});
    FreeAllTrees();
    return rows;
}

TEST(GraphAnalysis, TheGraphsArePickedAndNumberedAsTheWindowShowsThem) {
    DecimalSeparatorChar = '.';
    TPlotInput yx;
    SetDocumentDefaults(yx.Document);
    yx.Mode = pmYx;
    yx.Formula = "x";
    yx.List = {"x^2", "sin(x)"};
    TPlotInput all = yx;
    all.AllFormulas = true;
    TPlotInput polar = yx;
    polar.Coordinates = TCoordinates::Polar;
    TPlotInput plane = yx;
    plane.Mode = pmPlane;
    TPlotInput surface = yx;
    surface.Mode = pmSurface;
    const struct {
        const char* name;
        const TPlotInput& input;
        bool analysed;
        std::vector<TGraphRow> graphs;
    } cases[] = {
        {"the box", yx, true, {{0, "x"}}}, {"the list", all, true, {{1, "x^2"}, {2, "sin(x)"}}},
        {"polar", polar, true, {}},        {"parametric", plane, true, {}},
        {"3D", surface, false, {}},
    };
    for (const auto& c : cases) {
        bool analysed = !c.analysed;
        EXPECT_EQ(GraphsOf(c.input, analysed), c.graphs) << c.name;
        EXPECT_EQ(analysed, c.analysed) << c.name;
    }
}

} // namespace
