// The interval evaluator against two references: the 80-bit tree walk at
// points of the box, and MPFI (correctly rounded interval arithmetic at 256
// bits) at the same points, which gives the exact value to far more digits
// than a double holds. Every value either finds must lie in the enclosure,
// and the enclosure's "defined everywhere" and "defined nowhere" must agree
// with where the tree walk flags errors.
#include "engine/Interval.h"
#include "TestSupport.h"
#include "engine/Engine.h"
#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <gtest/gtest.h>
#include <mpfi.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>

namespace {

// A value of MPFI at a point: the tight interval, or none where the formula
// is undefined there (or too near an edge of its domain to tell).
class TMpfi {
  public:
    TMpfi() { mpfi_init2(v_, 256); }
    ~TMpfi() { mpfi_clear(v_); }
    TMpfi(const TMpfi&) = delete;
    TMpfi& operator=(const TMpfi&) = delete;
    mpfi_t v_;
};

struct TReference {
    double X, Y;
    // Set where the value was too near an edge of a domain (or a jump of
    // sign) for 256 bits to tell which side it lies on.
    bool Unknown = false;
    bool Unsure() { return Unknown = true, false; }

    // The node's value into r; false where undefined.
    bool Node(const TExprNode* n, mpfi_t r) {
        switch (n->Kind) {
        case nkConstant:
            mpfi_set_d(r, n->Value);
            return true;
        case nkSum: {
            mpfi_set_d(r, 0);
            TMpfi v;
            for (const TExprNode* o = n->Child; o; o = o->Next) {
                if (!Node(o, v.v_)) return false;
                if (o->Positive)
                    mpfi_add(r, r, v.v_);
                else
                    mpfi_sub(r, r, v.v_);
            }
            return true;
        }
        case nkProduct: {
            mpfi_set_d(r, 1);
            TMpfi v;
            for (const TExprNode* o = n->Child; o; o = o->Next) {
                if (!Node(o, v.v_)) return false;
                if (o->Positive) {
                    mpfi_mul(r, r, v.v_);
                } else {
                    if (mpfi_is_zero(v.v_)) return false;
                    if (mpfi_has_zero(v.v_)) return Unsure();
                    mpfi_div(r, r, v.v_);
                }
            }
            return true;
        }
        case nkPower: {
            if (!Node(n->Child, r)) return false;
            TMpfi e;
            for (const TExprNode* o = n->Child->Next; o; o = o->Next) {
                if (!Node(o, e.v_) || !Power(r, e.v_)) return false;
            }
            return true;
        }
        case nkFunction:
            return Function(n, r);
        }
        return false;
    }

    // b^e: exp(e ln b) for b > 0, 0 for b = 0, +-|b|^e for b < 0 and an integer e.
    bool Power(mpfi_t b, mpfi_t e) {
        if (mpfi_is_zero(b)) return true;
        if (mpfi_has_zero(b)) return Unsure();
        const double n = mpfr_get_d(&e->left, MPFR_RNDN);
        if (mpfr_cmp(&e->left, &e->right) == 0 && n == std::trunc(n) && std::fabs(n) <= 64) {
            // Small integer powers by products, which stay exact where they can.
            TMpfi p;
            mpfi_set_d(p.v_, 1);
            for (int i = 0; i < std::fabs(n); ++i)
                mpfi_mul(p.v_, p.v_, b);
            if (n < 0) mpfi_inv(p.v_, p.v_);
            mpfi_set(b, p.v_);
            return true;
        }
        const bool negative = mpfi_is_strictly_neg(b);
        double integer = 0;
        if (negative) {
            if (mpfr_cmp(&e->left, &e->right) != 0) return Unsure();
            integer = mpfr_get_d(&e->left, MPFR_RNDN);
            if (integer != std::trunc(integer)) return false;
            if (std::fabs(integer) > 1e9) return Unsure();
            mpfi_neg(b, b);
        }
        mpfi_log(b, b);
        mpfi_mul(b, b, e);
        mpfi_exp(b, b);
        if (negative && std::fmod(integer, 2) != 0) mpfi_neg(b, b);
        return true;
    }

