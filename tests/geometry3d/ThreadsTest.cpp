// Builds split across threads give, bit for bit, what one thread gives: the
// same points in the same order, the same flags, and the main thread's cells
// and error flag left as one thread leaves them, with any thread count and
// a cancel at any plane.
#include "engine/Arith80.h"
#include "engine/Engine.h"
#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

class StopAt : public TScanProgress {
  public:
    explicit StopAt(int plane) : stop_(plane) {}
    bool Plane(double, double, double, double) override { return ++planes_ == stop_; }

  private:
    int stop_, planes_ = 0;
};

// Everything a build leaves behind that a user or a later build can see.
struct TOutcome {
    std::vector<unsigned char> Bytes; // the buffer, bit for bit
    std::int64_t Count = 0;
    bool Stopped = false, AtBound = false;
    double X = 0, Y = 0, Z = 0, U = 0, V = 0;
    bool Error = false;
    bool operator==(const TOutcome&) const = default;
};

template <typename T> std::vector<unsigned char> BytesOf(const std::vector<T>& v) {
    std::vector<unsigned char> b(v.size() * sizeof(T));
    if (!v.empty()) std::memcpy(b.data(), v.data(), b.size());
    return b;
}

TOutcome Leftover(TOutcome o) {
    o.X = VarX, o.Y = VarY, o.Z = VarZ, o.U = VarU, o.V = VarV, o.Error = EvalError;
    return o;
}

void FreshCells() {
    VarX = VarY = VarZ = VarU = VarV = 0;
    VarT = 0.375, VarF = 3; // cells the builds do not set, which formulas may read
    EvalError = false;
    SeedRandom(7);
}

TOutcome Implicit(const TImplicitRequest& r, int threads, int stopAt) {
    SetBuildThreads(threads);
    FreshCells();
    StopAt progress(stopAt);
    const TLevelResult result = BuildLevelPoints(r, progress);
    SetBuildThreads(0);
    TOutcome o;
    o.Bytes = BytesOf(LevelPoints);
    o.Count = LevelPointCount;
    o.Stopped = result.Stopped;
    o.AtBound = result.AtBound;
    return Leftover(o);
}

TOutcome Surface(const std::function<bool()>& build, int threads) {
    SetBuildThreads(threads);
    FreshCells();
    EXPECT_TRUE(build());
    SetBuildThreads(0);
    TOutcome o;
    for (const auto& row : SurfaceGrid) {
        const auto b = BytesOf(row);
        o.Bytes.insert(o.Bytes.end(), b.begin(), b.end());
    }
    o.Count = static_cast<std::int64_t>(SurfaceRows) * SurfaceCols;
    return Leftover(o);
}

TEST(Threads, TheImplicitScanIsTheSameOnAnyNumberOfThreads) {
    const struct {
        const char* formula;
        TAxisRow rows[3];
        bool families[3];
    } cases[] = {
        {"x^2+y^2+z^2-4",
         {{-3, 3, 0.1, 0.25}, {-3, 3, 0.1, 0.25}, {-3, 3, 0.1, 0.25}},
         {true, true, true}},
        // Domain errors: points only where F has a value; the last sample's
        // error flag is left behind.
        {"sqrt(x)+ln(y)-z",
         {{-1, 2, 0.07, 0.3}, {-1, 2, 0.05, 0.2}, {-1, 2, 0.1, 0.4}},
         {true, false, true}},
        {"1/(x-y)+z",
         {{-2, 2, 0.1, 0.3}, {-2, 2, 0.1, 0.3}, {-2, 2, 0.1, 0.3}},
         {false, true, true}},
        // Random draws: their order is the result, so one thread runs them.
        {"x^2+y^2+z^2-rand(9)",
         {{-3, 3, 0.2, 0.5}, {-3, 3, 0.2, 0.5}, {-3, 3, 0.2, 0.5}},
         {true, true, true}},
        // Fewer planes than threads.
        {"x-y*z+t*f/4",
         {{0, 0.2, 0.05, 0.3}, {-1, 1, 0.05, 0.5}, {-1, 1, 0.05, 0.5}},
         {true, false, false}},
    };
    std::mt19937 pick(11);
    for (const auto& c : cases) {
        TImplicitRequest r;
        r.Formula = c.formula;
        for (int a = 0; a < 3; ++a) {
            r.Rows[a] = c.rows[a];
            r.Families[a] = c.families[a];
        }
        const TOutcome whole = Implicit(r, 1, -1);
        ASSERT_GT(whole.Count, 0) << c.formula;
        // A cancel at a random plane, and at the first.
        const int planes = 3 * 30;
        const int stops[] = {-1, 1, 2, static_cast<int>(pick() % planes) + 1};
        for (const int stop : stops) {
            const TOutcome one = stop < 0 ? whole : Implicit(r, 1, stop);
            for (const int threads : {2, 3, 7})
                EXPECT_TRUE(Implicit(r, threads, stop) == one)
                    << c.formula << ", " << threads << " threads, stop at plane " << stop;
        }
    }
}

