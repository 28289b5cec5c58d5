// Relations proven pixel by pixel, against their closed forms: a pixel drawn
// true must hold a point of the relation (geometry says where), a pixel
// proven false must hold none, and the proofs finish.
#include "plot2d/Prover.h"

#include "engine/Relation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// The view -10 .. 10 both ways in 200 x 200 pixels.
constexpr int Side = 200;
constexpr double Pixel = 20.0 / Side;

struct TBox {
    double X1, X2, Y1, Y2;
};
TBox BoxOf(int i, int j) {
    return {-10 + i * Pixel, -10 + (i + 1) * Pixel, 10 - (j + 1) * Pixel, 10 - j * Pixel};
}

class Prover : public ::testing::Test {
  protected:
    void SetUp() override { DecimalSeparatorChar = '.'; }
    TProof Proof(const char* text, int threads = 2, bool polar = false) {
        const auto split = SplitRelation(text);
        EXPECT_TRUE(split.has_value()) << text;
        left_ = CompileTree(split->Left);
        right_ = CompileTree(split->Right);
        TProof proof;
        proof.Grid = {Side, Side, -10, 10, Pixel, Pixel};
        TRelationTrees relation{left_.get(), right_.get(), split->Op};
        relation.Polar = polar, relation.FiMin = 0, relation.FiMax = 6.283185307179586;
        Prove(relation, proof, TProofClock::now() + std::chrono::seconds(60), threads);
        return proof;
    }
    // Every pixel in `state` passes `rule` on its box; returns how many there are.
    static int Each(const TProof& p, TPixelState state, const std::function<bool(TBox)>& rule,
                    const char* what) {
        int count = 0;
        for (int j = 0; j < Side; ++j)
            for (int i = 0; i < Side; ++i)
                if (p.At(i, j) == state) {
                    ++count;
                    EXPECT_TRUE(rule(BoxOf(i, j))) << what << " at pixel " << i << ", " << j;
                }
        return count;
    }
    // The nearest and farthest distances of the box from the origin.
    static double Near(TBox b) {
        const double x = std::max({b.X1, -b.X2, 0.0}), y = std::max({b.Y1, -b.Y2, 0.0});
        return std::hypot(x, y);
    }
    static double Far(TBox b) {
        return std::hypot(std::max(std::fabs(b.X1), std::fabs(b.X2)),
                          std::max(std::fabs(b.Y1), std::fabs(b.Y2)));
    }

  private:
    TTreePtr left_, right_;
};

TEST_F(Prover, TheCircleIsThinAndComplete) {
    const TProof p = Proof("x^2+y^2=16");
    EXPECT_TRUE(p.Finished);
    // Drawn only where the circle passes, and nothing where it does not.
    Each(
        p, TPixelState::True, [](TBox b) { return Near(b) <= 4 && 4 <= Far(b); }, "true");
    Each(
        p, TPixelState::False, [](TBox b) { return !(Near(b) < 4 && 4 < Far(b)); }, "false");
    // Every pixel the circle crosses in its inside is drawn: no gap.
    for (int k = 0; k < 4000; ++k) {
        const double a = k * 2 * 3.141592653589793 / 4000;
        const int i = static_cast<int>(std::floor((4 * std::cos(a) + 10) / Pixel));
        const int j = static_cast<int>(std::floor((10 - 4 * std::sin(a)) / Pixel));
        const TBox b = BoxOf(i, j);
        if (Near(b) < 4 - 1e-9 && 4 + 1e-9 < Far(b)) {
            EXPECT_EQ(p.At(i, j), TPixelState::True) << i << ", " << j;
        }
    }
}

TEST_F(Prover, AnInequalityIsShadedUnderItsCurve) {
    const TProof p = Proof("y<sin(x)*3");
    EXPECT_TRUE(p.Finished);
    // sin over the box: its lowest and highest values, within the box's x.
    const auto low = [](TBox b) {
        double m = 3;
        for (int k = 0; k <= 64; ++k)
            m = std::min(m, 3 * std::sin(b.X1 + (b.X2 - b.X1) * k / 64));
        return m;
    };
    const auto high = [](TBox b) {
        double m = -3;
        for (int k = 0; k <= 64; ++k)
            m = std::max(m, 3 * std::sin(b.X1 + (b.X2 - b.X1) * k / 64));
        return m;
    };
    const int inside = Each(
        p, TPixelState::Inside, [&](TBox b) { return b.Y1 < high(b) + 1e-3; }, "inside");
    EXPECT_GT(inside, Side * Side / 3);
    Each(
        p, TPixelState::False, [&](TBox b) { return b.Y1 >= low(b) - 1e-3; }, "false");
    // Wholly under the curve is inside; wholly over it is false.
    for (int j = 0; j < Side; ++j)
        for (int i = 0; i < Side; ++i) {
            const TBox b = BoxOf(i, j);
            if (b.Y2 < low(b) - 1e-3) {
                EXPECT_EQ(p.At(i, j), TPixelState::Inside) << i << ", " << j;
            }
            if (b.Y1 > high(b) + 1e-3) {
                EXPECT_EQ(p.At(i, j), TPixelState::False) << i << ", " << j;
            }
        }
}

