// Trees the caller owns: compiled apart from the slots of FormulaTrees, with
// their fast form, and evaluated independently of each other.
#include "TestSupport.h"

namespace {

TEST(OwnedTree, EvaluatesAsTheSlotAndOutlivesFreeAllTrees) {
    const struct {
        const char* text;
        double x, expected;
    } cases[] = {
        {"x*2", 3, 6},
        {"sqrt(x)+1", 16, 5},
        {"2^-1", 0, 1},
        {"", 7, 7} /* empty: x */,
    };
    for (const auto& c : cases) {
        TTreePtr tree = CompileTree(c.text);
        EXPECT_EQ(tree == nullptr, c.text[0] == '\0') << c.text;
        CompileFormula(0, c.text);
        FreeAllTrees();
        VarX = c.x;
        EvalError = false;
        EXPECT_EQ(EvalTree(tree.get()), c.expected) << c.text;
        EXPECT_FALSE(EvalError) << c.text;
        if (tree) {
            EXPECT_NE(tree->Fast, nullptr) << c.text;
        }
    }
}

TEST(OwnedTree, AMalformedNumberThrowsAndLeavesNothing) {
    EXPECT_THROW(CompileTree("x+1.2.3"), ConversionError);
    CompileFormula(3, "x");
    EXPECT_THROW(CompileFormula(3, "1..2"), ConversionError);
    EXPECT_EQ(FormulaTrees[3], nullptr);
}

TEST(OwnedTree, TwoTreesInterleaved) {
    TTreePtr a = CompileTree("x*x+y");
    TTreePtr b = CompileTree("(x-y)*(x+y)/(1+x*x)");
    for (int i = 0; i < 10; ++i) {
        VarX = i * 0.5;
        VarY = 1 - i;
        const double va = EvalTree(a.get());
        const double vb = EvalTree(b.get());
        EXPECT_EQ(va, VarX * VarX + VarY);
        EXPECT_EQ(vb, static_cast<double>((VarX - VarY) * (VarX + VarY) / (1 + VarX * VarX)));
    }
}

} // namespace
