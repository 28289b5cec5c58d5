#include "plot2d/Prover.h"

#include "engine/Interval.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// What is proven of a box: the relation holds somewhere in it, fails
// somewhere (or is undefined there), holds nowhere, or everywhere.
struct TFound {
    bool Holds = false, Fails = false, Nowhere = false, Everywhere = false;
};

// The number in [a, b] with the fewest significant bits: a multiple of the
// largest power of two not wider than the interval. At such points the
// values of polynomials are often exact, which proves an equality that
// holds on a whole region (81-x^2-y^2 = |81-x^2-y^2|) point by point.
double SimplestIn(double a, double b) {
    if (a <= 0 && 0 <= b) return 0;
    if (!(b > a)) return a;
    double step = std::exp2(std::floor(std::log2(b - a)));
    for (int k = 0; k < 60; ++k, step /= 2) {
        const double m = std::ceil(a / step) * step;
        if (m >= a && m <= b) return m;
    }
    return (a + b) / 2;
}

class TBoxProver {
  public:
    explicit TBoxProver(const TRelationTrees& r) : left_(r.Left), right_(r.Right), op_(r.Op) {
        // a > b is b < a: one rule for each kind of inequality.
        if (op_ == TRelationOp::Greater || op_ == TRelationOp::GreaterEqual) {
            std::swap(left_, right_);
            op_ = op_ == TRelationOp::Greater ? TRelationOp::Less : TRelationOp::LessEqual;
        }
    }

    // What the enclosures over the box prove, and with `points` what its
    // simplest point and corners prove too.
    TFound Classify(double x1, double x2, double y1, double y2, bool points = true) const {
        TFound f;
        const TIntervalBox box{TInterval::Of(x1, x2), TInterval::Of(y1, y2)};
        const TInterval l = EvalInterval(left_, box), r = EvalInterval(right_, box);
        if (l.Empty || r.Empty) return f.Nowhere = true, f.Fails = true, f;
        const bool strict = op_ == TRelationOp::Less;
        if (op_ == TRelationOp::Equal ? (l.Hi < r.Lo || l.Lo > r.Hi)
                                      : (strict ? l.Lo >= r.Hi : l.Lo > r.Hi))
            return f.Nowhere = true, f.Fails = true, f;
        // An equation's sides apart: one within the gap the other leaves at a pole.
        const auto within = [](const TInterval& v, const TInterval& gap) {
            return gap.HasGap() && v.Lo > gap.GapLo && v.Hi < gap.GapHi;
        };
        if (op_ == TRelationOp::Equal && (within(l, r) || within(r, l)))
            return f.Nowhere = true, f.Fails = true, f;
        const bool defined = l.Defined && r.Defined;
        if (op_ != TRelationOp::Equal && defined && (strict ? l.Hi < r.Lo : l.Hi <= r.Lo))
            return f.Everywhere = true, f.Holds = true, f;
        if (!points) return f;
        // Points: the simplest point of the box and its corners.
        bool below = false, above = false;
        const double xs[] = {SimplestIn(x1, x2), x1, x2, x1, x2};
        const double ys[] = {SimplestIn(y1, y2), y1, y1, y2, y2};
        for (int k = 0; k < 5; ++k) {
            const TIntervalBox p{TInterval::Point(xs[k]), TInterval::Point(ys[k])};
            const TInterval pl = EvalInterval(left_, p), pr = EvalInterval(right_, p);
            if (pl.Empty || pr.Empty) {
                f.Fails = f.Fails || op_ != TRelationOp::Equal;
                continue;
            }
            const bool equal = pl.Lo == pl.Hi && pr.Lo == pr.Hi && pl.Lo == pr.Lo;
            const bool less = pl.Hi<pr.Lo, greater = pl.Lo> pr.Hi;
            below = below || less;
            above = above || greater;
            if (op_ == TRelationOp::Equal) {
                f.Holds = f.Holds || equal;
            } else {
                f.Holds = f.Holds || less || (!strict && equal);
                f.Fails = f.Fails || greater || (strict && equal);
            }
        }
        // A sign change on a continuous piece: a point of equality between.
        if (below && above && l.Continuous && r.Continuous && (op_ != TRelationOp::Less))
            f.Holds = true;
        return f;
    }

