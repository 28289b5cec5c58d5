// Fields that ask for absurd work, in every mode, and views at the limits of
// double: each build is refused with one message before it starts, and the
// window keeps fields that the next build can read.
#include "AppTestSupport.h"

#include <cmath>

namespace {

class AbsurdWork : public AllWindowsTest {
  protected:
    std::vector<std::string> RangeTexts() const {
        return {Text(form->Edit23), Text(form->Edit24), Text(form->Edit25), Text(form->Edit26)};
    }
    // Each range field holds a finite number in the program's own text.
    void ExpectReadableRanges(const std::string& context) const {
        for (const std::string& t : RangeTexts()) {
            double v = NAN;
            EXPECT_NO_THROW(v = StrToFloat(t)) << context << ": '" << t << "'";
            EXPECT_TRUE(std::isfinite(v)) << context << ": '" << t << "'";
        }
    }
};

TEST_F(AbsurdWork, BuildsOfBillionsOfSamplesAreRefusedInEveryMode) {
    const char* const tooMany = "Слишком много точек";
    const struct {
        const char* name;
        void (TForm1::*enter)();
        bool polar;
        std::vector<std::pair<int, const char*>> fields;
        void (TForm1::*build)();
        const char* message; // the start of what the user reads, "" for nothing
    } cases[] = {
        {"y(x) polar, a step of 1E-6",
         &TForm1::N2DyxClick,
         true,
         {{5, "0.000001"}},
         &TForm1::Button2Click,
         tooMany},
        {"y(x) polar, fi over the doubles",
         &TForm1::N2DyxClick,
         true,
         {{3, "-1E308"}, {4, "1.7E308"}, {5, "1"}},
         &TForm1::Button2Click,
         tooMany},
        // The cartesian walk never steps finer than a pixel: bounded, and drawn.
        {"y(x) cartesian, a step of 1E-300",
         &TForm1::N2DyxClick,
         false,
         {{5, "1E-300"}},
         &TForm1::Button2Click,
         ""},
        {"x(t),y(t), T up to a million",
         &TForm1::N2DxytClick,
         false,
         {{3, "0"}, {4, "1000000"}, {5, "0.01"}},
         &TForm1::Button2Click,
         tooMany},
        {"x(t),y(t) polar, T up to a million",
         &TForm1::N2DxytClick,
         true,
         {{3, "0"}, {4, "1000000"}, {5, "0.01"}},
         &TForm1::Button2Click,
         tooMany},
        {"x(t),y(t), T over the doubles",
         &TForm1::N2DxytClick,
         false,
         {{3, "-1E308"}, {4, "1.7E308"}, {5, "1E300"}},
         &TForm1::Button2Click,
         tooMany},
        {"z(x,y), a step of 1E-7",
         &TForm1::N3DzxyClick,
         false,
         {{7, "x"}, {5, "0.0000001"}},
         &TForm1::Button8Click,
         tooMany},
        {"z(x,y), y over the doubles",
         &TForm1::N3DzxyClick,
         false,
         {{7, "x"}, {8, "-1E308"}, {9, "1.7E308"}, {10, "1E300"}},
         &TForm1::Button8Click,
         tooMany},
        {"x(t),y(t),z(t), T up to a billion",
         &TForm1::N3DxyztClick,
         false,
         {{2, "t"}, {6, "t"}, {7, "t"}, {3, "0"}, {4, "1000000000"}, {5, "0.5"}},
         &TForm1::Button9Click,
         tooMany},
        {"x(u,v),y(u,v),z(u,v), a step of 1E-6",
         &TForm1::N3DxyzuvClick,
         false,
         {{2, "u"}, {6, "v"}, {7, "u"}, {5, "0.000001"}},
         &TForm1::Button10Click,
         tooMany},
        {"x(u,v),y(u,v),z(u,v), v over the doubles",
         &TForm1::N3DxyzuvClick,
         false,
         {{2, "u"}, {6, "v"}, {7, "u"}, {8, "-1E308"}, {9, "1.7E308"}},
         &TForm1::Button10Click,
         tooMany},
        {"F(x,y,z)=0, x over the doubles",
         &TForm1::N3DFxyzClick,
         false,
         {{7, "x+y+z"}, {11, "-1E308"}, {12, "1.7E308"}},
         &TForm1::Button11Click,
         tooMany},
    };
    for (const auto& c : cases) {
        SetDocumentDefaults(PlotDocument);
        std::invoke(c.enter, form);
        if (c.polar) form->RadioButton2->setChecked(true);
        if (c.enter == &TForm1::N2DyxClick) form->ComboBox1->setEditText("x");
        for (const auto& [edit, text] : c.fields)
            Type(form->EditN(edit), text);
        failures.clear();
        RunCommand([&] { std::invoke(c.build, form); });
        if (*c.message == 0) {
            EXPECT_TRUE(failures.empty()) << c.name << ": " << failures[0];
            continue;
        }
        ASSERT_EQ(failures.size(), 1u) << c.name;
        EXPECT_EQ(failures[0].rfind(c.message, 0), 0u) << c.name << ": " << failures[0];
    }
}

// With equal scales, x1 = -1E308 and x2 = 1.7E308 would make y2 overflow
// into a text no build can read: the view is refused once, the fields go
// back to the last good view, and the next build runs without a word.
TEST_F(AbsurdWork, AViewThatOverflowsIsRefusedAndTheLastGoodOneStays) {
    form->Button2Click();
    const auto before = RangeTexts();
    const double x1 = ViewX1, y2 = ViewY2;
    Type(form->Edit26, "-1E308");
    Type(form->Edit25, "1.7E308");
    form->Button2Click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Такой вид не помещается в числа", 0), 0u) << failures[0];
    EXPECT_EQ(RangeTexts(), before);
    EXPECT_EQ(ViewX1, x1);
    EXPECT_EQ(ViewY2, y2);
    form->Button2Click();
    EXPECT_EQ(failures.size(), 1u);
    // A view that fits, however wide, is taken.
    Type(form->Edit26, "-1E300");
    Type(form->Edit25, "1E300");
    form->Button2Click();
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(ViewX1, -1e300);
    ExpectReadableRanges("a wide view");
    // A left edge right of the right one is refused, with what to do.
    const auto wide = RangeTexts();
    Type(form->Edit26, "10");
    Type(form->Edit25, "-10");
    form->Button2Click();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[1].rfind("Левый край вида x1 = 10 правее правого x2 = -10: поменяйте их "
                                "местами.",
                                0),
              0u)
        << failures[1];
    EXPECT_EQ(RangeTexts(), wide);
}

