// The builders of the 3D buffers: counts, sample positions, centring,
// colours, and the builds they refuse without touching their buffer.
#include "geometry3d/Builders.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double Pi = 3.141592653589793;

class Builders : public ::testing::Test {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        SeedRandom(11);
        RandomiseColourCoeffs();
    }
    void TearDown() override { FreeAllTrees(); }
};

TEST_F(Builders, SampleCountsRoundOrTruncateTheQuotient) {
    const struct {
        double min, max, step;
        bool truncate;
        int count;
    } cases[] = {
        {0, 1, 0.3, false, 4}, // 3.33 rounds to 3
        {0, 2.5, 1, false, 3}, // 2.5: ties to even
        {0, 3.5, 1, false, 5}, // 3.5 rounds to 4, one sample beyond the maximum
        {-10, 10, 0.2, false, 101},
        {-1, 1, 1, false, 3},
        {2, 2, 0.5, false, 1}, // equal ends: one sample
        {0, 1, 0, false, 1},   // zero step: one sample
        {0, 0, 0, false, 1},
        {5, 4.8, 1, false, 1}, // below by less than half a step
        {5, 4, 1, false, 0},   // an empty grid
        {0, 1, 0.3, true, 4},  // 3.33 truncates to 3
        {0, 1, 0.25, true, 5},
        {0, 6.283185307179586, 0.031415926535897934, true, 200}, // just below 200
        {0, 6.28318530717959, 0.0314159265358979, true, 201},    // the fields' texts
        {0, 1, -0.5, true, -1},                                  // marker: refused
    };
    for (const auto& c : cases) {
        if (c.count < 0) {
            EXPECT_THROW(SampleCount(c.min, c.max, c.step, c.truncate), BuildRefused);
            continue;
        }
        EXPECT_EQ(SampleCount(c.min, c.max, c.step, c.truncate), c.count)
            << c.min << " " << c.max << " " << c.step;
    }
}

TEST_F(Builders, ACountBeyondTheBoundOrBelowZeroIsRefused) {
    const struct {
        const char* name;
        double min, max, step;
    } cases[] = {
        {"step far below the range", -10, 10, 1e-9},
        {"just past the bound", 0, static_cast<double>(MaxVertices), 1},
        {"a quotient beyond 64 bits", -1e300, 1e300, 1},
        {"maximum far below the minimum", 10, -10, 0.5},
    };
    for (const auto& c : cases)
        EXPECT_THROW(SampleCount(c.min, c.max, c.step, false), BuildRefused) << c.name;
    EXPECT_EQ(SampleCount(0, static_cast<double>(MaxVertices - 1), 1, false), MaxVertices);
}

TEST_F(Builders, SurfaceOfXPlusYOnAThreeByThreeGrid) {
    ASSERT_TRUE(BuildSurfaceZxy("x+y", {-1, 1, 1, 0, 2, 1}));
    ASSERT_EQ(SurfaceRows, 3);
    ASSERT_EQ(SurfaceCols, 3);
    ASSERT_EQ(SurfaceGrid.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(SurfaceGrid[i].size(), 3u);
        for (int j = 0; j < 3; ++j) {
            const Vertex3D& v = SurfaceGrid[i][j];
            EXPECT_EQ(v.x, -1 + i) << i << j; // centred on 0
            EXPECT_EQ(v.y, j - 1) << i << j;  // centred on 1
            EXPECT_EQ(v.z, (-1 + i) + j) << i << j;
        }
    }
    EXPECT_NE(FormulaTrees[tsSurface], nullptr); // the formula stays compiled
}

TEST_F(Builders, SurfaceSamplesByRepeatedAdditionAndIsCentred) {
    ASSERT_TRUE(BuildSurfaceZxy("x", {0, 1, 0.3, 5, 5, 1}));
    ASSERT_EQ(SurfaceRows, 4);
    ASSERT_EQ(SurfaceCols, 1);
    double x = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(SurfaceGrid[i][0].z, x) << i; // the raw value
        EXPECT_EQ(SurfaceGrid[i][0].x, static_cast<double>(static_cast<long double>(x) - 0.5));
        EXPECT_EQ(SurfaceGrid[i][0].y, 0);
        x = static_cast<double>(static_cast<long double>(x) + 0.3);
    }
    ASSERT_TRUE(BuildSurfaceZxy("1", {-10, 10, 0.2, -10, 10, 0.2}));
    EXPECT_EQ(SurfaceRows, 101);
    EXPECT_EQ(SurfaceCols, 101);
    EXPECT_NEAR(SurfaceGrid[0][0].x, -10, 1e-12);
    EXPECT_NEAR(SurfaceGrid[100][100].y, 10, 1e-12);
}