    // The box divided into quarters down to `depth` more levels.
    TFound Decide(double x1, double x2, double y1, double y2, int depth) const {
        TFound f = Classify(x1, x2, y1, y2);
        if (f.Nowhere || f.Everywhere || depth == 0) return f;
        if (op_ == TRelationOp::Equal ? f.Holds : f.Holds && f.Fails) return f;
        const double xm = x1 + (x2 - x1) / 2, ym = y1 + (y2 - y1) / 2;
        TFound all;
        all.Nowhere = all.Everywhere = true;
        const double bx[3] = {x1, xm, x2}, by[3] = {y1, ym, y2};
        for (int q = 0; q < 4; ++q) {
            const TFound c =
                Decide(bx[q & 1], bx[(q & 1) + 1], by[q >> 1], by[(q >> 1) + 1], depth - 1);
            all.Holds = all.Holds || c.Holds;
            all.Fails = all.Fails || c.Fails;
            all.Nowhere = all.Nowhere && c.Nowhere;
            all.Everywhere = all.Everywhere && c.Everywhere;
            if (op_ == TRelationOp::Equal ? all.Holds : all.Holds && all.Fails) break;
        }
        f.Holds = f.Holds || all.Holds;
        f.Fails = f.Fails || all.Fails;
        f.Nowhere = !f.Holds && all.Nowhere;
        f.Everywhere = !f.Fails && all.Everywhere;
        return f;
    }

    TPixelState State(const TFound& f) const {
        if (op_ == TRelationOp::Equal)
            return f.Holds     ? TPixelState::True
                   : f.Nowhere ? TPixelState::False
                               : TPixelState::Uncertain;
        if (f.Everywhere) return TPixelState::Inside;
        if (f.Holds) return f.Fails ? TPixelState::True : TPixelState::Inside;
        return f.Nowhere ? TPixelState::False : TPixelState::Uncertain;
    }
    bool Decided(TPixelState s, const TFound& f) const {
        if (s == TPixelState::Uncertain) return false;
        // An inequality's pixel that holds somewhere may still be its boundary.
        return op_ == TRelationOp::Equal || s != TPixelState::Inside || f.Everywhere;
    }

  private:
    const TExprNode* left_;
    const TExprNode* right_;
    TRelationOp op_;
};

constexpr int Tile = 32;                      // pixels on a side of a block of the first pass
constexpr int FinestDepth = FinestProofDepth; // quarters of quarters below a pixel, at most
constexpr std::int8_t Done = FinestDepth + 1;

// The first pass: a block decided whole (nowhere, or an inequality
// everywhere) decides its pixels; others are halved down to single pixels,
// which the next passes take.
template <typename Box, typename Late>
void Blocks(const TBoxProver& prover, TProof& proof, int i0, int j0, int i1, int j1, const Box& box,
            const Late& late) {
    if (i1 - i0 <= 1 && j1 - j0 <= 1) return;
    if (late()) return;
    double x1, x2, y1, y2;
    box(i0, j0, i1, j1, x1, x2, y1, y2);
    const TFound f = prover.Classify(x1, x2, y1, y2, false);
    if (f.Nowhere || f.Everywhere) {
        const TPixelState s = f.Nowhere ? TPixelState::False : TPixelState::Inside;
        for (int j = j0; j < j1; ++j)
            for (int i = i0; i < i1; ++i) {
                const std::size_t at = static_cast<std::size_t>(j) * proof.Grid.Width + i;
                proof.Pixels[at] = s;
                proof.Tried[at] = Done;
            }
        return;
    }
    const int im = i1 - i0 > 1 ? (i0 + i1) / 2 : i1, jm = j1 - j0 > 1 ? (j0 + j1) / 2 : j1;
    Blocks(prover, proof, i0, j0, im, jm, box, late);
    if (im < i1) Blocks(prover, proof, im, j0, i1, jm, box, late);
    if (jm < j1) Blocks(prover, proof, i0, jm, im, j1, box, late);
    if (im < i1 && jm < j1) Blocks(prover, proof, im, jm, i1, j1, box, late);
}

} // namespace

