// Relations drawn so that every pixel is proven: the interval evaluator
// decides for each pixel of the view whether the relation holds somewhere
// in it (true), nowhere (false), or cannot yet tell (uncertain), dividing
// pixels into quarters where that decides them. Plain C++ on the engine.
#pragma once

#include "engine/Engine.h"
#include "engine/Relation.h"

#include <chrono>
#include <cstdint>
#include <vector>

// What a pixel is known to hold.
enum class TPixelState : std::uint8_t {
    Uncertain, // not decided (yet)
    False,     // the relation holds nowhere in it
    True,      // an equation's curve passes through it; an inequality's boundary
    Inside,    // an inequality holds in it (everywhere, or somewhere and the rest untold)
};

// A relation's two sides, compiled, and its comparison.
struct TRelationTrees {
    const TExprNode* Left = nullptr;
    const TExprNode* Right = nullptr;
    TRelationOp Op = TRelationOp::Equal;
    // In polar coordinates the relation is one of fi (its x) and r (its y):
    // the points (r cos fi, r sin fi) for fi from FiMin to FiMax and any r.
    bool Polar = false;
    double FiMin = 0, FiMax = 0;
};

// The pixels of a view: column i covers [X1 + i Dx, X1 + (i + 1) Dx] and row
// j covers [Y2 - (j + 1) Dy, Y2 - j Dy].
struct TPixelGrid {
    int Width = 0, Height = 0;
    double X1 = 0, Y2 = 0, Dx = 0, Dy = 0;
};

struct TProof {
    TPixelGrid Grid;
    std::vector<TPixelState> Pixels; // row by row
    bool Finished = false;           // no pass is left that could decide more
    std::vector<std::int8_t> Tried;  // per pixel, how deep it has been divided
    int NextPass = -1;               // the pass to carry on with (-1: the blocks)
    std::vector<bool> BlocksDone;    // per block of the first pass, whether it is done
    // The pixels decided (true, false or inside), and their share, 0 .. 1.
    std::size_t Decided() const;
    double Proven() const;
    TPixelState At(int i, int j) const {
        return Pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(Grid.Width) +
                      static_cast<std::size_t>(i)];
    }
};

// Proves the relation over the grid on `threads` threads, in passes from
// coarse to fine: blocks of pixels first, then each pixel, then quarters of
// the undecided pixels ever smaller. Stops when every pixel is decided, when
// the finest pass is done, or at the deadline (the pixels not reached stay
// uncertain). `proof` may hold an earlier, unfinished proof of the same
// relation and grid, which is carried on. `deepest`, where not negative,
// stops after the pass that divides pixels into 4^deepest parts (0: whole
// pixels), as if the deadline came.
using TProofClock = std::chrono::steady_clock;
constexpr int FinestProofDepth = 6;
void Prove(const TRelationTrees& relation, TProof& proof, TProofClock::time_point deadline,
           int threads, int deepest = FinestProofDepth);
