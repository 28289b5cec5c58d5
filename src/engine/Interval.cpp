#include "engine/Interval.h"

#include "engine/Arith80.h"
#include "engine/Library.h"

#include <boost/numeric/interval.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {

// Outward rounding without changing the processor's rounding mode: the
// error of each rounded +, -, * and / (and sqrt) is found exactly (by the
// two-sum and a fused multiply-add), and the bound on the side where the
// exact result lies moves one double outward; an exact result stays as it
// is. Where that cannot be told (an overflow, results near the subnormals)
// both bounds move. The library functions move 4 doubles outward, more than
// the largest error glibc documents for them on x86-64 (1 for sin, cos,
// tan, exp, log, atan, asin, acos; 2 for sinh, cosh, tanh). The rounding
// mode stays as every thread has it, so nothing else is affected.
struct TWidening {
    using unprotected_rounding = TWidening;
    static constexpr double Inf = std::numeric_limits<double>::infinity();
    // The next double below (above) v, as nextafter gives it, without its call.
    static double Below1(double v) {
        if (!(v > -Inf)) return v; // -inf and NaN stay
        if (v == 0) return -std::numeric_limits<double>::denorm_min();
        const auto bits = std::bit_cast<std::uint64_t>(v);
        return std::bit_cast<double>(v > 0 ? bits - 1 : bits + 1);
    }
    static double Above1(double v) { return -Below1(-v); }
    static double Down(double v, int units = 1) {
        for (int i = 0; i < units; ++i)
            v = Below1(v);
        return v;
    }
    static double Up(double v, int units = 1) {
        for (int i = 0; i < units; ++i)
            v = Above1(v);
        return v;
    }
    static constexpr int Library = 4;
    static constexpr double Tiny = 0x1p-960; // below it, an error may be lost to underflow
    static constexpr double Unknown = std::numeric_limits<double>::quiet_NaN();

    // The bound below (or above) the exact value r + e, where e is the exact
    // error of the rounded r, or NaN where it is not known.
    static double Below(double r, double e) {
        if (!(e == e) || !std::isfinite(r)) return Down(r);
        return e < 0 ? Down(r) : r;
    }
    static double Above(double r, double e) {
        if (!(e == e) || !std::isfinite(r)) return Up(r);
        return e > 0 ? Up(r) : r;
    }
    // The exact error of a product or quotient: none where an operand makes
    // it 0, unknown where the result is so small that it may have underflowed.
    static double ProductError(double x, double y) {
        if (x == 0 || y == 0) return 0;
        if (std::fabs(x * y) < Tiny) return Unknown;
        return std::fma(x, y, -(x * y));
    }
    static double SumError(double x, double y, double s) {
        const double b = s - x;
        return (x - (s - b)) + (y - b);
    }
    static double QuotientError(double x, double y, double q) {
        if (x == 0 && y != 0) return 0;
        if (std::fabs(q) < Tiny || std::fabs(x) < Tiny) return Unknown;
        const double rest = std::fma(-q, y, x); // x - q y, exactly
        return y > 0 ? rest : -rest;
    }

    void init() {}
    template <class U> double conv_down(const U& v) { return Down(static_cast<double>(v)); }
    template <class U> double conv_up(const U& v) { return Up(static_cast<double>(v)); }
    double add_down(double x, double y) { return Below(x + y, SumError(x, y, x + y)); }
    double add_up(double x, double y) { return Above(x + y, SumError(x, y, x + y)); }
    double sub_down(double x, double y) { return add_down(x, -y); }
    double sub_up(double x, double y) { return add_up(x, -y); }
    double mul_down(double x, double y) { return Below(x * y, ProductError(x, y)); }
    double mul_up(double x, double y) { return Above(x * y, ProductError(x, y)); }
    double div_down(double x, double y) { return Below(x / y, QuotientError(x, y, x / y)); }
    double div_up(double x, double y) { return Above(x / y, QuotientError(x, y, x / y)); }
    double median(double x, double y) { return (x + y) / 2; }
    static double RootError(double x, double r) {
        if (x == 0) return 0;
        return x < Tiny ? Unknown : std::fma(-r, r, x);
    }
    double sqrt_down(double x) {
        const double r = std::sqrt(x);
        return std::max(0.0, Below(r, RootError(x, r)));
    }
    double sqrt_up(double x) { return Above(std::sqrt(x), RootError(x, std::sqrt(x))); }
    double int_down(double x) { return std::floor(x); }
    double int_up(double x) { return std::ceil(x); }
#define PLOTTER_WIDENED(name, fn)                                                                  \
    double name##_down(double x) {                                                                 \
        return Down(fn(x), Library);                                                               \
    }                                                                                              \
    double name##_up(double x) {                                                                   \
        return Up(fn(x), Library);                                                                 \
    }
    PLOTTER_WIDENED(exp, std::exp)
    PLOTTER_WIDENED(log, std::log)
    PLOTTER_WIDENED(cos, std::cos)
    PLOTTER_WIDENED(tan, std::tan)
    PLOTTER_WIDENED(asin, std::asin)
    PLOTTER_WIDENED(acos, std::acos)
    PLOTTER_WIDENED(atan, std::atan)
    PLOTTER_WIDENED(sinh, std::sinh)
    PLOTTER_WIDENED(cosh, std::cosh)
    PLOTTER_WIDENED(tanh, std::tanh)
    PLOTTER_WIDENED(asinh, std::asinh)
    PLOTTER_WIDENED(acosh, std::acosh)
    PLOTTER_WIDENED(atanh, std::atanh)
