// Fuzz target: any bytes as a formula. The compiler and the text evaluator
// must neither crash nor hang, and the fast form must agree with the tree walk.
#include "engine/Engine.h"
#include "engine/TreeWalk.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        CompileFormula(0, text);
    } catch (const ConversionError&) {
        return 0;
    }
    const double points[] = {0.0, -0.0, 1.5, -2.0, 1e300, NAN};
    for (double x : points) {
        VarX = VarY = VarZ = VarT = x;
        SeedRandom(1);
        EvalError = false;
        const double fast = EvalTree(FormulaTrees[0]);
        const bool fastError = EvalError;
        SeedRandom(1);
        EvalError = false;
        const double walk = engine::EvalTreeWalk(FormulaTrees[0]);
        const bool same =
            std::memcmp(&fast, &walk, sizeof fast) == 0 || (fast != fast && walk != walk);
        if (!same || fastError != EvalError) std::abort();
    }
    bool error = false;
    try {
        EvalFormulaText(UpperCaseFormula(text), error, 1.0);
    } catch (const ConversionError&) {
    }
    FreeAllTrees();
    return 0;
}
