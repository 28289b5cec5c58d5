// No formula text may crash or hang the compiler or the text evaluator.
#include "TestSupport.h"

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * n);
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(Robustness, DeepNestingCompilesToItsSafeResult) {
    const struct {
        std::string text;
        double expected;
    } cases[] = {
        {Repeat("SIN", 100000) + "X", 0},                       // cut below the limit: sin...sin(0)
        {Repeat("(", 100000) + "X" + Repeat(")", 100000), 3},   // stripped, not nested
        {Repeat("(", 100000) + "X", 0},                         // unbalanced: an unknown name
        {Repeat(")", 100000), 0},
        {Repeat("-(", 100000) + "1" + Repeat(")", 100000), 0},  // the innermost part is cut
        {Repeat("X+", 500000) + "X", 500001 * 3.0},             // long but flat
        {Repeat("X*", 300000) + "1", 0},                        // 3^300000 overflows: inf
    };
    for (const auto& c : cases) {
        CompileFormula(0, c.text);
        VarX = 3;
        EvalError = false;
        const double v = EvalTree(FormulaTrees[0]);
        if (std::isinf(v)) continue;
        EXPECT_EQ(v, c.expected) << c.text.substr(0, 30);
        EXPECT_EQ(NodesWithoutOperation(FormulaTrees[0]), 0);
    }
    FreeAllTrees();
    VarX = 0;
}

TEST(Robustness, ANestingBelowTheLimitIsCompiledInFull) {
    const int depth = MaxFormulaDepth / 2;
    CompileFormula(0, Repeat("-(", depth) + "X" + Repeat(")", depth));
    VarX = 2;
    EXPECT_EQ(EvalTree(FormulaTrees[0]), depth % 2 ? -2 : 2);
    FreeAllTrees();
    VarX = 0;
}

TEST(Robustness, TheTextEvaluatorReportsNestingBeyondTheLimit) {
    const std::string deep[] = {
        Repeat("SIN", 100000) + "X",
        Repeat("-(", 100000) + "1" + Repeat(")", 100000),
        Repeat("1+(", 50000) + "1" + Repeat(")", 50000),
    };
    for (const auto& text : deep) {
        bool error = false;
        EvalFormulaText(text, error, 0);
        EXPECT_TRUE(error) << text.substr(0, 20);
    }
    bool error = false;
    EXPECT_EQ(EvalFormulaText(Repeat("(", 200000) + "1" + Repeat(")", 200000), error, 0), 1);
    EXPECT_FALSE(error);
    const int depth = MaxFormulaDepth / 4;
    EXPECT_EQ(EvalFormulaText(Repeat("SQRT(", depth) + "1" + Repeat(")", depth), error, 0), 1);
    EXPECT_FALSE(error);
}

TEST(Robustness, StripOuterBracketsHandlesAMillionBrackets) {
    std::string text = Repeat("(", 500000) + "X" + Repeat(")", 500000);
    StripOuterBrackets(text);
    EXPECT_EQ(text, "X");
}

} // namespace