TEST_F(Builders, SurfaceColourFollowsHeightAlone) {
    ASSERT_TRUE(BuildSurfaceZxy("x*0", {-2, 2, 1, -2, 2, 1}));
    const double* c = ColourCoeffs;
    const Vertex3D& v = SurfaceGrid[1][3];
    EXPECT_NEAR(v.r, std::fabs(std::sin(c[1]) * std::cos(c[0])), 1e-15);
    EXPECT_NEAR(v.g, std::fabs(std::sin(c[3]) * std::cos(c[2])), 1e-15);
    EXPECT_NEAR(v.b, std::fabs(std::sin(c[5]) * std::cos(c[4])), 1e-15);
    for (const auto& row : SurfaceGrid)
        for (const Vertex3D& w : row) {
            EXPECT_EQ(w.r, v.r);
            EXPECT_EQ(w.b, v.b);
        }
}

TEST_F(Builders, ColoursLieInTheUnitRangeAndFollowTheRule) {
    for (double p : {-1e6, -3.5, 0.0, 0.25, 7.0, 1e12}) {
        Vertex3D v{};
        VertexColour(v, p, p / 2);
        for (double comp : {v.r, v.g, v.b}) {
            EXPECT_GE(comp, 0);
            EXPECT_LE(comp, 1);
        }
    }
    Vertex3D huge{};
    VertexColour(huge, 1e30L, 1e30L); // arguments beyond 2^63: no value, 0
    EXPECT_EQ(huge.r, 0);
    Vertex3D nan{};
    VertexColour(nan, std::numeric_limits<long double>::quiet_NaN(), 0);
    EXPECT_TRUE(std::isnan(nan.r) && std::isnan(nan.g) && std::isnan(nan.b));
    Vertex3D infinite{}; // infinite coordinates give NaN colours
    VertexColour(infinite, std::numeric_limits<long double>::infinity(), 1);
    EXPECT_TRUE(std::isnan(infinite.r) && std::isnan(infinite.g) && std::isnan(infinite.b));
}

TEST_F(Builders, CurvePointsFromTheStartWhileTheCountLasts) {
    ASSERT_TRUE(BuildCurve3D("t", "2*t", "0", 0, 1, 0.3));
    ASSERT_EQ(CurveCount, 4); // the end value 1 is not sampled
    ASSERT_EQ(CurvePoints.size(), 4u);
    EXPECT_EQ(CurvePoints[3].x, 0.8999999999999999); // 0.3 added three times
    EXPECT_EQ(CurvePoints[1].y, 0.6);
    ASSERT_TRUE(BuildCurve3D("t", "t", "t", 0, 1, 0.25));
    EXPECT_EQ(CurveCount, 5);
    EXPECT_EQ(CurvePoints[4].x, 1);
    // The document's defaults give 200 points, the fields' texts 201.
    ASSERT_TRUE(BuildCurve3D("cos(t)", "sin(t)", "t/5", 0, 2 * Pi, Pi / 100));
    EXPECT_EQ(CurveCount, 200);
    ASSERT_TRUE(BuildCurve3D("cos(t)", "sin(t)", "t/5", 0, 6.28318530717959, 0.0314159265358979));
    EXPECT_EQ(CurveCount, 201);
    // Colour: p = z - t + x, q = z - t + y.
    const Vertex3D& v = CurvePoints[7];
    Vertex3D expected = v;
    double tt = 0; // t of point 7

    for (int i = 0; i < 7; ++i)
        tt = static_cast<double>(static_cast<long double>(tt) + 0.0314159265358979);
    VertexColour(expected, static_cast<long double>(v.z) - tt + v.x,
                 static_cast<long double>(v.z) - tt + v.y);
    EXPECT_EQ(v.r, expected.r);
    EXPECT_EQ(v.g, expected.g);
    EXPECT_EQ(v.b, expected.b);
}

TEST_F(Builders, ParametricDefaultsGiveTheUnitSphere) {
    ASSERT_TRUE(BuildParametricSurface("cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)",
                                       {-Pi, Pi, Pi / 10, -Pi, Pi, Pi / 10}));
    ASSERT_EQ(SurfaceRows, 21);
    ASSERT_EQ(SurfaceCols, 21);
    for (const auto& row : SurfaceGrid)
        for (const Vertex3D& v : row)
            EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1, 1e-12);
    for (int j = 0; j < 21; ++j) { // u = -pi and u = pi: the same points
        EXPECT_NEAR(SurfaceGrid[0][j].x, SurfaceGrid[20][j].x, 1e-12);
        EXPECT_NEAR(SurfaceGrid[0][j].y, SurfaceGrid[20][j].y, 1e-12);
    }
}

