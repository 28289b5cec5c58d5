#include "engine/Library.h"

#include "engine/Arith80.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <utility>

namespace engine {

namespace {

constexpr double TwoTo63 = 9223372036854775808.0;

// exp(e * ln b) in 80-bit precision, rounded to double: the defining formula.
double PowByLogarithm(double b, long double e) {
    return static_cast<double>(std::exp(e * std::log(static_cast<long double>(b))));
}

template <typename F> F PowUnsigned(F base, std::uint64_t n) {
    F result = 1;
    while (n != 0) {
        if (n & 1u) result *= base;
        n >>= 1;
        if (n != 0) base *= base;
    }
    return result;
}

// b^n for finite b > 0 and 0 < |n| <= 2^31, rounded to the nearest double.
// The 80-bit product is exact enough unless it lies next to a midpoint between
// two doubles; then the product is redone in 113-bit precision.
double PowInteger(double b, std::int64_t n) {
    const std::uint64_t m = n < 0 ? static_cast<std::uint64_t>(-n) : static_cast<std::uint64_t>(n);
    long double p = PowUnsigned<long double>(b, m);
    if (n < 0) p = 1.0L / p;
    if (p >= DBL_MIN && p <= DBL_MAX) {
        const double d = static_cast<double>(p);
        const long double toward =
            p > d ? std::nextafter(d, HUGE_VAL) : std::nextafter(d, -HUGE_VAL);
        const long double midpoint = (static_cast<long double>(d) + toward) / 2;
        // Every multiplication adds at most one 80-bit rounding, and squaring
        // doubles the relative error already present.
        const long double bound = p * (static_cast<long double>(m) + 4) * 0x1p-63L;
        if (std::fabs(p - midpoint) > bound) return d;
    }
    __float128 q = PowUnsigned<__float128>(b, m);
    if (n < 0) q = 1 / q;
    return static_cast<double>(q);
}

} // namespace

bool IsIntegral(double e) {
    return e - std::trunc(e) == 0;
}

bool IsOddIntegral(double e) {
    const double a = std::fabs(e);
    if (!(a < TwoTo63)) return false;
    return (static_cast<std::uint64_t>(a) & 1u) != 0;
}

double PowMagnitude(double b, double e) {
    if (std::isfinite(b) && IsIntegral(e) && std::fabs(e) <= 2147483648.0) {
        const auto n = static_cast<std::int64_t>(e);
        switch (n) {
        case 0:
            return 1.0;
        case 1:
            return b;
        case 2:
            return b * b; // one double rounding of the exact square
        case -1:
            return 1.0 / b;
        default:
            return PowInteger(b, n);
        }
    }
    return PowByLogarithm(b, e);
}

double Power(double b, double e) {
    if (b > 0) return PowMagnitude(b, e);
    if (b == 0 || b != b) return 0.0;
    if (!IsIntegral(e)) {
        CurrentContext().Error = true;
        return 0.0;
    }
    const double m = PowMagnitude(-b, e);
    return IsOddIntegral(e) ? -m : m;
}

double FnCos(double x) {
    return CosOf(x);
}
double FnSin(double x) {
    return SinOf(x);
}

double FnTg(double x) {
    return static_cast<double>(static_cast<long double>(FnSin(x)) / FnCos(x));
}
double FnCtg(double x) {
    return static_cast<double>(static_cast<long double>(FnCos(x)) / FnSin(x));
}
double FnSec(double x) {
    return static_cast<double>(1.0L / FnCos(x));
}
double FnCsec(double x) {
    return static_cast<double>(1.0L / FnSin(x));
}

double FnAtg(double x) {
    return static_cast<double>(std::atan(static_cast<long double>(x)));
}
double FnActg(double x) {
    return static_cast<double>(HalfPiL - std::atan(static_cast<long double>(x)));
}

namespace {
// arctan(x / sqrt(1 - x^2)) for |x| < 1, in 80-bit precision.
long double ArcSineCore(double x) {
    const long double v = x;
    return std::atan(v / std::sqrt(1.0L - v * v));
}
} // namespace

double FnAsin(double x) {
    if (std::fabs(x) < 1) return static_cast<double>(ArcSineCore(x));
    if (x == 1) return static_cast<double>(HalfPiL);
    if (x == -1) return static_cast<double>(-HalfPiL);
    if (x != x) return x;
    CurrentContext().Error = true;
    return 0.0;
}

double FnAcos(double x) {
    if (std::fabs(x) < 1) return static_cast<double>(HalfPiL - ArcSineCore(x));
    if (x == 1) return 0.0;
    if (x == -1) return PiValue;
    if (x != x) return x;
    CurrentContext().Error = true;
    return 0.0;
}

double FnSh(double x) {
    const long double v = x;
    return static_cast<double>((std::exp(v) - std::exp(-v)) / 2);
}
double FnCh(double x) {
    const long double v = x;
    return static_cast<double>((std::exp(v) + std::exp(-v)) / 2);
}
double FnTh(double x) {
    return static_cast<double>(static_cast<long double>(FnSh(x)) / FnCh(x));
}
double FnCth(double x) {
    return static_cast<double>(1.0L / FnTh(x));
}

double FnExp(double x) {
    return static_cast<double>(std::exp(static_cast<long double>(x)));
}

double FnLn(double x) {
    if (!(x > 0)) {
        CurrentContext().Error = true;
        return 0.0;
    }
    return static_cast<double>(std::log(static_cast<long double>(x)));
}

double FnLg(double x) {
    if (!(x > 0)) {
        CurrentContext().Error = true;
        return 0.0;
    }
    return static_cast<double>(std::log(static_cast<long double>(x)) / std::log(10.0L));
}

double FnSqrt(double x) {
    if (!(x >= 0)) {
        CurrentContext().Error = true;
        return 0.0;
    }
    return std::sqrt(x);
}

double FnSqr(double x) {
    return x * x;
}
double FnAbs(double x) {
    return std::fabs(x);
}
double FnSign(double x) {
    return x > 0 ? 1.0 : (x == 0 ? 0.0 : -1.0);
}

double FnRand(double x) {
    const double a = std::fabs(x);
    if (!(a < TwoTo63)) return 0.0; // the integer conversion has no value for these
    const auto rounded = static_cast<std::uint64_t>(std::nearbyint(a)); // ties to even
    return static_cast<double>(RandomBelow(static_cast<std::uint32_t>(rounded)));
}

double ReadVarX(double) {
    return CurrentContext().X;
}
double ReadVarY(double) {
    return CurrentContext().Y;
}
double ReadVarZ(double) {
    return CurrentContext().Z;
}
double ReadVarT(double) {
    return CurrentContext().T;
}
double ReadVarU(double) {
    return CurrentContext().U;
}
double ReadVarV(double) {
    return CurrentContext().V;
}
double ReadVarF(double) {
    return CurrentContext().F;
}

namespace {

template <int K> double ReadParameter(double) {
    return CurrentContext().P[K];
}
template <int... K> constexpr auto ParameterReaders(std::integer_sequence<int, K...>) {
    return std::array<TUnaryFunc, sizeof...(K)>{ReadParameter<K>...};
}
constexpr auto ParameterReaderTable =
    ParameterReaders(std::make_integer_sequence<int, MaxParameters>{});

} // namespace

TUnaryFunc ParameterReader(int k) {
    return ParameterReaderTable[static_cast<std::size_t>(k)];
}

const double* VariableCell(TUnaryFunc f) {
    TEvalContext& context = CurrentContext();
    if (f == ReadVarX) return &context.X;
    if (f == ReadVarY) return &context.Y;
    if (f == ReadVarZ) return &context.Z;
    if (f == ReadVarT) return &context.T;
    if (f == ReadVarU) return &context.U;
    if (f == ReadVarV) return &context.V;
    if (f == ReadVarF) return &context.F;
    const auto* reader = std::find(ParameterReaderTable.begin(), ParameterReaderTable.end(), f);
    if (reader != ParameterReaderTable.end())
        return &context.P[reader - ParameterReaderTable.begin()];
    return nullptr;
}

bool IsPureFunction(TUnaryFunc f) {
    return f != nullptr && f != FnRand && !VariableCell(f);
}

const TFunctionName TreeFunctionNames[22] = {
    {"COS", FnCos},   {"SIN", FnSin}, {"RAND", FnRand}, {"CTG", FnCtg},   {"TG", FnTg},
    {"SIGN", FnSign}, {"EXP", FnExp}, {"SQRT", FnSqrt}, {"SQR(", FnSqr},  {"LN", FnLn},
    {"LG", FnLg},     {"ATG", FnAtg}, {"ACTG", FnActg}, {"ASIN", FnAsin}, {"ACOS", FnAcos},
    {"SH", FnSh},     {"CH", FnCh},   {"TH", FnTh},     {"CTH", FnCth},   {"SEC", FnSec},
    {"CSEC", FnCsec}, {"ABS", FnAbs},
};

} // namespace engine
