#include "plot2d/Prover.h"

#include "engine/Interval.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

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
    explicit TBoxProver(const TRelationTrees& r)
        : left_(r.Left), right_(r.Right), op_(r.Op), polar_(r.Polar), fiMin_(r.FiMin),
          fiMax_(r.FiMax) {
        // a > b is b < a: one rule for each kind of inequality.
        if (op_ == TRelationOp::Greater || op_ == TRelationOp::GreaterEqual) {
            std::swap(left_, right_);
            op_ = op_ == TRelationOp::Greater ? TRelationOp::Less : TRelationOp::LessEqual;
        }
    }

    // What is proven of the pixel box (x1, x2) x (y1, y2) of the plane.
    TFound Classify(double x1, double x2, double y1, double y2, bool points = true) const {
        return polar_ ? ClassifyPolar(x1, x2, y1, y2, points) : ClassifyBox(x1, x2, y1, y2, points);
    }

    // What the enclosures over a box of the relation's own x and y prove,
    // and with `points` what its simplest point and corners prove too.
    TFound ClassifyBox(double x1, double x2, double y1, double y2, bool points) const {
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

    // In polar coordinates: the pixel's points have fi and r within boxes of
    // the relation's variables (its angles, and the opposite ones with
    // negative r, for every turn within FiMin .. FiMax). Nowhere in all of
    // them is nowhere in the pixel, everywhere in all is everywhere; what
    // holds in the middle of one whose every point lies in the pixel, holds
    // in the pixel.
    TFound ClassifyPolar(double x1, double x2, double y1, double y2, bool points) const {
        const std::vector<TPolarBox> boxes = PolarBoxes(x1, x2, y1, y2);
        TFound f;
        f.Nowhere = true;
        f.Everywhere = !boxes.empty();
        for (const TPolarBox& b : boxes) {
            const TFound c = ClassifyBox(b.Fi1, b.Fi2, b.R1, b.R2, false);
            f.Nowhere = f.Nowhere && c.Nowhere;
            f.Everywhere = f.Everywhere && c.Everywhere;
        }
        if (f.Nowhere) return f.Fails = true, f.Everywhere = false, f;
        if (f.Everywhere) return f.Holds = true, f;
        if (!points) return f;
        for (const TPolarBox& b : boxes) {
            const double fm = b.Fi1 + (b.Fi2 - b.Fi1) / 2, df = (b.Fi2 - b.Fi1) / 8;
            const double rm = b.R1 + (b.R2 - b.R1) / 2, dr = (b.R2 - b.R1) / 8;
            const TPolarBox inner{fm - df, fm + df, rm - dr, rm + dr};
            if (!Inside(inner, x1, x2, y1, y2)) continue;
            const TFound c = ClassifyBox(inner.Fi1, inner.Fi2, inner.R1, inner.R2, true);
            f.Holds = f.Holds || c.Holds || c.Everywhere;
            f.Fails = f.Fails || c.Fails || c.Nowhere;
        }
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
    struct TPolarBox {
        double Fi1, Fi2, R1, R2;
    };
    static constexpr double Turn = 6.283185307179586;
    static constexpr double Slack = 1e-12; // beyond the errors of atan2, hypot and the turns

    // Boxes of (fi, r) that hold every point of the plane's box. An
    // equation takes r of either sign, as the graphs r(fi) draw it; an
    // inequality r >= 0 only, the distance from the origin (with negative r
    // every point would be some r below any bound).
    std::vector<TPolarBox> PolarBoxes(double x1, double x2, double y1, double y2) const {
        std::vector<TPolarBox> boxes;
        if (!(fiMin_ <= fiMax_)) return boxes;
        const bool negative = op_ == TRelationOp::Equal;
        const double far = std::hypot(std::max(std::fabs(x1), std::fabs(x2)),
                                      std::max(std::fabs(y1), std::fabs(y2)));
        const double r2 = far * (1 + Slack) + Slack;
        if (x1 <= 0 && 0 <= x2 && y1 <= 0 && 0 <= y2) { // the origin: every angle
            boxes.push_back({fiMin_, fiMax_, negative ? -r2 : 0.0, r2});
            return boxes;
        }
        const double nx = std::max({x1, -x2, 0.0}), ny = std::max({y1, -y2, 0.0});
        const double r1 = std::max(0.0, std::hypot(nx, ny) * (1 - Slack) - Slack);
        // The corners' angles, across the cut at -pi and pi where the box is.
        const bool acrossCut = x2 < 0 && y1 <= 0 && 0 <= y2;
        double a1 = HUGE_VAL, a2 = -HUGE_VAL;
        for (const double x : {x1, x2})
            for (const double y : {y1, y2}) {
                double a = std::atan2(y, x);
                if (acrossCut && a < 0) a += Turn;
                a1 = std::min(a1, a), a2 = std::max(a2, a);
            }
        for (const int side : {1, -1}) {
            if (side < 0 && !negative) break;
            const double b1 = a1 + (side < 0 ? Turn / 2 : 0), b2 = a2 + (side < 0 ? Turn / 2 : 0);
            const double first = std::ceil((fiMin_ - b2) / Turn - 1e-9);
            const double last = std::floor((fiMax_ - b1) / Turn + 1e-9);
            if (last - first > 64) { // many turns: one box for all of them
                boxes.push_back({fiMin_, fiMax_, side > 0 ? r1 : -r2, side > 0 ? r2 : -r1});
                continue;
            }
            for (double k = first; k <= last; ++k) {
                const double slack = Slack * (1 + std::fabs(k) * Turn + std::fabs(b2));
                const double lo = std::max(fiMin_, b1 + k * Turn - slack);
                const double hi = std::min(fiMax_, b2 + k * Turn + slack);
                if (lo <= hi) boxes.push_back({lo, hi, side > 0 ? r1 : -r2, side > 0 ? r2 : -r1});
            }
        }
        return boxes;
    }

    // Every point of the box of (fi, r) lies in the plane's box: its corners
    // lie inside with room for the arcs' bulge between them.
    static bool Inside(const TPolarBox& b, double x1, double x2, double y1, double y2) {
        if (!(b.Fi2 - b.Fi1 < 1) || b.R1 * b.R2 < 0) return false;
        const double reach = std::max(std::fabs(b.R1), std::fabs(b.R2));
        const double room = reach * (1 - std::cos((b.Fi2 - b.Fi1) / 2)) + Slack * (1 + reach);
        for (const double fi : {b.Fi1, b.Fi2})
            for (const double r : {b.R1, b.R2}) {
                const double x = r * std::cos(fi), y = r * std::sin(fi);
                if (!(x >= x1 + room && x <= x2 - room && y >= y1 + room && y <= y2 - room))
                    return false;
            }
        return true;
    }

    const TExprNode* left_;
    const TExprNode* right_;
    TRelationOp op_;
    bool polar_;
    double fiMin_, fiMax_;
};

constexpr int Tile = 32;                      // pixels on a side of a block of the first pass
constexpr int FinestDepth = FinestProofDepth; // quarters of quarters below a pixel, at most
constexpr std::int8_t Done = FinestDepth + 1;

// The first pass: a block decided whole (nowhere, or an inequality
// everywhere) decides its pixels; others are halved down to single pixels,
// which the next passes take. A block, once begun, is done whole: its work
// is bounded, and so every call makes progress however short its time.
template <typename Box>
void Blocks(const TBoxProver& prover, TProof& proof, int i0, int j0, int i1, int j1,
            const Box& box) {
    if (i1 - i0 <= 1 && j1 - j0 <= 1) return;
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
    Blocks(prover, proof, i0, j0, im, jm, box);
    if (im < i1) Blocks(prover, proof, im, j0, i1, jm, box);
    if (jm < j1) Blocks(prover, proof, i0, jm, im, j1, box);
    if (im < i1 && jm < j1) Blocks(prover, proof, im, jm, i1, j1, box);
}

} // namespace