TEST_F(Prover, KnownAnswers) {
    {
        const TProof p = Proof("y=sqrt(x-3)*sqrt(1-x)"); // defined nowhere
        EXPECT_TRUE(p.Finished);
        EXPECT_EQ(Each(
                      p, TPixelState::False, [](TBox) { return true; }, ""),
                  Side * Side);
    }
    {
        const TProof p = Proof("81-x^2-y^2=abs(81-x^2-y^2)"); // the disc of radius 9
        EXPECT_TRUE(p.Finished);
        Each(
            p, TPixelState::True, [](TBox b) { return Near(b) <= 9; }, "true");
        Each(
            p, TPixelState::False, [](TBox b) { return Far(b) >= 9; }, "false");
        int inner = 0;
        for (int j = 0; j < Side; ++j)
            for (int i = 0; i < Side; ++i)
                if (Far(BoxOf(i, j)) < 9) {
                    ++inner;
                    EXPECT_EQ(p.At(i, j), TPixelState::True) << i << ", " << j;
                }
        EXPECT_GT(inner, 20000);
    }
    {
        const TProof p = Proof("y=sin(40/x)");
        Each(
            p, TPixelState::True, [](TBox b) { return b.Y1 <= 1 && b.Y2 >= -1; }, "true");
        // Near 0 the curve fills its band: every pixel of |x| < 0.5, |y| < 0.9.
        for (int j = 0; j < Side; ++j)
            for (int i = 0; i < Side; ++i) {
                const TBox b = BoxOf(i, j);
                if (b.X2 <= 0.5 && b.X1 >= -0.5 && b.Y2 <= 0.9 && b.Y1 >= -0.9) {
                    EXPECT_NE(p.At(i, j), TPixelState::False) << i << ", " << j;
                }
            }
    }
    {
        // Across the pole of 1/x the sign changes, but no point lies between;
        // the pole inside a pixel column.
        const TProof p = Proof("y=1/(x-0.05)");
        EXPECT_TRUE(p.Finished);
        const auto meets = [](TBox b) {
            const double x1 = b.X1 - 0.05, x2 = b.X2 - 0.05;
            const auto in = [&](double v) { return b.Y1 <= v && v <= b.Y2; };
            if (x1 > 0 || x2 < 0)
                return in(1 / x1) || in(1 / x2) ||
                       (std::min(1 / x1, 1 / x2) <= b.Y1 && b.Y2 <= std::max(1 / x1, 1 / x2));
            return b.Y2 >= 1 / x2 || b.Y1 <= 1 / x1;
        };
        EXPECT_GT(Each(p, TPixelState::True, meets, "true"), 300);
    }
    {
        // The pole at 3.001: the graph leaves through the top and the bottom edge.
        const TProof p = Proof("y=x*(x-3)/(x-3.001)");
        bool top = false, bottom = false;
        for (int i = 0; i < Side; ++i) {
            top = top || p.At(i, 0) == TPixelState::True;
            bottom = bottom || p.At(i, Side - 1) == TPixelState::True;
        }
        EXPECT_TRUE(top);
        EXPECT_TRUE(bottom);
    }
}

// A proof carried on in slices (as the window proves) ends as the proof in
// one go does, each slice carrying the last one on: even slices whose time
// is over before they begin, as on a machine too busy for any slice.
TEST_F(Prover, SlicesOfAProofEndAsTheWholeProof) {
    const TProof whole = Proof("sin(x^2+y^2)=cos(x*y)");
    const auto split = SplitRelation("sin(x^2+y^2)=cos(x*y)");
    TTreePtr left = CompileTree(split->Left), right = CompileTree(split->Right);
    TProof sliced;
    sliced.Grid = whole.Grid;
    int slices = 0;
    while (!sliced.Finished && slices < 100000) {
        Prove({left.get(), right.get(), split->Op}, sliced,
              TProofClock::now() - std::chrono::milliseconds(1), 2);
        ++slices;
    }
    EXPECT_TRUE(sliced.Finished) << slices << " slices";
    EXPECT_GT(slices, 5);
    EXPECT_TRUE(sliced.Pixels == whole.Pixels);
}

// In polar coordinates a relation is one of fi (x) and r (y): r = 4 and
// r = -4 are the circle of radius 4 (an equation takes r of either sign),
// r < 2 the disc of radius 2 (an inequality takes r >= 0).
TEST_F(Prover, PolarRelationsAreOfFiAndR) {
    for (const char* circle : {"y=4", "y=-4", "y^2=16"}) {
        const TProof p = Proof(circle, 2, true);
        EXPECT_TRUE(p.Finished) << circle;
        EXPECT_GT(
            Each(
                p, TPixelState::True, [](TBox b) { return Near(b) <= 4 && 4 <= Far(b); }, circle),
            300);
        Each(
            p, TPixelState::False, [](TBox b) { return !(Near(b) < 4 && 4 < Far(b)); }, circle);
        EXPECT_GT(p.Proven(), 0.999) << circle;
    }
    const TProof disc = Proof("y<2", 2, true);
    for (int j = 0; j < Side; ++j)
        for (int i = 0; i < Side; ++i) {
            const TBox b = BoxOf(i, j);
            if (Far(b) < 2 - 1e-9) {
                EXPECT_EQ(disc.At(i, j), TPixelState::Inside) << i << ", " << j;
            }
            if (Near(b) > 2 + 1e-9) { // not touching the circle at a corner
                EXPECT_EQ(disc.At(i, j), TPixelState::False) << i << ", " << j;
            }
        }
}

// The same proof on one thread and on three.
TEST_F(Prover, AnyNumberOfThreadsProvesTheSame) {
    const TProof one = Proof("sin(x^2+y^2)=cos(x*y)", 1);
    const TProof three = Proof("sin(x^2+y^2)=cos(x*y)", 3);
    EXPECT_TRUE(one.Pixels == three.Pixels);
    EXPECT_GT(one.Proven(), 0.99);
}

} // namespace
