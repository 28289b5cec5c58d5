// The plain recursive walk over a compiled tree: the reference that defines
// every result and every EvalError, against which the fast form is checked.
#pragma once

#include "engine/Engine.h"

namespace engine {

double EvalTreeWalk(const TExprNode* tree);

} // namespace engine