std::size_t TProof::Decided() const {
    return static_cast<std::size_t>(std::count_if(
        Pixels.begin(), Pixels.end(), [](TPixelState s) { return s != TPixelState::Uncertain; }));
}

double TProof::Proven() const {
    if (Pixels.empty()) return 1;
    return static_cast<double>(Decided()) / static_cast<double>(Pixels.size());
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
    std::atomic<int> begun{0}; // blocks begun by this call
    for (int depth = proof.NextPass; depth <= last; ++depth) {
        RunTasks(tiles, threads, [&](std::size_t t) {
            const int ti = static_cast<int>(t % static_cast<std::size_t>(tilesX));
            const int tj = static_cast<int>(t / static_cast<std::size_t>(tilesX));
            const int i0 = ti * Tile, j0 = tj * Tile;
            const int i1 = std::min(g.Width, i0 + Tile), j1 = std::min(g.Height, j0 + Tile);
            // Each task does some work before it looks at the time (a block,
            // or a pixel), so that a call always makes progress.
            if (depth < 0) {
                if (blockDone[t] || (pastDeadline() && begun.load() > 0)) return;
                ++begun;
                Blocks(prover, proof, i0, j0, i1, j1, box);
                blockDone[t] = 1;
                return;
            }
            bool first = true;
            for (int j = j0; j < j1; ++j)
                for (int i = i0; i < i1; ++i) {
                    const std::size_t at = static_cast<std::size_t>(j) * g.Width + i;
                    if (tried[at] >= depth) continue;
                    if (!first && pastDeadline()) return;
                    first = false;
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
        if (depth < 0 && std::find(blockDone.begin(), blockDone.end(), 0) != blockDone.end())
            break;                         // the blocks' pass goes on in the next call
        bool behind = false, open = false; // a pixel this pass has not reached; one undecided
        for (const std::int8_t t : tried) {
            behind = behind || t < depth;
            open = open || t != Done;
        }
        if (depth >= 0 && behind) break; // this pass goes on in the next call
        proof.NextPass = depth + 1;
        if (!open) {
            proof.NextPass = FinestDepth + 1; // every pixel decided
            break;
        }
    }
    proof.Finished = proof.NextPass > FinestDepth;
}
