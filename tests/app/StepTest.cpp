// The step, the parameter range and the pens of each kind of 2D graph, as the
// user meets them through the window: what the step field shows after a
// build and which pixels the graph covers.
#include "AppTestSupport.h"

#include <cmath>

namespace {

constexpr QRgb Blue = 0xFF0000FF;

struct Pixel {
    int x, y;
};

class Steps : public WindowTest {
  protected:
    bool IsBlue(Pixel p) const {
        return (form->PaintBox1->Picture.pixel(p.x, p.y) | 0xFF000000) == Blue;
    }
    // The pixel of the world point at radius r and angle a.
    static Pixel OnCircle(double r, double a) {
        return {WorldToPixelX(r * std::cos(a)), WorldToPixelY(r * std::sin(a))};
    }
};

// y = x*x near x = 0.5 (column 210): the curve passes row 195 (y = 0.25);
// with step 1 the chord from (0, 0) to (1, 1) passes row 190 (y = 0.5).
TEST_F(Steps, CartesianStepFollowsTheMinimalStepSwitch) {
    const struct {
        const char* name;
        bool minimal;
        const char* typed;
        const char* shown; // Edit5 after the build
        bool onCurve;      // (210, 195) drawn
        bool onChord;      // (210, 190) drawn
    } cases[] = {
        {"minimal step on: one pixel column", true, "1", "0.0499999999999989", true, false},
        {"off: a coarse step is kept", false, "1", "1", false, true},
        {"off: never finer than a pixel", false, "0.001", "0.0499999999999989", true, false},
        {"off: zero becomes the pixel width", false, "0", "0.0499999999999989", true, false},
    };
    for (const auto& c : cases) {
        Open(QLocale(QLocale::C));
        form->ComboBox1->setEditText("x*x");
        form->CheckBox9->setChecked(c.minimal);
        Type(form->Edit5, c.typed);
        form->Button2Click();
        EXPECT_EQ(Text(form->Edit5), c.shown) << c.name;
        EXPECT_EQ(IsBlue({210, 195}), c.onCurve) << c.name;
        EXPECT_EQ(IsBlue({210, 190}), c.onChord) << c.name;
        EXPECT_TRUE(failures.empty()) << c.name;
    }
}

// The document keeps the step the field shows after the build, not the one
// typed before the pixel rule replaced it, so that a save holds what is seen.
TEST_F(Steps, TheDocumentKeepsTheStepTheFieldShows) {
    Type(form->Edit5, "0.001");
    form->Button2Click();
    EXPECT_EQ(Text(form->Edit5), "0.0499999999999989");
    EXPECT_EQ(PlotDocument.Numbers[YxCartStep], 0.0499999999999989);
    Type(form->Edit5, "0.5");
    form->CheckBox9->setChecked(false);
    form->Button2Click();
    EXPECT_EQ(PlotDocument.Numbers[YxCartStep], 0.5); // a coarser step stays as typed
}

// r = 5 in polar coordinates: the point at angle 0.5 lies on the circle; with
// the angle step 1 the chord between the samples at 0 and 1 passes 0.6 inside.
TEST_F(Steps, PolarGraphsUseTheTypedStepAndAngleRange) {
    const struct {
        const char* name;
        const char* from;
        const char* to;
        const char* step;
        bool atHalf;   // the circle's point at angle 0.5
        bool atTop;    // at angle pi/2
        bool atBottom; // at angle 3 pi / 2
    } cases[] = {
        {"fine step: the whole circle", "0", "6.3", "0.01", true, true, true},
        {"a step finer than a pixel is kept", "0", "6.3", "0.001", true, true, true},
        {"step 1: chords", "0", "6.3", "1", false, false, false},
        {"upper half only", "0", "3.15", "0.01", true, true, false},
        {"lower half only", "3.14", "6.3", "0.01", false, false, true},
        {"zero step: nothing", "0", "6.3", "0", false, false, false},
    };
    for (const auto& c : cases) {
        Open(QLocale(QLocale::C));
        form->RadioButton2->setChecked(true);
        form->ComboBox1->setEditText("5");
        Type(form->Edit3, c.from);
        Type(form->Edit4, c.to);
        Type(form->Edit5, c.step);
        form->Button2Click();
        EXPECT_EQ(Text(form->Edit5), c.step) << c.name; // the pixel rule is cartesian only
        EXPECT_EQ(IsBlue(OnCircle(5, 0.5)), c.atHalf) << c.name;
        EXPECT_EQ(IsBlue(OnCircle(5, 1.5707963267948966)), c.atTop) << c.name;
        EXPECT_EQ(IsBlue(OnCircle(5, 4.71238898038469)), c.atBottom) << c.name;
        EXPECT_EQ(PlotDocument.Numbers[YxPolarStep], std::stod(c.step)) << c.name;
    }
}

TEST_F(Steps, ParametricCurvesUseTheTypedStepAndRange) {
    const struct {
        const char* name;
        bool polar;
        const char* x;
        const char* y;
        const char* from;
        const char* to;
        const char* step;
        bool atHalf, atTop, atBottom;
    } cases[] = {
        {"cartesian circle", false, "5*cos(t)", "5*sin(t)", "0", "6.3", "0.01", true, true, true},
        {"cartesian, step 1", false, "5*cos(t)", "5*sin(t)", "0", "6.3", "1", false, false, false},
        {"cartesian, upper half", false, "5*cos(t)", "5*sin(t)", "0", "3.15", "0.01", true, true,
         false},
        {"polar circle", true, "t", "5", "0", "6.3", "0.001", true, true, true},
        {"polar, step 1", true, "t", "5", "0", "6.3", "1", false, false, false},
        {"polar, lower half", true, "t", "5", "3.14", "6.3", "0.01", false, false, true},
    };
    for (const auto& c : cases) {
        Open(QLocale(QLocale::C));
        form->N2DxytClick();
        if (c.polar) form->RadioButton2->setChecked(true);
        Type(form->Edit2, c.x);
        Type(form->Edit6, c.y);
        Type(form->Edit3, c.from);
        Type(form->Edit4, c.to);
        Type(form->Edit5, c.step);
        form->Button2Click();
        EXPECT_EQ(Text(form->Edit5), c.step) << c.name;
        EXPECT_EQ(IsBlue(OnCircle(5, 0.5)), c.atHalf) << c.name;
        EXPECT_EQ(IsBlue(OnCircle(5, 1.5707963267948966)), c.atTop) << c.name;
        EXPECT_EQ(IsBlue(OnCircle(5, 4.71238898038469)), c.atBottom) << c.name;
        EXPECT_TRUE(failures.empty()) << c.name;
    }
}

// The list items 2, 4, 6 are horizontal lines at rows 160, 120 and 80.
TEST_F(Steps, EachListItemTakesThePenOfItsSlot) {
    const TColorValue pens[] = {0x00FFFF /* yellow */, 0x0000FF /* red */, 0x00FF00 /* lime */,
                                0xFF00FF /* magenta */};
    for (int s = 0; s < 4; ++s)
        GraphColors[s] = pens[s];
    for (const char* item : {"2", "4", "6"}) {
        form->ComboBox1->setEditText(item);
        form->Button5Click();
    }
    form->ComboBox1->setEditText("-2"); // the single formula: row 240
    auto colourAt = [&](int row) { return form->PaintBox1->Picture.pixel(100, row) & 0xFFFFFF; };

    form->Button2Click();
    EXPECT_EQ(colourAt(240), 0xFFFF00u); // graph 0 (yellow as RGB)
    EXPECT_NE(colourAt(160), 0xFF0000u);

    form->CheckBox1->setChecked(true);
    form->Button2Click();
    EXPECT_EQ(colourAt(160), 0xFF0000u); // item 1: graph 1
    EXPECT_EQ(colourAt(120), 0x00FF00u); // item 2: graph 2
    EXPECT_EQ(colourAt(80), 0xFF00FFu);  // item 3: graph 3
    EXPECT_NE(colourAt(240), 0xFFFF00u); // the formula box is not drawn
    ApplyColours(DefaultColours());
}

} // namespace

namespace {

// Polar and parametric curves of absurdly many samples: one clear message,
// and the picture stays as it was.
TEST_F(Steps, CurvesOfTooManySamplesAreRefusedWithAMessage) {
    for (const bool parametric : {false, true}) {
        Open(QLocale(QLocale::C));
        if (parametric) {
            form->N2DxytClick();
            Type(form->Edit2, "t");
            Type(form->Edit6, "t");
        } else {
            form->ComboBox1->setEditText("1");
        }
        form->RadioButton2->setChecked(true);
        const QImage before = form->PaintBox1->Picture;
        failures.clear();
        Type(form->Edit3, "0");
        Type(form->Edit4, "1000000");
        Type(form->Edit5, "0.01");
        form->Button2Click();
        ASSERT_EQ(failures.size(), 1u) << parametric;
        EXPECT_EQ(failures[0].rfind("Слишком много точек", 0), 0u) << failures[0];
        EXPECT_EQ(form->PaintBox1->Picture, before) << parametric;
    }
}

} // namespace
