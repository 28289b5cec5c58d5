// Fuzz target: any bytes as a formula, differentiated with respect to x and
// y. Derivative must neither crash nor hang, and the text of the formula
// and of its derivative must compile back to the same trees.
#include "engine/Derivative.h"
#include "engine/Engine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void ReadsBack(const TExprNode* tree) {
    const TTreePtr again = CompileTree(FormulaText(tree)); // never throws: its numbers convert
    if (!SameTree(again.get(), tree)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 2000) return 0; // a derivative may grow with the square of its formula
    const std::string text(reinterpret_cast<const char*>(data), size);
    TTreePtr tree;
    try {
        tree = CompileTree(text);
    } catch (const ConversionError&) {
        return 0;
    }
    if (tree == nullptr) return 0;
    ReadsBack(tree.get());
    for (double TEvalContext::*variable : {&TEvalContext::X, &TEvalContext::Y}) {
        try {
            const TTreePtr d = Derivative(tree.get(), variable);
            if (DrawsRandom(tree.get())) std::abort(); // RAND has none
            ReadsBack(d.get());
            VarX = 0.5, VarY = -1.5, EvalError = false;
            EvalTree(d.get());
        } catch (const DerivativeError&) {
            // RAND, or a derivative too long to make
        }
    }
    return 0;
}
