// Interval evaluation of compiled trees: over a box of x and y, an
// enclosure of every value the formula takes where it is defined, and
// whether it is defined (and continuous) everywhere, somewhere or nowhere in
// the box. The enclosure holds the exact values of the formula, not only the
// rounded values the evaluators compute; it is what a relation's prover
// needs to say that a pixel holds no point of a curve, or surely holds one.
#pragma once

#include "engine/Engine.h"

#include <limits>

struct TInterval {
    // Every value the formula takes where it is defined lies in [Lo, Hi];
    // meaningless when Empty.
    double Lo = 0, Hi = 0;
    bool Empty = false;     // defined nowhere in the box
    bool Defined = true;    // defined everywhere in the box
    bool Continuous = true; // defined and continuous on the whole box
    // Values across a pole leave a gap: none lies strictly between GapLo and
    // GapHi (no gap where GapLo >= GapHi). Only a division (and the
    // functions that are one: tg, ctg, sec, csec, cth) makes one, and only
    // its own result keeps it: any operation on it takes [Lo, Hi] whole.
    double GapLo = 0, GapHi = 0;
    bool HasGap() const { return GapLo < GapHi; }

    static TInterval Point(double v) { return {v, v, false, true, true, 0, 0}; }
    static TInterval Of(double lo, double hi) { return {lo, hi, false, true, true, 0, 0}; }
    static TInterval Whole() {
        const double inf = std::numeric_limits<double>::infinity();
        return Of(-inf, inf);
    }
    static TInterval Nowhere() { return {0, 0, true, false, false, 0, 0}; }
    bool Contains(double v) const { return !Empty && Lo <= v && v <= Hi; }
};

// The box: intervals of x and y. Every other variable, f and the parameters
// are read from the current context as points.
struct TIntervalBox {
    TInterval X, Y;
};

// The enclosure of the tree over the box. RAND gives the whole line, not
// continuous. A null tree is x.
TInterval EvalInterval(const TExprNode* tree, const TIntervalBox& box);
