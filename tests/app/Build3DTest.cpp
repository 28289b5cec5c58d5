// The 3D buttons of the main window with all the program's windows: which
// fields or document values each build reads, the colours each button
// draws, the 3D window it shows, and the builds it refuses.
#include "AppTestSupport.h"

#include "geometry3d/Buffers.h"
#include "view3d/ViewState.h"

namespace {

using Build3D = AllWindowsTest;

TEST_F(Build3D, TheSurfaceButtonBuildsTheDefaultGridAndShowsTheWindow) {
    // Made at start-up, hidden, over the plot area of the main window.
    EXPECT_FALSE(windows->Frm3D->isVisible());
    EXPECT_EQ(windows->Frm3D->pos(), form->frameGeometry().topLeft() + QPoint(24, 97 + 48));
    EXPECT_EQ(windows->Frm3D->size(), QSize(400, 400));
    form->N3DzxyClick();
    Type(form->Edit7, "sin(x)*cos(y)");
    form->Button8Click();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(SurfaceRows, 101);
    EXPECT_EQ(SurfaceCols, 101);
    EXPECT_TRUE(windows->Frm3D->isVisible());
    EXPECT_EQ(PlotDocument.Formulas[fsSurfaceZ], "sin(x)*cos(y)"); // captured
    EXPECT_NE(FormulaTrees[tsSurface], nullptr);
    const TSceneOptions scene = windows->Frm3D->SceneOptions();
    EXPECT_EQ(scene.Mode, pmSurface);
    EXPECT_TRUE(scene.Axes);
}

TEST_F(Build3D, EachButtonDrawsNewColoursAndARebuildKeepsThem) {
    form->N3DzxyClick();
    Type(form->Edit7, "x*y");
    form->Button8Click();
    const auto first = Coefficients();
    for (double c : first) {
        EXPECT_GE(c, 0);
        EXPECT_LT(c, 3);
    }
    form->BuildSurfaceZxy(); // as an animation frame rebuilds
    EXPECT_EQ(Coefficients(), first);
    form->Button8Click();
    EXPECT_NE(Coefficients(), first);

    form->N3DxyztClick();
    Type(form->Edit2, "t");
    Type(form->Edit6, "t");
    Type(form->Edit7, "t");
    const auto beforeCurve = Coefficients();
    form->Button9Click();
    EXPECT_NE(Coefficients(), beforeCurve);
    const auto curveColours = Coefficients();
    form->BuildCurve3D();
    EXPECT_EQ(Coefficients(), curveColours);
}

// Right after start the curve mode's fields hold the document's values as
// 15-digit texts: 201 points from the button, 200 from the document itself.
TEST_F(Build3D, TheCurveReadsTheFieldsInItsModeAndTheDocumentElsewhere) {
    form->N3DxyztClick();
    Type(form->Edit2, "cos(t)");
    Type(form->Edit6, "sin(t)");
    Type(form->Edit7, "t/5");
    form->Button9Click();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(CurveCount, 201);
    EXPECT_EQ(PlotDocument.Formulas[fsCurveZ], "t/5");
    // The trajectory camera starts on point 1, looking at point 2.
    EXPECT_EQ(CameraEye[0], static_cast<float>(CurvePoints[1].x));
    EXPECT_EQ(CameraCentre[1], static_cast<float>(CurvePoints[2].y));

    PlotDocument.Numbers[CurveTMax] = 6.283185307179586;
    PlotDocument.Numbers[CurveTStep] = 0.031415926535897934;
    form->N3DzxyClick();
    Type(form->Edit2, "not read here");
    form->BuildCurve3D();
    EXPECT_EQ(CurveCount, 200);
    EXPECT_EQ(CurvePoints[0].x, 1); // cos(0): the document's formula
}

// A curve of fewer than three points leaves the trajectory camera alone.
TEST_F(Build3D, AShortCurveDoesNotPlaceTheCamera) {
    form->N3DxyztClick();
    Type(form->Edit2, "t");
    Type(form->Edit6, "t");
    Type(form->Edit7, "t");
    Type(form->Edit3, "0");
    Type(form->Edit4, "1");
    Type(form->Edit5, "1");
    CameraEye[0] = 42;
    form->Button9Click();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(CurveCount, 2);
    EXPECT_EQ(CameraEye[0], 42);
}

TEST_F(Build3D, TheParametricButtonBuildsTheUnitSphere) {
    form->N3DxyzuvClick();
    Type(form->Edit2, "cos(u)*cos(v)");
    Type(form->Edit6, "sin(u)*cos(v)");
    Type(form->Edit7, "sin(v)");
    form->Button10Click();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(SurfaceRows, 21);
    EXPECT_EQ(SurfaceCols, 21);
    EXPECT_NEAR(SurfaceGrid[7][3].x * SurfaceGrid[7][3].x +
                    SurfaceGrid[7][3].y * SurfaceGrid[7][3].y +
                    SurfaceGrid[7][3].z * SurfaceGrid[7][3].z,
                1, 1e-12);
    EXPECT_TRUE(windows->Frm3D->isVisible());
}

TEST_F(Build3D, RefusedAndEmptyBuildsLeaveTheBuffersAndSayWhy) {
    form->N3DzxyClick();
    Type(form->Edit7, "x+y");
    form->Button8Click();
    ASSERT_EQ(SurfaceRows, 101);
    const double kept = SurfaceGrid[3][4].z;
    const struct {
        const char* name;
        const char* formula;
        const char* min;
        const char* max;
        const char* message; // the start of what the user reads, "" for nothing
    } cases[] = {
        {"far too many vertices", "x", "-1000000000000", "1000000000000", "Слишком много точек"},
        {"a maximum below the minimum", "x", "10", "-30", "Максимум диапазона меньше"},
        {"a malformed number", "x+1.2.3", "-10", "10", "'1.2.3' is not a valid"},
        {"an empty formula", "", "-10", "10", ""},
    };
    for (const auto& c : cases) {
        failures.clear();
        Type(form->Edit7, c.formula);
        Type(form->Edit3, c.min);
        Type(form->Edit4, c.max);
        RunCommand([&] { form->Button8Click(); });
        if (*c.message) {
            ASSERT_EQ(failures.size(), 1u) << c.name;
            EXPECT_EQ(failures[0].rfind(c.message, 0), 0u) << c.name << ": " << failures[0];
        } else {
            EXPECT_TRUE(failures.empty()) << c.name;
        }
        EXPECT_EQ(SurfaceRows, 101) << c.name;
        EXPECT_EQ(SurfaceCols, 101) << c.name;
        EXPECT_EQ(SurfaceGrid[3][4].z, kept) << c.name;
    }
}

TEST_F(Build3D, TheAxesItemSwitchesTheAxesOfThe3DWindow) {
    form->N3DzxyClick();
    EXPECT_TRUE(windows->Frm3D->SceneOptions().Axes);
    form->N6Click();
    EXPECT_FALSE(windows->Frm3D->SceneOptions().Axes);
    form->N3DFxyzClick();
    EXPECT_EQ(windows->Frm3D->SceneOptions().Mode, pmImplicit);
    form->N6Click();
    EXPECT_TRUE(windows->Frm3D->SceneOptions().Axes);
}

} // namespace