#undef PLOTTER_WIDENED
};

namespace bi = boost::numeric::interval_lib;
using I = boost::numeric::interval<double, bi::policies<TWidening, bi::checking_base<double>>>;

constexpr double Inf = std::numeric_limits<double>::infinity();

// The value part of a result: a NaN bound (inf - inf, 0 * inf) widens to
// the whole line.
TInterval Make(double lo, double hi, bool defined = true, bool continuous = true) {
    if (lo != lo) lo = -Inf;
    if (hi != hi) hi = Inf;
    return {lo, hi, false, defined, defined && continuous, 0, 0};
}
TInterval Make(const I& v, bool defined = true, bool continuous = true) {
    return Make(v.lower(), v.upper(), defined, continuous);
}
I Value(const TInterval& a) {
    return I(a.Lo, a.Hi, true);
}
// The decorations of an operation on operands a and b.
TInterval With(TInterval r, const TInterval& a, const TInterval& b) {
    r.Empty = r.Empty || a.Empty || b.Empty;
    r.Defined = r.Defined && a.Defined && b.Defined;
    r.Continuous = r.Continuous && a.Continuous && b.Continuous;
    return r;
}
TInterval With(TInterval r, const TInterval& a) {
    return With(r, a, TInterval::Point(0));
}
TInterval Hull(const TInterval& a, const TInterval& b) {
    if (a.Empty) return b;
    if (b.Empty) return a;
    return {std::min(a.Lo, b.Lo), std::max(a.Hi, b.Hi), false, a.Defined && b.Defined, false, 0, 0};
}

TInterval Divide(const TInterval& a, const TInterval& b) {
    if (b.Lo == 0 && b.Hi == 0) return TInterval::Nowhere(); // x / 0 has no value
    if (b.Lo <= 0 && b.Hi >= 0) {
        // Undefined where the divisor is 0; on each side it may grow without bound.
        TInterval r = TInterval::Whole();
        if (a.Lo >= 0 && b.Lo == 0) r.Lo = 0; // a / (0, hi]: from a.Lo / hi up
        if (a.Lo >= 0 && b.Hi == 0) r.Hi = 0;
        if (a.Hi <= 0 && b.Lo == 0) r.Hi = 0;
        if (a.Hi <= 0 && b.Hi == 0) r.Lo = 0;
        r.Defined = r.Continuous = false;
        // Across the pole, nothing between what the two sides reach.
        TWidening w;
        if (b.Lo < 0 && b.Hi > 0 && a.Lo > 0 && std::isfinite(a.Lo))
            r.GapLo = w.div_up(a.Lo, b.Lo), r.GapHi = w.div_down(a.Lo, b.Hi);
        if (b.Lo < 0 && b.Hi > 0 && a.Hi < 0 && std::isfinite(a.Hi))
            r.GapLo = w.div_up(a.Hi, b.Hi), r.GapHi = w.div_down(a.Hi, b.Lo);
        return With(r, a, b);
    }
    return With(Make(Value(a) / Value(b)), a, b);
}

