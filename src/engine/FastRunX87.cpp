// The runner that computes every operation in 80-bit precision on the x87 unit.
#include "engine/FastForm.h"
#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <memory>

namespace {

struct Arith {
    static double Add(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) + b);
    }
    static double Sub(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) - b);
    }
    static double Mul(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) * b);
    }
    static double Quot(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) / b);
    }
};

} // namespace

#define RUNNER_INDEX 0
#include "engine/FastRun.inc"

namespace engine {
double EvalTreeX87(const TExprNode* tree) {
    return Run(tree, nullptr);
}
void ThreadX87(TFastForm& form) {
    Run(nullptr, &form);
}
} // namespace engine