TEST(Threads, SurfacesAreTheSameOnAnyNumberOfThreads) {
    const struct {
        const char* name;
        std::function<bool()> build;
    } cases[] = {
        {"z(x,y)",
         [] {
             return BuildSurfaceZxy("sin(x)*cos(y)*3", {-10, 10, 0.5, -10, 10, 0.25});
         }},
        {"z(x,y) with errors",
         [] {
             return BuildSurfaceZxy("sqrt(x*y)/(x-y)", {-3, 3, 0.3, -3, 3, 0.2});
         }},
        {"z(x,y) of one row",
         [] {
             return BuildSurfaceZxy("x+y", {1, 1, 1, -1, 1, 0.5});
         }},
        // A cell that the build does not set keeps its value in every thread.
        {"z(x,y) reading t",
         [] {
             return BuildSurfaceZxy("x+y*t", {1, 3, 0.5, -1, 1, 0.5});
         }},
        {"z(x,y) drawing random numbers",
         [] {
             return BuildSurfaceZxy("rand(100)+x", {-2, 2, 0.5, -2, 2, 0.5});
         }},
        {"x(u,v),y(u,v),z(u,v)",
         [] {
             return BuildParametricSurface("cos(u)*cos(v)*8", "sin(u)*cos(v)*8", "ln(v)",
                                           {-3.2, 3.2, 0.1, -1.6, 1.6, 0.1});
         }},
    };
    for (const auto& c : cases) {
        const TOutcome one = Surface(c.build, 1);
        for (const int threads : {2, 3, 7})
            EXPECT_TRUE(Surface(c.build, threads) == one)
                << c.name << ", " << threads << " threads";
    }
}