// b^n for an integer n, with the language's rule that 0^n is 0.
TInterval IntegerPower(const TInterval& b, double n) {
    if (n == 0) {
        if (!b.Contains(0)) return With(TInterval::Point(1), b);
        if (b.Lo == 0 && b.Hi == 0) return With(TInterval::Point(0), b);
        return With(Make(0, 1, true, false), b); // 1 beside 0, 0 at 0
    }
    if (n > 0 && n <= 1e9) return With(Make(pow(Value(b), static_cast<int>(n))), b);
    if (n < 0 && n >= -1e9) {
        if (!b.Contains(0)) return With(Make(pow(Value(b), static_cast<int>(n))), b);
        if (b.Lo == 0 && b.Hi == 0) return With(TInterval::Point(0), b);
        TInterval r = TInterval::Whole();
        if (engine::IsIntegral(n / 2) || b.Lo == 0) r.Lo = 0; // even powers, or (0, hi]: 0 or above
        if (!engine::IsIntegral(n / 2) && b.Hi == 0) r.Hi = 0;
        r.Continuous = false; // grows without bound toward 0, and is 0 at 0
        return With(r, b);
    }
    // |n| beyond 1e9: away from 0, exp(n ln |b|) with the sign of n's parity.
    if (!b.Contains(0)) {
        const I m = exp(I(n, n, true) * log(abs(Value(b))));
        const bool negative = b.Hi < 0 && engine::IsOddIntegral(n);
        return With(negative ? Make(-m) : Make(m), b);
    }
    TInterval r = TInterval::Whole();
    if (b.Lo >= 0) r.Lo = 0;
    r.Continuous = false;
    return With(r, b);
}

// The language's power: b^e for b > 0, 0 for b = 0, and for b < 0 only
// where e is an integer.
TInterval Power(const TInterval& b, const TInterval& e) {
    if (b.Empty || e.Empty) return TInterval::Nowhere();
    if (e.Lo == e.Hi && engine::IsIntegral(e.Lo)) return With(IntegerPower(b, e.Lo), e);
    TInterval r;
    r.Empty = true;
    bool continuous = true;
    if (b.Hi > 0) { // exp(e ln b) over the positive part
        const double lo = std::max(b.Lo, std::numeric_limits<double>::denorm_min());
        const I v = exp(Value(e) * log(I(lo, b.Hi, true)));
        r = Make(v);
        if (b.Lo <= 0) continuous = false; // toward 0 it may grow, and 0 itself gives 0
    }
    if (b.Lo <= 0 && b.Hi >= 0) r = Hull(r, TInterval::Point(0));
    bool defined = true;
    if (b.Lo < 0) {
        // A negative base has a value only at integer exponents.
        const bool someInteger = std::floor(e.Hi) >= e.Lo;
        if (someInteger) r = Hull(r, TInterval::Whole());
        defined = false;
        continuous = false;
    }
    if (r.Empty) return TInterval::Nowhere();
    r.Defined = defined && b.Defined && e.Defined;
    r.Continuous = r.Defined && continuous && b.Continuous && e.Continuous;
    return r;
}

// Where a function is defined only on [low, high] (either may be infinite,
// open ends given by `open`): the argument cut to it, and whether anything
// is left.
bool CutTo(TInterval& a, double low, double high, bool openLow) {
    const bool outsideLow = openLow ? a.Lo <= low : a.Lo < low;
    if (a.Hi < low || (openLow && a.Hi <= low) || a.Lo > high) return false;
    if (outsideLow || a.Hi > high) a.Defined = a.Continuous = false;
    a.Lo = std::max(a.Lo, low);
    a.Hi = std::min(a.Hi, high);
    return true;
}

// Beyond 2^63 the program's sine and cosine give 0.
TInterval Trig(const TInterval& a, bool sine) {
    if (a.Lo <= -TrigLimit || a.Hi >= TrigLimit) {
        TInterval r = Make(-1, 1);
        r.Continuous = false;
        return With(r, a);
    }
    return With(Make(sine ? sin(Value(a)) : cos(Value(a))), a);
}

// The program computes sh as (e^x - e^-x) / 2 and th as sh / ch in 80 bits,
// which near 0 loses digits to the difference (up to about 2^-62 ch(x)
// absolute), and arcsine as arctg(x / sqrt(1 - x^2)), whose 80-bit square
// near +-1 errs by up to 2^-63 / sqrt(1 - x^2). Their enclosures are widened
// by those bounds too, so that they hold the values the program shows as
// well as the exact ones.
TInterval Widened(TInterval v, double below, double above) {
    v.Lo = TWidening::Down(v.Lo - below);
    v.Hi = TWidening::Up(v.Hi + above);
    return v;
}
double CancellationBound(const TInterval& a) {
    const double m = std::max(std::fabs(a.Lo), std::fabs(a.Hi));
    return std::ldexp(std::cosh(m), -60);
}
double ArcSineBound(double x) {
    return std::ldexp(1 / std::sqrt(std::max(1 - x * x, 0x1p-60)), -62);
}

