// The fast form of a compiled tree: the tree flattened into a short program of
// specialised instructions over the evaluation cells, with constant subtrees
// folded. It gives bit for bit the results, the EvalError and the order of
// random draws of the plain tree walk, which stays the reference.
#pragma once

#include "engine/Engine.h"

#include <vector>

namespace engine {

enum class FastOp : unsigned char;

struct FastInstr {
    FastOp Op;
    const double* Cell = nullptr;
    const double* Cell2 = nullptr;
    double Value = 0.0;
    TUnaryFunc Func = nullptr;
};

} // namespace engine

struct TFastForm {
    std::vector<engine::FastInstr> Code;
    std::vector<double> Stack; // room for the operands waiting for their operation
};

namespace engine {

// Builds the fast form of the tree under `root`, or null where the tree walk
// should be used (a node without an operation).
TFastForm* BuildFastForm(const TExprNode* root);

double RunFastForm(const TFastForm& form);

} // namespace engine
