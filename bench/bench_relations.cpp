// What proving a relation costs at 400 x 400 pixels over -10 .. 10: the
// time to the first picture (the blocks and one pass over the pixels) and
// to 99.9 % of the pixels proven, or the share proven at 2 s; each next to
// one plain evaluation of both sides at every pixel centre (the naive
// sampler, the floor of any grid method), measured in the same run; on one
// thread and on two. Ends with one line per case and thread count:
//   case=<name> threads=<n> first_ms=<n> proven_ms=<n|-> share_2s=<r>
//     naive_ms=<n> ratio_naive=<r> ratio_one_thread=<r>
// (ratio_naive: proven_ms over naive_ms; ratio_one_thread: proven_ms, or
// the time to the share one thread reached at 2 s, over one thread's).
// First, how the interval arithmetic was chosen: x^2+y^2-16 over 100,000
// small boxes, by MPFI (correctly rounded, at 53 bits), by Boost.Interval
// with the processor's rounding modes switched, and by Boost.Interval with
// our exact outward rounding, through the tree as the prover evaluates it:
//   case=interval_arithmetic mpfi_ns=<n> boost_modes_ns=<n> tree_ns=<n>
//     ratio_tree_mpfi=<r> ratio_tree_modes=<r>
#include "engine/Engine.h"
#include "engine/Interval.h"
#include "engine/Relation.h"
#include "plot2d/Prover.h"

#include <boost/numeric/interval.hpp>
#include <mpfi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;
double MsSince(TClock::time_point t) {
    return std::chrono::duration<double, std::milli>(TClock::now() - t).count();
}

constexpr int Side = 400;

double Naive(const TExprNode* left, const TExprNode* right) {
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        const auto t = TClock::now();
        double sum = 0;
        for (int j = 0; j < Side; ++j)
            for (int i = 0; i < Side; ++i) {
                VarX = -10 + (i + 0.5) * 20 / Side;
                VarY = 10 - (j + 0.5) * 20 / Side;
                sum += EvalTree(left) - EvalTree(right);
            }
        if (sum == 12345.678) std::printf(" ");
        best = std::min(best, MsSince(t));
    }
    return best;
}

struct TRun {
    double FirstMs = 0, ProvenMs = -1, Share2s = 0;
    std::vector<std::pair<double, double>> Steps; // (ms, share) after each pass
};

TRun Run(const TRelationTrees& relation, int threads) {
    TRun run;
    TProof proof;
    proof.Grid = {Side, Side, -10, 10, 20.0 / Side, 20.0 / Side};
    const auto start = TClock::now();
    const auto deadline = start + std::chrono::seconds(2);
    Prove(relation, proof, deadline, threads, 0);
    run.FirstMs = MsSince(start);
    run.Steps.emplace_back(run.FirstMs, proof.Proven());
    for (int depth = 1; depth <= FinestProofDepth && TClock::now() < deadline; ++depth) {
        if (proof.Proven() >= 0.999) break;
        Prove(relation, proof, deadline, threads, depth);
        run.Steps.emplace_back(MsSince(start), proof.Proven());
    }
    for (const auto& [ms, share] : run.Steps)
        if (share >= 0.999) {
            run.ProvenMs = ms;
            break;
        }
    run.Share2s = proof.Proven();
    return run;
}

// The time a run took to reach `share` (its end where it never did).
double TimeTo(const TRun& run, double share) {
    for (const auto& [ms, s] : run.Steps)
        if (s >= share) return ms;
    return run.Steps.back().first;
}

// Nanoseconds per box of `eval`, the best of five runs over the boxes.
template <typename Eval> double NsPerBox(Eval eval) {
    constexpr int Boxes = 100000;
    double best = 1e300, sink = 0;
    for (int r = 0; r < 5; ++r) {
        const auto t = TClock::now();
        for (int k = 0; k < Boxes; ++k) {
            const double x = -10 + 20.0 * k / Boxes, y = 10 - 7.0 * k / Boxes;
            sink += eval(x, x + 0.05, y - 0.05, y);
        }
        best = std::min(best, MsSince(t) * 1e6 / Boxes);
    }
    if (sink == 12345.678) std::printf(" ");
    return best;
}

void IntervalArithmetic() {
    mpfi_t x, y, t;
    mpfi_init2(x, 53), mpfi_init2(y, 53), mpfi_init2(t, 53);
    const double mpfi = NsPerBox([&](double x1, double x2, double y1, double y2) {
        mpfi_interv_d(x, x1, x2);
        mpfi_interv_d(y, y1, y2);
        mpfi_sqr(x, x);
        mpfi_sqr(y, y);
        mpfi_add(t, x, y);
        mpfi_sub_d(t, t, 16);
        return mpfr_get_d(&t->left, MPFR_RNDD);
    });
    mpfi_clear(x), mpfi_clear(y), mpfi_clear(t);
    using Modes = boost::numeric::interval<double>; // the rounding mode switched per operation
    const double modes = NsPerBox([](double x1, double x2, double y1, double y2) {
        const Modes v = square(Modes(x1, x2)) + square(Modes(y1, y2)) - Modes(16.0);
        return v.lower();
    });
    TTreePtr tree = CompileTree("x^2+y^2-16");
    const double ours = NsPerBox([&](double x1, double x2, double y1, double y2) {
        return EvalInterval(tree.get(), {TInterval::Of(x1, x2), TInterval::Of(y1, y2)}).Lo;
    });
    std::printf("case=interval_arithmetic mpfi_ns=%.1f boost_modes_ns=%.1f tree_ns=%.1f "
                "ratio_tree_mpfi=%.2f ratio_tree_modes=%.2f\n",
                mpfi, modes, ours, ours / mpfi, ours / modes);
    std::fflush(stdout);
}

} // namespace

int main() {
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    IntervalArithmetic();
    const struct {
        const char *name, *text;
    } cases[] = {
        {"circle", "x^2+y^2=16"},
        {"inequality", "y<sin(x)*3"},
        {"tupper", "abs(x*cos(x)-y*sin(y))=abs(x*cos(y)-y*sin(x))"},
        {"waves", "sin(x^2+y^2)=cos(x*y)"},
        {"sin40", "y=sin(40/x)"},
    };
    for (const auto& c : cases) {
        const std::optional<TRelationText> split = SplitRelation(c.text);
        TTreePtr left = CompileTree(split->Left), right = CompileTree(split->Right);
        const TRelationTrees relation{left.get(), right.get(), split->Op};
        const double naive = Naive(left.get(), right.get());
        TRun one;
        for (const int threads : {1, 2}) {
            const TRun run = Run(relation, threads);
            if (threads == 1) one = run;
            const double reached = TimeTo(run, std::min(one.Share2s, 0.999));
            const double base = TimeTo(one, std::min(one.Share2s, 0.999));
            char proven[32] = "-";
            if (run.ProvenMs >= 0) std::snprintf(proven, sizeof proven, "%.1f", run.ProvenMs);
            std::printf("case=%s threads=%d first_ms=%.1f proven_ms=%s share_2s=%.4f "
                        "naive_ms=%.2f ratio_naive=%.1f ratio_one_thread=%.2f\n",
                        c.name, threads, run.FirstMs, proven, run.Share2s, naive,
                        run.ProvenMs >= 0 ? run.ProvenMs / naive : 0.0, reached / base);
            std::fflush(stdout);
        }
    }
    return 0;
}