TInterval Apply(TUnaryFunc f, TInterval a) {
    using namespace engine;
    if (a.Empty) return TInterval::Nowhere();
    if (f == FnSin) return Trig(a, true);
    if (f == FnCos) return Trig(a, false);
    if (f == FnTg) {
        const TInterval cosine = Trig(a, false);
        if (cosine.Contains(0) || !cosine.Continuous) return Divide(Trig(a, true), cosine);
        return With(Make(tan(Value(a))), a);
    }
    if (f == FnCtg) return Divide(Trig(a, false), Trig(a, true));
    if (f == FnSec) return Divide(TInterval::Point(1), Trig(a, false));
    if (f == FnCsec) return Divide(TInterval::Point(1), Trig(a, true));
    if (f == FnAtg) return With(Make(atan(Value(a))), a);
    if (f == FnActg) return With(Make(bi::pi_half<I>() - atan(Value(a))), a);
    if (f == FnAsin || f == FnAcos) {
        if (!CutTo(a, -1, 1, false)) return TInterval::Nowhere();
        const TInterval v = With(Make(f == FnAsin ? asin(Value(a)) : acos(Value(a))), a);
        const double bound = std::max(ArcSineBound(a.Lo), ArcSineBound(a.Hi));
        return Widened(v, bound, bound);
    }
    if (f == FnSh) {
        const double bound = CancellationBound(a);
        return Widened(With(Make(sinh(Value(a))), a), bound, bound);
    }
    if (f == FnCh) return With(Make(cosh(Value(a))), a);
    if (f == FnTh || f == FnCth) {
        const double bound = CancellationBound(a);
        const TInterval th = Widened(With(Make(tanh(Value(a))), a), bound, bound);
        return f == FnTh ? th : Divide(TInterval::Point(1), th);
    }
    if (f == FnExp) return With(Make(exp(Value(a))), a);
    if (f == FnLn || f == FnLg) {
        if (!CutTo(a, 0, Inf, true)) return TInterval::Nowhere();
        const I ln = log(Value(a));
        return With(Make(f == FnLn ? ln : ln / log(I(10.0, 10.0, true))), a);
    }
    if (f == FnSqrt) {
        if (!CutTo(a, 0, Inf, false)) return TInterval::Nowhere();
        return With(Make(sqrt(Value(a))), a);
    }
    if (f == FnSqr) return With(Make(square(Value(a))), a);
    if (f == FnAbs) return With(Make(abs(Value(a))), a);
    if (f == FnSign) {
        const double lo = a.Lo > 0 ? 1 : a.Lo == 0 ? 0 : -1;
        const double hi = a.Hi < 0 ? -1 : a.Hi == 0 ? 0 : 1;
        return With(Make(lo, hi, true, lo == hi), a);
    }
    TInterval r = TInterval::Whole(); // RAND: any number, another at every point
    r.Continuous = false;
    return With(r, a);
}

struct TEvaluation {
    const TIntervalBox& Box;
    TEvalContext& Context;

    TInterval Variable(TUnaryFunc f) const {
        using namespace engine;
        if (f == ReadVarX) return Box.X;
        if (f == ReadVarY) return Box.Y;
        if (const double* cell = VariableCell(f)) return TInterval::Point(*cell);
        return TInterval::Point(0);
    }

    TInterval Node(const TExprNode* n) const {
        switch (n->Kind) {
        case nkSum: {
            TInterval r = TInterval::Point(0);
            for (const TExprNode* o = n->Child; o != nullptr; o = o->Next) {
                const TInterval v = Node(o);
                r = With(Make(o->Positive ? Value(r) + Value(v) : Value(r) - Value(v)), r, v);
            }
            return r;
        }
        case nkProduct: {
            TInterval r = TInterval::Point(1);
            for (const TExprNode* o = n->Child; o != nullptr; o = o->Next) {
                const TInterval v = Node(o);
                r = o->Positive ? With(Make(Value(r) * Value(v)), r, v) : Divide(r, v);
            }
            return r;
        }
        case nkPower: {
            if (n->Child == nullptr) return TInterval::Point(0);
            TInterval r = Node(n->Child);
            for (const TExprNode* o = n->Child->Next; o != nullptr; o = o->Next)
                r = Power(r, Node(o));
            return r;
        }
        case nkFunction:
            if (n->Func == nullptr) return TInterval::Point(0);
            if (n->Child == nullptr && engine::VariableCell(n->Func) != nullptr)
                return Variable(n->Func);
            return Apply(n->Func, n->Child != nullptr ? Node(n->Child) : Box.X);
        case nkConstant:
            return TInterval::Point(n->Value);
        }
        return TInterval::Point(0);
    }
};

} // namespace

TInterval EvalInterval(const TExprNode* tree, const TIntervalBox& box) {
    if (tree == nullptr) return box.X;
    const TEvaluation evaluation{box, CurrentContext()};
    TInterval r = evaluation.Node(tree);
    if (r.Empty) return TInterval::Nowhere();
    return r;
}
