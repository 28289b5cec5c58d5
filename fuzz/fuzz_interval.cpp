// Fuzz target of the interval evaluator: a formula of x and y built from the
// input bytes, a box from the bytes, and points of the box (its corners, its
// centre and points the bytes choose). The enclosure of each point, where
// the formula is defined there, must lie in the box's enclosure, and so must
// the tree walk's value where it agrees with the point's. Aborts on the
// first value outside, and says which.
#include "engine/Engine.h"
#include "engine/Interval.h"
#include "engine/TreeWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}
    unsigned Byte() {
        if (n_ == 0) return 0;
        --n_;
        return *p_++;
    }
    // A coordinate: mostly within +-16, sometimes any finite double.
    double Coordinate() {
        const unsigned kind = Byte();
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | Byte();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d)) d = 0;
        return kind % 8 == 0 ? d : std::fmod(d, 16.0);
    }

  private:
    const std::uint8_t* p_;
    std::size_t n_;
};

const char* const Functions[] = {"sin",  "cos",  "tg",   "ctg",  "sec", "csec", "atg",
                                 "actg", "asin", "acos", "sh",   "ch",  "th",   "cth",
                                 "exp",  "ln",   "lg",   "sqrt", "sqr", "abs",  "sign"};
const char* const Leaves[] = {"x", "y", "0", "1", "2", "0.5", "3", "pi", "e", "(-1)", "10"};

std::string Formula(Reader& r, int depth) {
    const unsigned b = r.Byte();
    if (depth == 0 || b % 5 == 0) return Leaves[r.Byte() % 11];
    switch (b % 5) {
    case 1:
        return "(" + Formula(r, depth - 1) + "+-*/"[r.Byte() % 4] + Formula(r, depth - 1) + ")";
    case 2:
        return "(" + Formula(r, depth - 1) + ")^(" + Formula(r, depth - 1) + ")";
    default:
        return std::string(Functions[r.Byte() % 21]) + "(" + Formula(r, depth - 1) + ")";
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = [] {
        InitFloatingPoint();
        return true;
    }();
    (void)initialised;
    Reader r(data, size);
    const std::string text = Formula(r, 1 + static_cast<int>(r.Byte() % 6));
    const double x1 = r.Coordinate(), x2 = r.Coordinate();
    const double y1 = r.Coordinate(), y2 = r.Coordinate();
    const TIntervalBox box{TInterval::Of(std::min(x1, x2), std::max(x1, x2)),
                           TInterval::Of(std::min(y1, y2), std::max(y1, y2))};
    TTreePtr tree = CompileTree(text);
    const TInterval enclosure = EvalInterval(tree.get(), box);
    for (int i = 0; i < 8; ++i) {
        const double fx = i < 4 ? (i & 1) : i == 4 ? 0.5 : r.Byte() / 255.0;
        const double fy = i < 4 ? (i >> 1) : i == 4 ? 0.5 : r.Byte() / 255.0;
        VarX = std::clamp(box.X.Lo + (box.X.Hi - box.X.Lo) * fx, box.X.Lo, box.X.Hi);
        VarY = std::clamp(box.Y.Lo + (box.Y.Hi - box.Y.Lo) * fy, box.Y.Lo, box.Y.Hi);
        // The exact value at the point, enclosed: where the formula is
        // defined there, the box's enclosure must hold it.
        const TInterval at =
            EvalInterval(tree.get(), {TInterval::Point(VarX), TInterval::Point(VarY)});
        if (at.Empty) continue;
        if (enclosure.Empty || at.Lo < enclosure.Lo || at.Hi > enclosure.Hi) {
            std::fprintf(stderr, "%s at (%.17g, %.17g): [%.17g, %.17g] outside [%.17g, %.17g]%s\n",
                         text.c_str(), VarX, VarY, at.Lo, at.Hi, enclosure.Lo, enclosure.Hi,
                         enclosure.Empty ? " (empty)" : "");
            std::abort();
        }
        // The tree walk's value, where it flags no error and the formula is
        // defined, lies in the box's enclosure too, unless a double on its
        // way overflowed (inf - inf, inf^0), which the exact value does not.
        EvalError = false;
        const double v = engine::EvalTreeWalk(tree.get());
        if (EvalError || !at.Defined || !(at.Lo <= v && v <= at.Hi)) continue;
        if (v < enclosure.Lo || v > enclosure.Hi) std::abort();
    }
    return 0;
}
