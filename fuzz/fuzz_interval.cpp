// Fuzz target of the interval evaluator: a formula of x and y built from the
// input bytes, a box from the bytes, and points of the box (its corners, its
// centre and points the bytes choose). Where the formula is defined at a
// point, its exact value there lies in the point's enclosure and in the
// box's, so the two must meet, and the box's may not be empty. Aborts on
// the first point that breaks this, and says which.
#include "engine/Engine.h"
#include "engine/Interval.h"

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
        // defined there, it lies in both enclosures, which therefore meet.
        // (The tree walk's doubles are no such reference: each sum is
        // rounded, so (1e20 + x) - 1e20 is off by thousands, and they may
        // overflow where the exact value does not.)
        const TInterval at =
            EvalInterval(tree.get(), {TInterval::Point(VarX), TInterval::Point(VarY)});
        if (!at.Defined) continue;
        if (enclosure.Empty || at.Hi < enclosure.Lo || at.Lo > enclosure.Hi) {
            std::fprintf(stderr,
                         "%s at (%.17g, %.17g): [%.17g, %.17g] apart from [%.17g, %.17g]%s\n",
                         text.c_str(), VarX, VarY, at.Lo, at.Hi, enclosure.Lo, enclosure.Hi,
                         enclosure.Empty ? " (empty)" : "");
            std::abort();
        }
    }
    return 0;
}
