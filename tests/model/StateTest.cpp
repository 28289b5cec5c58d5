#include "model/History.h"
#include "model/PlotState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>

namespace {

TPlotState Start() {
    TPlotState s;
    s.Input = DefaultPlotInput();
    s.Fields[2] = "sin(x)";
    s.Colours = DefaultColours();
    s.View = {-5, 5, -5, 5};
    return s;
}

// Rows of changes, each of which the bytes must tell from the start.
struct TChangeRow {
    const char* Name;
    void (*Change)(TPlotState&);
};

const TChangeRow ChangeRows[] = {
    {"mode", [](TPlotState& s) { s.Input.Mode = pmSurface; }},
    {"coordinates", [](TPlotState& s) { s.Input.Coordinates = TCoordinates::Polar; }},
    {"formula slot", [](TPlotState& s) { s.Input.Document.Formulas[fsImplicitF] = "x^2"; }},
    {"number", [](TPlotState& s) { s.Input.Document.Numbers[SurfXStep] += 1e-15; }},
    {"negative zero", [](TPlotState& s) { s.Input.Document.Numbers[YxPhiMin] = -0.0; }},
    {"formula box", [](TPlotState& s) { s.Input.Formula = "cos(x)"; }},
    {"one empty list item", [](TPlotState& s) { s.Input.List.push_back(""); }},
    {"switch", [](TPlotState& s) { s.Input.Families[2] = false; }},
    {"field", [](TPlotState& s) { s.Fields[26] = "-5"; }},
    {"y(x0) result", [](TPlotState& s) { s.X0Result = "Error!"; }},
    {"colour", [](TPlotState& s) { s.Colours.Values[13] ^= 1; }},
    {"3D colouring", [](TPlotState& s) { s.Colouring[5] = 0.5; }},
    {"loop", [](TPlotState& s) { s.Animation.Loop = true; }},
    {"camera path", [](TPlotState& s) { s.Animation.CameraPath = true; }},
    {"frame interval", [](TPlotState& s) { s.Animation.FrameInterval = 40; }},
    {"view", [](TPlotState& s) { s.View.Y2 = std::nextafter(5.0, 6.0); }},
    {"legend", [](TPlotState& s) { s.Legend = true; }},
    {"a graph's style", [](TPlotState& s) { s.Styles.push_back(TGraphStyle{}); }},
    {"a style's name",
     [](TPlotState& s) {
         s.Styles.push_back(TGraphStyle{});
         s.Styles[0].Name = "парабола";
     }},
    {"a style's width",
     [](TPlotState& s) {
         s.Styles.push_back(TGraphStyle{});
         s.Styles[0].Width = 3;
     }},
};

TEST(PlotState, EveryMemberChangesTheBytesAndComesBack) {
    const TPlotState start = Start();
    for (const TChangeRow& row : ChangeRows) {
        SCOPED_TRACE(row.Name);
        TPlotState changed = start;
        row.Change(changed);
        EXPECT_FALSE(SameState(changed, start));
        EXPECT_EQ(StateBytes(StateFromBytes(StateBytes(changed))), StateBytes(changed));
    }
    // The same characters, placed differently: the lengths tell them apart.
    TPlotState a = start, b = start;
    a.Input.Formula = "ab";
    b.Input.Formula = "a";
    b.Input.List = {"b"};
    EXPECT_FALSE(SameState(a, b));
}

TEST(PlotState, NumbersComeBackBitForBit) {
    TPlotState s = Start();
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), -0.0,
                             std::numeric_limits<double>::denorm_min(), 0.1};
    for (size_t k = 0; k < std::size(values); ++k)
        s.Input.Document.Numbers[k] = values[k];
    const TPlotState back = StateFromBytes(StateBytes(s));
    for (size_t k = 0; k < std::size(values); ++k)
        EXPECT_EQ(std::memcmp(&back.Input.Document.Numbers[k], &values[k], sizeof(double)), 0) << k;
}

TEST(PlotState, BytesItDidNotWriteAreRefused) {
    const std::string bytes = StateBytes(Start());
    EXPECT_THROW(StateFromBytes(bytes.substr(0, bytes.size() - 1)), std::invalid_argument);
    EXPECT_THROW(StateFromBytes(bytes + '\0'), std::invalid_argument);
    EXPECT_THROW(StateFromBytes(""), std::invalid_argument);
    // The first formula's length (after the mode and the coordinates) far
    // beyond the bytes there are.
    std::string huge = bytes;
    huge[sizeof(int) + 1 + 3] = '\x7f';
    EXPECT_THROW(StateFromBytes(huge), std::invalid_argument);
}

} // namespace