// Zooming out and panning towards the limits stop at the last view that
// fits, with one message each time, never with a field of "INF".
TEST_F(AbsurdWork, ZoomAndPanStopAtTheLimitsOfDouble) {
    Type(form->Edit26, "-1E306");
    Type(form->Edit25, "1E306");
    form->Button2Click();
    ASSERT_TRUE(failures.empty());
    int clicks = 0;
    while (failures.empty() && clicks < 100) {
        form->Button4Click();
        ++clicks;
    }
    ASSERT_EQ(failures.size(), 1u) << "zooming out never stopped";
    EXPECT_GT(clicks, 1);
    ExpectReadableRanges("zoomed out");
    const double x1 = ViewX1;
    form->Button4Click();
    EXPECT_EQ(failures.size(), 2u); // refused again, and again said
    EXPECT_EQ(ViewX1, x1);
    // Zooming in from the widest view is always possible.
    form->Button3Click();
    EXPECT_EQ(failures.size(), 2u);
    EXPECT_GT(ViewX1, x1);
    const double zoomedIn = ViewX1;
    // Drags pan towards the limit until one would cross it: that drag is
    // refused with one message, however far the mouse goes on.
    int drags = 0;
    for (; failures.size() == 2 && drags < 100; ++drags) {
        form->PaintBox1MouseDown(TMouseButton::Left, 10, 200);
        for (int x = 20; x < 400; x += 10)
            form->PaintBox1MouseMove(x, 200);
        form->PaintBox1MouseUp(TMouseButton::Left);
    }
    EXPECT_EQ(failures.size(), 3u) << "panning never stopped";
    ExpectReadableRanges("panned");
    EXPECT_LT(ViewX1, zoomedIn); // the moves before the refused one were taken
    EXPECT_LT(ViewX1, -1e308);
}

} // namespace