double TProof::Proven() const {
    if (Pixels.empty()) return 1;
    const auto decided = std::count_if(Pixels.begin(), Pixels.end(),
                                       [](TPixelState s) { return s != TPixelState::Uncertain; });
    return static_cast<double>(decided) / static_cast<double>(Pixels.size());
}

void Prove(const TRelationTrees& relation, TProof& proof, TProofClock::time_point deadline,
           int threads, int deepest) {
    const TPixelGrid& g = proof.Grid;
    const std::size_t count =
        static_cast<std::size_t>(g.Width) * static_cast<std::size_t>(g.Height);
    if (proof.Pixels.size() != count) {
        proof.Pixels.assign(count, TPixelState::Uncertain);
        proof.Finished = false;
        proof.NextPass = -1;
        proof.BlocksDone.clear();
    }
    if (proof.Finished || count == 0) return;
    const TBoxProver prover(relation);
    const auto box = [&](int i0, int j0, int i1, int j1, double& x1, double& x2, double& y1,
                         double& y2) {
        x1 = g.X1 + i0 * g.Dx, x2 = g.X1 + i1 * g.Dx;
        y2 = g.Y2 - j0 * g.Dy, y1 = g.Y2 - j1 * g.Dy;
    };
    const int tilesX = (g.Width + Tile - 1) / Tile, tilesY = (g.Height + Tile - 1) / Tile;
    const std::size_t tiles = static_cast<std::size_t>(tilesX) * static_cast<std::size_t>(tilesY);
    // Each block's first pass is done once, also across calls; a block the
    // deadline cut short is done again.
    std::vector<std::uint8_t> blockDone(tiles, 0);
    if (proof.BlocksDone.size() == tiles)
        for (std::size_t t = 0; t < tiles; ++t)
            blockDone[t] = proof.BlocksDone[t];
    std::atomic<bool> late{false};
    const auto pastDeadline = [&] {
        if (late.load(std::memory_order_relaxed)) return true;
        if (TProofClock::now() < deadline) return false;
        late = true;
        return true;
    };
    // The passes: depth -1 is the blocks' quadtree down to pixels; then
    // each undecided pixel divided to `depth` levels. A pixel's depth is kept
    // in `tried` so that a later call carries on where this one stopped.
    std::vector<std::int8_t>& tried = proof.Tried;
    if (tried.size() != count) tried.assign(count, -2);
    const int last = std::clamp(deepest, 0, FinestDepth);
    for (int depth = proof.NextPass; depth <= last && !pastDeadline(); ++depth) {
        RunTasks(tiles, threads, [&](std::size_t t) {
            const int ti = static_cast<int>(t % static_cast<std::size_t>(tilesX));
            const int tj = static_cast<int>(t / static_cast<std::size_t>(tilesX));
            const int i0 = ti * Tile, j0 = tj * Tile;
            const int i1 = std::min(g.Width, i0 + Tile), j1 = std::min(g.Height, j0 + Tile);
            if (depth < 0) {
                if (blockDone[t]) return;
                Blocks(prover, proof, i0, j0, i1, j1, box, pastDeadline);
                blockDone[t] = !pastDeadline();
                return;
            }
            for (int j = j0; j < j1; ++j)
                for (int i = i0; i < i1; ++i) {
                    const std::size_t at = static_cast<std::size_t>(j) * g.Width + i;
                    if (tried[at] >= depth) continue;
                    if (pastDeadline()) return;
                    double x1, x2, y1, y2;
                    box(i, j, i + 1, j + 1, x1, x2, y1, y2);
                    const TFound f = prover.Decide(x1, x2, y1, y2, depth);
                    proof.Pixels[at] = prover.State(f);
                    tried[at] = prover.Decided(proof.Pixels[at], f)
                                    ? Done
                                    : static_cast<std::int8_t>(depth);
                }
        });
        if (depth < 0) proof.BlocksDone.assign(blockDone.begin(), blockDone.end());
        if (pastDeadline()) break;
        proof.NextPass = depth + 1;
        if (std::find_if(tried.begin(), tried.end(), [](std::int8_t t) { return t != Done; }) ==
            tried.end()) {
            proof.NextPass = FinestDepth + 1; // every pixel decided
            break;
        }
    }
    proof.Finished = proof.NextPass > FinestDepth;
}
