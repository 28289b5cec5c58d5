// No formula text may crash or hang the compiler or the text evaluator.
#include "TestSupport.h"

namespace {

TEST(Robustness, DeepNestingCompilesToItsSafeResult) {
    const struct {
        std::string text;
        double expected;
    } cases[] = {
        {Repeat("SIN", 100000) + "X", 0},                     // cut below the limit: sin...sin(0)
        {Repeat("(", 100000) + "X" + Repeat(")", 100000), 3}, // stripped, not nested
        {Repeat("(", 100000) + "X", 0},                       // unbalanced: an unknown name
        {Repeat(")", 100000), 0},
        {Repeat("-(", 100000) + "1" + Repeat(")", 100000), 0}, // the innermost part is cut
        {Repeat("X+", 500000) + "X", 500001 * 3.0},            // long but flat
        {Repeat("X*", 300000) + "1", 0},                       // 3^300000 overflows: inf
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

TEST(Robustness, NestedTangentsAreEvaluatedInLinearTime) {
    // Each tangent is the value of SIN a / COS a: evaluated naively, the
    // argument a would be evaluated 2^60 times.
    const struct {
        std::string text;
        double x;
    } cases[] = {
        {Repeat("TG", 60) + "X", 0.1},
        {Repeat("CTG", 40) + "X", 0.7},
        {Repeat("SEC", 40) + "X", 0.3},
        {Repeat("TG(", 60) + "X" + Repeat(")", 60), 0.1},
    };
    for (const auto& c : cases) {
        bool error = false;
        const double v = EvalFormulaText(c.text, error, c.x);
        // The tree path computes the same chain of operations.
        CompileFormula(0, c.text);
        VarX = c.x;
        EvalError = false;
        const double tree = EvalTree(FormulaTrees[0]);
        if (!error && !EvalError) {
            EXPECT_DOUBLE_EQ(v, tree) << c.text.substr(0, 12);
        }
    }
    FreeAllTrees();
    VarX = 0;

    // Unbalanced arguments keep the textual definition; the work bound ends them.
    bool error = false;
    EvalFormulaText(Repeat("TG(", 60) + "X", error, 0.1);
    EXPECT_TRUE(error);
    error = false;
    EvalFormulaText(Repeat("TG", 40) + "RAND(9)", error, 0); // random draws: both halves
    EXPECT_TRUE(error);                                      // 2^40 draws exceed the bound

    // The bound leaves room for far more than a field holds: a sum of 1,000
    // characters under 50 functions, and 12 tangents of a random argument.
    std::string big = "X";
    while (big.size() < 1000)
        big += "+X*2";
    const std::string nested = Repeat("SIN(", 50) + big + Repeat(")", 50);
    error = false;
    const double v = EvalFormulaText(nested, error, 0.25);
    EXPECT_FALSE(error);
    CompileFormula(0, nested);
    VarX = 0.25;
    EXPECT_EQ(v, EvalTree(FormulaTrees[0]));
    EvalFormulaText(Repeat("TG", 12) + "(RND/2+SIN(X)*COS(X)-X^2/7+ABS(X))", error, 0.25);
    EXPECT_FALSE(error);
    FreeAllTrees();
    VarX = 0;
}

TEST(Robustness, TangentOfAnArgumentEqualsTheQuotientText) {
    // Arguments as the function step meets them: no operator outside brackets.
    const char* args[] = {"X", "(X+1)", "(X^2)", "SQRT(X)", "PI", "(-X)", "ABS(X-3)", "SINX"};
    for (const char* a : args) {
        for (const auto& [name, text] : {std::pair<std::string, std::string>{"TG", "SIN%/COS%"},
                                         {"CTG", "COS%/SIN%"},
                                         {"SEC", "1/COS%"},
                                         {"CSEC", "1/SIN%"}}) {
            std::string rewritten = text;
            for (size_t p; (p = rewritten.find('%')) != std::string::npos;)
                rewritten.replace(p, 1, a);
            for (double x : {0.0, 0.5, 1.5707963267948966, 3.0}) {
                bool e1 = false, e2 = false;
                const double v1 = EvalFormulaText(name + a, e1, x);
                const double v2 = EvalFormulaText(rewritten, e2, x);
                EXPECT_TRUE(SameBits(v1, v2) || (v1 != v1 && v2 != v2)) << name << a << " at " << x;
                EXPECT_EQ(e1, e2) << name << a << " at " << x;
            }
        }
    }
}

TEST(Robustness, StripOuterBracketsHandlesAMillionBrackets) {
    std::string text = Repeat("(", 500000) + "X" + Repeat(")", 500000);
    StripOuterBrackets(text);
    EXPECT_EQ(text, "X");
}

} // namespace
