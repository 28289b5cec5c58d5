// The runner for processors with fused multiply-add (this file is compiled
// with -mfma and only called where the processor has it).
//
// An operation of the tree walk rounds the exact result first to 64 bits (the
// 80-bit format) and then to 53 bits. That gives the correctly rounded double
// unless the 64-bit rounding lands exactly on the midpoint between two
// doubles, which needs the exact result within 2^-12 ulp of that midpoint.
// So each operation here computes the correctly rounded double and its exact
// error, and only when the error is that close to half an ulp (or the result
// is not a normal number, or a power of two) redoes the operation in 80 bits.
#include "engine/FastForm.h"
#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <memory>

#include <cstdint>
#include <cstring>

namespace {

inline std::uint64_t Bits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

inline double FromBits(std::uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// True when s, the correctly rounded result with exact error e (an
// approximation of it for quotients), may differ from the twice-rounded one:
// the 64-bit rounding lands on the midpoint between s and its neighbour only
// when |e| is within 2^-12 ulp of half an ulp, and the tie then leaves s
// unless s is odd. Integer comparison of the bit patterns of non-negative
// doubles orders them as numbers.
inline bool MayDiffer(double s, double e) {
    const std::uint64_t b = Bits(s);
    if (!(b & 1)) {
        // An even s keeps a tie; only powers of two (whose lower neighbour is
        // nearer) and the edges of the range need the 80-bit operation.
        if ((b << 12) != 0 && ((b >> 52) & 0x7FF) - 55 <= 0x7FE - 55) return false;
        return e != 0;
    }
    const std::uint64_t exponent = (b >> 52) & 0x7FF;
    if (exponent - 55 > 0x7FE - 55) return e != 0; // tiny, subnormal, infinite or NaN
    // (1 - 2^-10) * 2^-54 ulp: (0.5 - 2^-11) ulp, the start of the band below the midpoint.
    const std::uint64_t threshold = ((exponent - 54) << 52) | (std::uint64_t{0x1FF} << 43);
    return (Bits(e) & ~(std::uint64_t{1} << 63)) >= threshold;
}

[[gnu::noinline]] double AddX87(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) + b);
}
[[gnu::noinline]] double MulX87(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) * b);
}
[[gnu::noinline]] double QuotX87(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) / b);
}

struct Arith {
    static inline double Add(double a, double b) {
        const double s = a + b;
        const double bb = s - a;
        const double e = (a - (s - bb)) + (b - bb); // exact error of the sum
        if (__builtin_expect(MayDiffer(s, e), 0)) return AddX87(a, b);
        return s;
    }
    static inline double Sub(double a, double b) { return Add(a, -b); }
    static inline double Mul(double a, double b) {
        const double p = a * b;
        const double e = __builtin_fma(a, b, -p); // exact error of the product
        if (__builtin_expect(MayDiffer(p, e), 0)) return MulX87(a, b);
        return p;
    }
    static inline double Quot(double a, double b) {
        const double q = a / b;
        const double rest = __builtin_fma(-q, b, a); // exact remainder
        if (__builtin_expect(MayDiffer(q, rest / b), 0)) return QuotX87(a, b);
        return q;
    }
};

} // namespace

#define RUNNER_INDEX 1
#include "engine/FastRun.inc"

namespace engine {
double EvalTreeFma(const TExprNode* tree) {
    return Run(tree, nullptr);
}
void ThreadFma(TFastForm& form) {
    Run(nullptr, &form);
}
} // namespace engine