// The rows of one thread are the points evaluated one by one, in turn, by
// the tree walk: the same bits, the random draws in the same order (x, y, z
// of each point for a parametric surface), and the error flag left set when
// any sample had an error, even in an early row only.
TEST(Threads, OneThreadsRowsAreThePointsInTurn) {
    const auto same = [](double a, double b) {
        return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
    };
    const auto values = [](double min, double max, double step) {
        std::vector<double> v;
        for (long double n = std::nearbyint((static_cast<long double>(max) - min) / step) + 1;
             n-- > 0;)
            v.push_back(v.empty() ? min : Advance(v.back(), step));
        return v;
    };
    const struct {
        const char* z;
        TGridRanges xy;
        bool error;
    } surfaces[] = {
        {"sqrt(x)*y+1/(y-0.5)", {-1, 1, 0.25, -1, 1, 0.125}, true}, // errors in early rows
        {"x*y-rand(5)", {-1, 1, 0.5, -1, 1, 0.25}, false},
    };
    for (const auto& c : surfaces) {
        SetBuildThreads(1);
        FreshCells();
        ASSERT_TRUE(BuildSurfaceZxy(c.z, c.xy));
        SetBuildThreads(0);
        EXPECT_EQ(EvalError, c.error) << c.z;
        const TTreePtr tree = CompileTree(c.z);
        SeedRandom(7);
        const auto xs = values(c.xy.Min1, c.xy.Max1, c.xy.Step1);
        const auto ys = values(c.xy.Min2, c.xy.Max2, c.xy.Step2);
        ASSERT_EQ(SurfaceGrid.size(), xs.size()) << c.z;
        for (std::size_t i = 0; i < xs.size(); ++i)
            for (std::size_t j = 0; j < ys.size(); ++j) {
                VarX = xs[i], VarY = ys[j];
                const double z = engine::EvalTreeWalk(tree.get());
                ASSERT_TRUE(same(SurfaceGrid[i][j].z, z))
                    << c.z << " at " << xs[i] << ", " << ys[j];
            }
    }
    const char* const patches[][3] = {{"ln(u)+v", "v/u", "u*v"},
                                      {"rand(1)+u", "rand(2)", "v-rand(3)"}};
    for (const auto& f : patches) {
        const TGridRanges uv{-1, 1, 0.5, 0, 1, 0.25};
        SetBuildThreads(1);
        FreshCells();
        ASSERT_TRUE(BuildParametricSurface(f[0], f[1], f[2], uv));
        SetBuildThreads(0);
        EXPECT_EQ(EvalError, f[0][0] == 'l') << f[0]; // ln(u) of u <= 0 in the first rows
        const TTreePtr trees[] = {CompileTree(f[0]), CompileTree(f[1]), CompileTree(f[2])};
        SeedRandom(7);
        const auto us = values(uv.Min1, uv.Max1, uv.Step1);
        const auto vs = values(uv.Min2, uv.Max2, uv.Step2);
        for (std::size_t i = 0; i < us.size(); ++i)
            for (std::size_t j = 0; j < vs.size(); ++j) {
                VarU = us[i], VarV = vs[j];
                const double x = engine::EvalTreeWalk(trees[0].get());
                const double y = engine::EvalTreeWalk(trees[1].get());
                const double z = engine::EvalTreeWalk(trees[2].get());
                const Vertex3D& p = SurfaceGrid[i][j];
                ASSERT_TRUE(same(p.x, x) && same(p.y, y) && same(p.z, z))
                    << f[0] << " at " << us[i] << ", " << vs[j];
            }
    }
}

// Two threads evaluating different trees at once, each in its own context,
// get each tree's own values and errors.
TEST(Threads, EachContextKeepsItsOwnCellsAndErrors) {
    TEvalContext a, b;
    const TTreePtr fa = CompileTree("sqrt(x)*y", a);
    const TTreePtr fb = CompileTree("1/x+y*y", b);
    std::vector<double> va(2000), vb(2000);
    std::vector<char> ea(2000), eb(2000);
    const auto run = [](TEvalContext& c, const TExprNode* f, std::vector<double>& v,
                        std::vector<char>& e, double sign) {
        const TContextScope scope(c);
        for (std::size_t i = 0; i < v.size(); ++i) {
            c.X = sign * (static_cast<double>(i) - 1000) / 7;
            c.Y = static_cast<double>(i) / 3;
            c.Error = false;
            v[i] = EvalTree(f);
            e[i] = c.Error;
        }
    };
    {
        std::jthread ta([&] { run(a, fa.get(), va, ea, 1); });
        std::jthread tb([&] { run(b, fb.get(), vb, eb, -1); });
    }
    std::vector<double> wa(2000), wb(2000);
    std::vector<char> xa(2000), xb(2000);
    run(a, fa.get(), wa, xa, 1);
    run(b, fb.get(), wb, xb, -1);
    EXPECT_EQ(BytesOf(va), BytesOf(wa));
    EXPECT_EQ(va, wa);
    EXPECT_EQ(ea, xa);
    EXPECT_EQ(BytesOf(vb), BytesOf(wb));
    EXPECT_EQ(eb, xb);
    EXPECT_EQ(ea[0], 1);    // sqrt of a negative number
    EXPECT_EQ(eb[1000], 1); // 1/0
}

} // namespace