    bool Function(const TExprNode* n, mpfi_t r) {
        using namespace engine;
        if (n->Child == nullptr) {
            if (n->Func == ReadVarX) return mpfi_set_d(r, X), true;
            if (n->Func == ReadVarY) return mpfi_set_d(r, Y), true;
            return Unsure();
        }
        if (!Node(n->Child, r)) return false;
        const TUnaryFunc f = n->Func;
        const auto positive = [&] { return mpfi_is_strictly_pos(r) > 0; };
        if (f == FnSin) return mpfi_sin(r, r), true;
        if (f == FnCos) return mpfi_cos(r, r), true;
        if (f == FnTg || f == FnSec) {
            TMpfi c;
            mpfi_cos(c.v_, r);
            if (mpfi_has_zero(c.v_)) return Unsure();
            // 1 / cos rather than mpfi_sec, which leaks its numbers.
            return (f == FnTg ? mpfi_tan(r, r) : mpfi_inv(r, c.v_)), true;
        }
        if (f == FnCtg || f == FnCsec) {
            TMpfi s;
            mpfi_sin(s.v_, r);
            if (mpfi_is_zero(s.v_)) return false;
            if (mpfi_has_zero(s.v_)) return Unsure();
            return (f == FnCtg ? mpfi_cot(r, r) : mpfi_inv(r, s.v_)), true; // as mpfi_sec
        }
        if (f == FnAtg) return mpfi_atan(r, r), true;
        if (f == FnActg) {
            TMpfi half;
            mpfi_const_pi(half.v_);
            mpfi_div_ui(half.v_, half.v_, 2);
            mpfi_atan(r, r);
            return mpfi_sub(r, half.v_, r), true;
        }
        if (f == FnAsin || f == FnAcos) {
            if (mpfr_cmp_si(&r->right, -1) < 0 || mpfr_cmp_si(&r->left, 1) > 0) return false;
            if (mpfr_cmp_si(&r->left, -1) < 0 || mpfr_cmp_si(&r->right, 1) > 0) return Unsure();
            return (f == FnAsin ? mpfi_asin(r, r) : mpfi_acos(r, r)), true;
        }
        if (f == FnSh) return mpfi_sinh(r, r), true;
        if (f == FnCh) return mpfi_cosh(r, r), true;
        if (f == FnTh) return mpfi_tanh(r, r), true;
        if (f == FnCth) {
            if (mpfi_is_zero(r)) return false;
            if (mpfi_has_zero(r)) return Unsure();
            return mpfi_coth(r, r), true;
        }
        if (f == FnExp) return mpfi_exp(r, r), true;
        if (f == FnLn || f == FnLg) {
            if (mpfr_sgn(&r->right) <= 0) return false;
            if (!positive()) return Unsure();
            return (f == FnLn ? mpfi_log(r, r) : mpfi_log10(r, r)), true;
        }
        if (f == FnSqrt) {
            if (mpfr_sgn(&r->right) < 0) return false;
            if (mpfr_sgn(&r->left) < 0) return Unsure();
            return mpfi_sqrt(r, r), true;
        }
        if (f == FnSqr) return mpfi_sqr(r, r), true;
        if (f == FnAbs) return mpfi_abs(r, r), true;
        if (f == FnSign) {
            if (mpfi_has_zero(r) && !mpfi_is_zero(r)) return Unsure();
            return mpfi_set_si(r, mpfi_is_zero(r) ? 0 : mpfi_is_strictly_pos(r) ? 1 : -1), true;
        }
        return Unsure();
    }
};

class Interval : public ::testing::Test {
  protected:
    void SetUp() override { DecimalSeparatorChar = '.'; }
    void TearDown() override { FreeAllTrees(); }
};

TEST_F(Interval, EveryPointValueLiesInTheEnclosureOfItsBox) {
    TFormulas formulas(20261210);
    int checked = 0, referenced = 0, gaps = 0;
    for (int k = 0; k < 3000; ++k) {
        const std::string text = formulas.Next(4);
        TTreePtr tree = CompileTree(text);
        // Boxes from a point to a few units wide, some about 0 and the poles.
        const double x0 = formulas.Uniform(-4, 4), y0 = formulas.Uniform(-4, 4);
        const double w = k % 5 == 0 ? 0 : std::ldexp(1.0, -static_cast<int>(formulas.Below(30)));
        const double h = k % 7 == 0 ? 0 : std::ldexp(1.0, -static_cast<int>(formulas.Below(30)));
        const TIntervalBox box{TInterval::Of(x0, x0 + w), TInterval::Of(y0, y0 + h)};
        const TInterval enclosure = EvalInterval(tree.get(), box);
        if (enclosure.Continuous) {
            EXPECT_TRUE(enclosure.Defined) << text;
        }
        for (int i = 0; i < 12; ++i) {
            TReference at{i < 4 ? (i & 1 ? x0 + w : x0) : formulas.Uniform(x0, x0 + w),
                          i < 4 ? (i & 2 ? y0 + h : y0) : formulas.Uniform(y0, y0 + h)};
            VarX = at.X, VarY = at.Y, EvalError = false;
            const double v = engine::EvalTreeWalk(tree.get());
            const std::string where =
                text + " at (" + std::to_string(at.X) + ", " + std::to_string(at.Y) + ")";
            // (The tree walk also flags an overflow, as of sh(1000) in th; so
            // where the formula is undefined is MPFI's to say.)
            if (!EvalError && std::isfinite(v)) {
                EXPECT_FALSE(enclosure.Empty) << where;
                EXPECT_LE(enclosure.Lo, v) << where;
                EXPECT_GE(enclosure.Hi, v) << where;
                EXPECT_FALSE(v > enclosure.GapLo && v < enclosure.GapHi) << where << " in the gap";
                ++checked;
            }
            TMpfi exact;
            if (!at.Node(tree.get(), exact.v_)) {
                if (!at.Unknown) {
                    EXPECT_FALSE(enclosure.Defined) << where;
                }
                continue;
            }
            if (!mpfi_bounded_p(exact.v_)) continue;
            EXPECT_FALSE(enclosure.Empty) << where;
            EXPECT_GE(mpfr_cmp_d(&exact.v_->left, enclosure.Lo), 0) << where;
            EXPECT_LE(mpfr_cmp_d(&exact.v_->right, enclosure.Hi), 0) << where;
            if (enclosure.HasGap()) {
                EXPECT_FALSE(mpfr_cmp_d(&exact.v_->left, enclosure.GapLo) > 0 &&
                             mpfr_cmp_d(&exact.v_->right, enclosure.GapHi) < 0)
                    << where << " in the gap";
                ++gaps;
            }
            ++referenced;
        }
    }
    // Most points have values: the comparisons above were made.
    EXPECT_GT(checked, 10000);
    EXPECT_GT(referenced, 10000);
    EXPECT_GT(gaps, 100);
}

// Across a pole a quotient leaves a gap: within the true one (which holds no
// value), and as wide but for the given share (tg is sin / cos, each side
// enclosed on its own).
TEST_F(Interval, AcrossAPoleAQuotientLeavesAGap) {
    const struct {
        const char* formula;
        double x1, x2, gapLo, gapHi, share;
    } rows[] = {
        {"1/x", -1, 2, -1, 0.5, 1e-9},
        {"(-3)/x", -1, 2, -1.5, 3, 1e-9},
        {"tg(x)", 1.5, 1.6, std::tan(1.6), std::tan(1.5), 0.01},
    };
    for (const auto& r : rows) {
        TTreePtr tree = CompileTree(r.formula);
        const TInterval v =
            EvalInterval(tree.get(), {TInterval::Of(r.x1, r.x2), TInterval::Point(0)});
        ASSERT_TRUE(v.HasGap()) << r.formula;
        EXPECT_GE(v.GapLo, r.gapLo) << r.formula;
        EXPECT_LE(v.GapHi, r.gapHi) << r.formula;
        EXPECT_LE(v.GapLo, r.gapLo + r.share * std::fabs(r.gapLo)) << r.formula;
        EXPECT_GE(v.GapHi, r.gapHi - r.share * std::fabs(r.gapHi)) << r.formula;
    }
}

// Boxes whose answers are known in closed form.
TEST_F(Interval, WhereFormulasAreDefinedAndWhatTheyReach) {
    const double pi = 3.141592653589793;
    const struct {
        const char* formula;
        double x1, x2, y1, y2;
        bool empty, defined, continuous;
        // The enclosure holds [lo, hi], and where the formula is defined
        // everywhere it lies within 1e-9 of it.
        double lo, hi;
    } rows[] = {
        {"sqrt(x-3)*sqrt(1-x)", 1.5, 2.5, -10, 10, true, false, false, 0, 0},
        {"sqrt(x-3)*sqrt(1-x)", -10, 10, -10, 10, false, false, false, 0, 0}, // not seen whole
        {"x*x-2*x+1-(x-1)^2", 3, 3, 0, 0, false, true, true, 0, 0},           // exact at a point
        {"ln(x)", -2, 0, 0, 0, true, false, false, 0, 0},
        {"ln(x)", 1, std::exp(2.0), 0, 0, false, true, true, 0, 2},
        {"1/x", -1, 1, 0, 0, false, false, false, -HUGE_VAL, HUGE_VAL},
        {"1/x", 2, 4, 0, 0, false, true, true, 0.25, 0.5},
        {"tg(x)", 1, 2, 0, 0, false, false, false, -HUGE_VAL, HUGE_VAL},
        {"tg(x)", 0, pi / 4, 0, 0, false, true, true, 0, 1},
        {"sign(x)", -1, 1, 0, 0, false, true, false, -1, 1},
        {"sign(x)", 1, 2, 0, 0, false, true, true, 1, 1},
        {"x^2", -2, 3, 0, 0, false, true, true, 0, 9},
        {"x^(-1)", -1, 1, 0, 0, false, true, false, -HUGE_VAL, HUGE_VAL}, // 0^-1 is 0
        {"x^0", -1, 1, 0, 0, false, true, false, 0, 1},
        {"(-8)^(1/3)", 0, 0, 0, 0, true, false, false, 0, 0},
        {"x^y", -2, -1, 0.5, 0.75, true, false, false, 0, 0},
        {"asin(x)", 0, 2, 0, 0, false, false, false, 0, pi / 2},
        {"sin(x)*3-y", 0, pi, -1, 1, false, true, true, -1, 4},
        {"cth(x)", -1, 1, 0, 0, false, false, false, -HUGE_VAL, HUGE_VAL},
        {"lg(x)", 10, 1000, 0, 0, false, true, true, 1, 3},
    };
    for (const auto& r : rows) {
        TTreePtr tree = CompileTree(r.formula);
        const TInterval v =
            EvalInterval(tree.get(), {TInterval::Of(r.x1, r.x2), TInterval::Of(r.y1, r.y2)});
        EXPECT_EQ(v.Empty, r.empty) << r.formula;
        EXPECT_EQ(v.Defined, r.defined) << r.formula;
        EXPECT_EQ(v.Continuous, r.continuous) << r.formula;
        if (r.empty) continue;
        EXPECT_LE(v.Lo, r.lo) << r.formula;
        EXPECT_GE(v.Hi, r.hi) << r.formula;
        if (!r.defined) continue;
        if (std::isfinite(r.lo)) {
            EXPECT_GE(v.Lo, r.lo - 1e-9 * std::max(1.0, std::fabs(r.lo))) << r.formula;
        }
        if (std::isfinite(r.hi)) {
            EXPECT_LE(v.Hi, r.hi + 1e-9 * std::max(1.0, std::fabs(r.hi))) << r.formula;
        }
    }
}

} // namespace