TEST_F(Builders, AFlatParametricGridIsWhereItsFormulasPutIt) {
    ASSERT_TRUE(BuildParametricSurface("u", "v", "0", {1, 2, 0.5, -1, 0, 0.25}));
    ASSERT_EQ(SurfaceRows, 3);
    ASSERT_EQ(SurfaceCols, 5);
    EXPECT_EQ(SurfaceGrid[2][4].x, 2);
    EXPECT_EQ(SurfaceGrid[2][4].y, 0);
    EXPECT_EQ(SurfaceGrid[1][1].x, 1.5);
    EXPECT_EQ(SurfaceGrid[1][1].y, -0.75);
    Vertex3D expected = SurfaceGrid[1][1];
    VertexColour(expected, 0.75L, -1.5L); // p = z - y, q = z - x
    EXPECT_EQ(SurfaceGrid[1][1].r, expected.r);
    EXPECT_NE(SurfaceGrid[1][1].r, SurfaceGrid[2][4].r);
}

// What a build must leave alone when it builds nothing or is refused.
TEST_F(Builders, RefusedAndEmptyBuildsLeaveTheBuffersAsTheyWere) {
    ASSERT_TRUE(BuildSurfaceZxy("x*y", {-1, 1, 1, -1, 1, 1}));
    ASSERT_TRUE(BuildCurve3D("t", "t", "t", 0, 1, 0.5));
    const auto grid = SurfaceGrid;
    const auto curve = CurvePoints;
    const std::uint64_t surfaces = SurfaceGeneration, curves = CurveGeneration;
    const struct {
        const char* name;
        bool (*build)();
        bool throws;
    } cases[] = {
        {"empty z",
         [] {
             return BuildSurfaceZxy("", {-1, 1, 1, -1, 1, 1});
         },
         false},
        {"empty y(t)", [] { return BuildCurve3D("t", "", "t", 0, 1, 0.5); }, false},
        {"empty z(u,v)",
         [] {
             return BuildParametricSurface("u", "v", "", {0, 1, 1, 0, 1, 1});
         },
         false},
        {"malformed number",
         [] {
             return BuildSurfaceZxy("x+1.2.3", {-1, 1, 1, -1, 1, 1});
         },
         true},
        {"negative count",
         [] {
             return BuildSurfaceZxy("x", {10, -10, 1, -1, 1, 1});
         },
         true},
        {"too many vertices",
         [] {
             return BuildSurfaceZxy("x", {-10, 10, 1e-9, -1, 1, 1});
         },
         true},
        {"too many in all",
         [] {
             return BuildParametricSurface("u", "v", "0", {0, 3000, 1, 0, 3000, 1});
         },
         true},
        {"curve below its start", [] { return BuildCurve3D("t", "t", "t", 0, -5, 1); }, true},
        {"curve too long", [] { return BuildCurve3D("t", "t", "t", 0, 1e7, 1); }, true},
    };
    for (const auto& c : cases) {
        bool built = false;
        bool threw = false;
        try {
            built = c.build();
        } catch (const std::exception&) {
            threw = true;
        }
        EXPECT_FALSE(built) << c.name;
        EXPECT_EQ(threw, c.throws) << c.name;
        EXPECT_EQ(SurfaceRows, 3) << c.name;
        EXPECT_EQ(SurfaceCols, 3) << c.name;
        EXPECT_EQ(CurveCount, 3) << c.name;
        EXPECT_EQ(SurfaceGrid.size(), grid.size()) << c.name;
        EXPECT_EQ(SurfaceGrid[2][2].z, grid[2][2].z) << c.name;
        EXPECT_EQ(CurvePoints.size(), curve.size()) << c.name;
        EXPECT_EQ(SurfaceGeneration, surfaces) << c.name;
        EXPECT_EQ(CurveGeneration, curves) << c.name;
    }
}

TEST_F(Builders, AZeroStepTakesOneSample) {
    ASSERT_TRUE(BuildSurfaceZxy("x+y", {3, 7, 0, -2, 2, 1}));
    EXPECT_EQ(SurfaceRows, 1);
    EXPECT_EQ(SurfaceCols, 5);
    ASSERT_TRUE(BuildCurve3D("t", "t", "t", 4, 9, 0));
    EXPECT_EQ(CurveCount, 1);
    EXPECT_EQ(CurvePoints[0].x, 4);
}

TEST_F(Builders, DomainErrorsAreStoredAsTheyAre) {
    ASSERT_TRUE(BuildSurfaceZxy("1/(x-x)", {-1, 1, 1, -1, 1, 1}));
    for (const auto& row : SurfaceGrid)
        for (const Vertex3D& v : row)
            EXPECT_EQ(v.z, 0); // the engine's value of a failed division
    ASSERT_TRUE(BuildSurfaceZxy("1/(x*0+0.0)+ln(0)", {-1, 1, 1, -1, 1, 1}));
    EXPECT_EQ(SurfaceGrid[1][1].z, 0);
}

} // namespace
