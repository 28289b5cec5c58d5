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

    static TInterval Point(double v) { return {v, v}; }
    static TInterval Of(double lo, double hi) { return {lo, hi}; }
    static TInterval Whole() {
        const double inf = std::numeric_limits<double>::infinity();
        return {-inf, inf};
    }
    static TInterval Nowhere() { return {0, 0, true, false, false}; }
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
