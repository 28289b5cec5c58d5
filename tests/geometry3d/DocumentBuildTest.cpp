// The four 3D pictures built from a plot input alone, with no window: the
// requests take the formulas, ranges and steps of the document, and the
// builders fill their buffers from them.
#include "document/PlotFile.h"
#include "engine/Engine.h"
#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class NoProgress : public TScanProgress {
    bool Plane(double, double, double, double) override { return false; }
};

class DocumentBuild : public ::testing::Test {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        input = DefaultPlotInput();
    }
    void TearDown() override { FreeAllTrees(); }
    TPlotInput input;
};

TEST_F(DocumentBuild, TheSurfaceOverTheDocumentsRanges) {
    input.Document.Formulas[fsSurfaceZ] = "x-2*y";
    input.Document.Numbers[SurfYMax] = 0; // y from -10 to 0
    const TSurfaceRequest r = SurfaceRequest(input.Document);
    ASSERT_TRUE(BuildSurfaceZxy(r.Formula, r.Ranges));
    EXPECT_EQ(SurfaceRows, 101);
    EXPECT_EQ(SurfaceCols, 51);
    // Centred on the middle of the ranges, z as the formula gives it.
    const Vertex3D& corner = SurfaceGrid[100][0]; // x = 10, y = -10
    EXPECT_DOUBLE_EQ(corner.x, 10);
    EXPECT_DOUBLE_EQ(corner.y, -5);
    EXPECT_DOUBLE_EQ(corner.z, 30);
}

TEST_F(DocumentBuild, TheCurveAndThePatch) {
    input.Document.Formulas[fsCurveX] = "cos(t)";
    input.Document.Formulas[fsCurveY] = "sin(t)*2";
    input.Document.Formulas[fsCurveZ] = "t";
    const TCurveRequest c = CurveRequest(input.Document);
    ASSERT_TRUE(BuildCurve3D(c.X, c.Y, c.Z, c.TMin, c.TMax, c.TStep));
    // 0 ... 2 pi in steps of pi/100: the quotient 199.99... is truncated.
    EXPECT_EQ(CurveCount, 200);
    EXPECT_NEAR(CurvePoints[50].y, 2, 1e-12);
    EXPECT_NEAR(CurvePoints[50].z, 3.141592653589793 / 2, 1e-12);

    input.Document.Formulas[fsPatchX] = "u";
    input.Document.Formulas[fsPatchY] = "v";
    input.Document.Formulas[fsPatchZ] = "u*v";
    const TPatchRequest p = PatchRequest(input.Document);
    ASSERT_TRUE(BuildParametricSurface(p.X, p.Y, p.Z, p.Ranges));
    EXPECT_EQ(SurfaceRows, 21); // -pi ... pi in steps of pi/10
    EXPECT_EQ(SurfaceCols, 21);
    EXPECT_NEAR(SurfaceGrid[0][20].z, -9.869604401089358, 1e-12); // u = -pi, v = pi
}

// The sphere of radius 2 in the default rows: every point lies on it within
// the diagonal of a grid cell, and the families the input leaves out are not
// scanned.
TEST_F(DocumentBuild, TheImplicitSurfaceWithTheInputsFamilies) {
    input.Document.Formulas[fsImplicitF] = "x^2+y^2+z^2-4";
    NoProgress progress;
    ASSERT_TRUE(BuildLevelPoints(ImplicitRequest(input), progress).Built);
    const int all = LevelPointCount;
    EXPECT_GT(all, 1000);
    for (int i = 0; i < LevelPointCount; ++i) {
        const Vertex3D& v = LevelPoints[i];
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 2, 0.15) << i;
    }
    input.Families[1] = input.Families[2] = false;
    BuildLevelPoints(ImplicitRequest(input), progress);
    EXPECT_GT(LevelPointCount, 0);
    EXPECT_LT(LevelPointCount, all / 2);
}

// A plot file gives the same input as the window would capture from it.
TEST_F(DocumentBuild, APlotFileGivesItsPictureInput) {
    TPlotFileRecord record;
    SetDocumentDefaults(input.Document);
    for (int k = 0; k < DocumentNumberCount; ++k)
        record.Numbers[k] = input.Document.Numbers[k];
    record.Mode = 0x7F00 | pmYx; // the upper bytes are not read
    record.Cartesian = false;
    record.MainFormula = "sin(x)";
    record.FormulaList[0] = "1";
    record.FormulaList[3] = "x";
    record.AllFormulas = true;
    record.Numbers[YxPolarStep] = std::nan("");
    const TPlotInput fromFile = InputFromRecord(record);
    EXPECT_EQ(fromFile.Mode, pmYx);
    EXPECT_EQ(fromFile.Coordinates, TCoordinates::Polar);
    EXPECT_EQ(fromFile.Formula, "sin(x)");
    EXPECT_EQ(fromFile.List, (std::vector<std::string>{"1", "x"}));
    EXPECT_TRUE(fromFile.AllFormulas);
    EXPECT_EQ(fromFile.Document.Numbers[YxPolarStep], 0.01); // the default for a NaN
}

} // namespace
