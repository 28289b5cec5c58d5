// The scan of an implicit surface: where its points lie, which families and
// planes it visits, how it stops, and the scans it refuses.
#include "geometry3d/Implicit.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

namespace {

// Progress that counts the planes and stops when `stop` says so.
class Recorder : public TScanProgress {
  public:
    int Planes = 0;
    bool Started = false, Ended = false;
    std::function<bool(int)> Stop = [](int) { return false; };
    std::function<void()> During;
    void Start() override { Started = true; }
    bool Plane(double weight, double step, double, double) override {
        EXPECT_NEAR(weight, 1.0 / 3, 1e-15);
        EXPECT_GT(step, 0);
        ++Planes;
        if (During) During();
        return Stop(Planes);
    }
    void End() override { Ended = true; }
};

TImplicitRequest DefaultRequest(const char* formula) {
    TImplicitRequest r;
    r.Formula = formula;
    for (auto& row : r.Rows)
        row = {-5, 5, 0.1, 0.5};
    return r;
}

class Implicit : public ::testing::Test {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        SeedRandom(4);
        RandomiseColourCoeffs(1.3);
    }
    void TearDown() override { FreeAllTrees(); }
};

TEST_F(Implicit, TheDefaultSphereLiesOnLevelLinesOfThreeFamilies) {
    Recorder progress;
    const TLevelResult result = BuildLevelPoints(DefaultRequest("x^2+y^2+z^2-4"), progress);
    ASSERT_TRUE(result.Built);
    EXPECT_FALSE(result.Stopped);
    EXPECT_TRUE(progress.Started && progress.Ended);
    EXPECT_EQ(progress.Planes, 3 * 21); // -5 .. 5 in steps of 0.5, three families
    ASSERT_EQ(LevelPointCount, static_cast<std::int32_t>(LevelPoints.size()));
    // About 80 r points in a plane cut in a circle of radius r (40 lines
    // across it in each direction, two crossings each): 958 per family, and
    // the points where the sphere touches the outer planes.
    EXPECT_EQ(LevelPointCount, 2916);
    std::set<double> planesX, planesZ;
    for (const Vertex3D& v : LevelPoints) {
        const double r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        EXPECT_LE(std::fabs(r - 2), 0.1) << v.x << " " << v.y << " " << v.z;
        for (double c : {v.r, v.g, v.b}) {
            EXPECT_GE(c, 0);
            EXPECT_LE(c, 1);
        }
        // Each point lies in a plane of its family: one coordinate on the grid of 0.5.
        const bool onX = std::fmod(std::fabs(v.x), 0.5) == 0;
        const bool onY = std::fmod(std::fabs(v.y), 0.5) == 0;
        const bool onZ = std::fmod(std::fabs(v.z), 0.5) == 0;
        EXPECT_TRUE(onX || onY || onZ);
        if (onX) planesX.insert(v.x);
        if (onZ) planesZ.insert(v.z);
    }
    EXPECT_EQ(planesX, (std::set<double>{-2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(planesZ.size(), 9u);
    // Colours: p = z + x, q = z + y.
    Vertex3D expected = LevelPoints[100];
    VertexColour(expected, static_cast<long double>(expected.z) + expected.x,
                 static_cast<long double>(expected.z) + expected.y);
    EXPECT_EQ(LevelPoints[100].g, expected.g);
}

TEST_F(Implicit, ALinearFormulaGivesAPointAtTheZeroSampleOnly) {
    TImplicitRequest r = DefaultRequest("x");
    for (auto& row : r.Rows)
        row = {-5, 5, 1, 1};
    r.Families[lfX] = r.Families[lfZ] = false; // planes y = const; x along both passes
    Recorder progress;
    ASSERT_TRUE(BuildLevelPoints(r, progress).Built);
    // Along x (the pass along P of the Y family): x = 0 gives a point at the
    // sample itself, x = 1 none (0 times 1 is no sign change): one point on
    // each of the 11 lines. Along z, x is 0 on the whole line x = 0: eleven
    // points. 22 per plane, 11 planes.
    EXPECT_EQ(LevelPointCount, 11 * 22);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_EQ(v.x, 0); // exact zeros: no offset
}

// A sign change is a sign change however small or large the values are: a
// product of two neighbouring samples would underflow to 0 or overflow.
TEST_F(Implicit, TinyAndHugeValuesCrossZeroLikeOrdinaryOnes) {
    auto count = [](const char* formula) {
        TImplicitRequest r = DefaultRequest(formula);
        for (auto& row : r.Rows)
            row = {-1, 1, 0.1, 0.5};
        Recorder progress;
        BuildLevelPoints(r, progress);
        return LevelPointCount;
    };
    const int plain = count("x-0.05");
    EXPECT_EQ(plain, 210);
    for (const char* formula :
         {"(x-0.05)*10^(-200)", "(x-0.05)*10^200", "(x-0.05)*10^(-310)", "(0.05-x)*10^300"})
        EXPECT_EQ(count(formula), plain) << formula;
}

TEST_F(Implicit, EachFamilyAlone) {
    for (const TLevelFamily family : {lfX, lfY, lfZ}) {
        TImplicitRequest r = DefaultRequest("x^2+y^2+z^2-4");
        for (int f = 0; f < 3; ++f)
            r.Families[f] = f == family;
        Recorder progress;
        ASSERT_TRUE(BuildLevelPoints(r, progress).Built);
        EXPECT_EQ(progress.Planes, 21) << family;
        ASSERT_GT(LevelPointCount, 0) << family;
        for (const Vertex3D& v : LevelPoints) {
            const double normal = family == lfX ? v.x : family == lfY ? v.y : v.z;
            EXPECT_EQ(std::fmod(std::fabs(normal), 0.5), 0) << family;
        }
    }
}

TEST_F(Implicit, CentringMovesThePointsToTheMiddleOfTheRanges) {
    TImplicitRequest r = DefaultRequest("(x-5)^2+(y-5)^2+(z-5)^2-4");
    for (auto& row : r.Rows)
        row = {0, 10, 0.1, 0.5};
    Recorder progress;
    BuildLevelPoints(r, progress);
    const int uncentred = LevelPointCount;
    double sum = 0;
    for (const Vertex3D& v : LevelPoints)
        sum += v.x;
    EXPECT_NEAR(sum / uncentred, 5, 0.1);
    r.Centre = true;
    BuildLevelPoints(r, progress);
    EXPECT_EQ(LevelPointCount, uncentred);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_LE(std::fabs(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z) - 2), 0.1);
}

TEST_F(Implicit, StoppingDuringTheFirstFamilyKeepsItsPointsAndSkipsTheOthers) {
    TImplicitRequest r = DefaultRequest("x^2+y^2+z^2-30");
    Recorder progress;
    progress.Stop = [](int planes) { return planes == 2; };
    const TLevelResult result = BuildLevelPoints(r, progress);
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(progress.Planes, 2);
    EXPECT_TRUE(progress.Ended);
    ASSERT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_TRUE(v.x == -5 || v.x == -4.5) << v.x; // the first two planes of X
}

TEST_F(Implicit, WhileTheScanRunsTheBufferIsEmptyAndTheTreesStay) {
    BuildLevelPoints(DefaultRequest("x^2+y^2+z^2-4"), *std::make_unique<Recorder>());
    ASSERT_GT(LevelPointCount, 0);
    Recorder progress;
    bool checked = false;
    progress.During = [&] {
        EXPECT_TRUE(LevelScanRunning);
        EXPECT_EQ(LevelPointCount, 0);
        EXPECT_TRUE(LevelPoints.empty());
        EXPECT_THROW(CompileFormula(0, "x"), TreesLocked);
        EXPECT_THROW(FreeAllTrees(), TreesLocked);
        checked = true;
    };
    progress.Stop = [](int) { return true; };
    BuildLevelPoints(DefaultRequest("x^2+y^2+z^2-4"), progress);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(LevelScanRunning);
    EXPECT_NO_THROW(FreeAllTrees());
}

// A sample where F has a domain error is no point, even right after a
// sample with a value: ln(-x) is 0 at x = -1 and has no value from x = 0 on,
// where the library gives 0 with the error.
TEST_F(Implicit, NoPointAtASampleWithADomainError) {
    TImplicitRequest r = DefaultRequest("ln(-x)+y*0+z*0");
    for (auto& row : r.Rows)
        row = {-1, 2, 0.5, 0.5};
    r.Families[lfX] = r.Families[lfZ] = false;
    Recorder progress;
    ASSERT_TRUE(BuildLevelPoints(r, progress).Built);
    EXPECT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        ASSERT_EQ(v.x, -1);
}

TEST_F(Implicit, NaNSamplesAreNeitherZerosNorSignChanges) {
    // inf - inf is NaN at every sample, without a domain error.
    TImplicitRequest r = DefaultRequest("exp(1000+x*0)-exp(1000)");
    Recorder progress;
    ASSERT_TRUE(BuildLevelPoints(r, progress).Built);
    EXPECT_EQ(LevelPointCount, 0);
    // NaN only where x > 0, x - 1 elsewhere: the zero at x = 1 lies in the NaN part.
    r.Formula = "x-1+sqrt(x-x)*0+(exp(1000+x)-exp(1000+x))*sign(x)";
    BuildLevelPoints(r, progress);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_LE(v.x, 0);
}

TEST_F(Implicit, RefusedScansChangeNothing) {
    Recorder first;
    BuildLevelPoints(DefaultRequest("x^2+y^2+z^2-4"), first);
    const int count = LevelPointCount;
    const struct {
        const char* name;
        int axis;
        TAxisRow row;
    } cases[] = {
        {"zero step along a line", 1, {-5, 5, 0, 0.5}},
        {"negative step along a line", 2, {-5, 5, -0.1, 0.5}},
        {"zero step between planes", 0, {-5, 5, 0.1, 0}},
        {"negative step between planes", 0, {-5, 5, 0.1, -0.5}},
        {"NaN step", 0, {-5, 5, std::nan(""), 0.5}},
        {"a plane of too many samples", 1, {-5, 5, 1e-5, 0.5}},
    };
    for (const auto& c : cases) {
        TImplicitRequest r = DefaultRequest("x^2+y^2+z^2-4");
        r.Rows[c.axis] = c.row;
        Recorder progress;
        EXPECT_THROW(BuildLevelPoints(r, progress), BuildRefused) << c.name;
        EXPECT_FALSE(progress.Started) << c.name;
        EXPECT_EQ(LevelPointCount, count) << c.name;
        EXPECT_FALSE(LevelScanRunning) << c.name;
    }
    // A row that no checked family uses may hold anything.
    TImplicitRequest r = DefaultRequest("z");
    r.Rows[0] = {-5, 5, 0, 0}; // X: the normal of family X, in the planes of Y and Z
    r.Families[lfX] = r.Families[lfY] = r.Families[lfZ] = false;
    Recorder none;
    EXPECT_TRUE(BuildLevelPoints(r, none).Built);
    EXPECT_EQ(LevelPointCount, 0);
    // An empty formula builds nothing.
    Recorder empty;
    EXPECT_FALSE(BuildLevelPoints(DefaultRequest(""), empty).Built);
    EXPECT_FALSE(empty.Started);
}

TEST_F(Implicit, TheBufferStopsGrowingAtTheBound) {
    // F = 0 everywhere: a point at every sample of every line.
    TImplicitRequest r = DefaultRequest("0");
    for (auto& row : r.Rows)
        row = {-5, 5, 0.01, 0.01};
    Recorder progress;
    const TLevelResult result = BuildLevelPoints(r, progress);
    EXPECT_TRUE(result.AtBound);
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(LevelPointCount, MaxVertices);
    EXPECT_LT(progress.Planes, 10);
}

} // namespace
