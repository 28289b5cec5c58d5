// Parameters in the formula language: a defined name reads its cell in
// every evaluator exactly as the number would, a name the language already
// reads keeps its meaning, and the names that cannot be parameters are told.
#include "engine/Engine.h"
#include "engine/FastForm.h"
#include "engine/TreeWalk.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>

namespace {

class Parameters : public ::testing::TestWithParam<engine::TEvaluator> {
  protected:
    void SetUp() override {
        engine::SelectEvaluator(GetParam());
        DecimalSeparatorChar = '.';
        SetParameterNames({"A", "B", "K2"});
        MainContext.P[0] = 2, MainContext.P[1] = -0.75, MainContext.P[2] = 1e-3;
    }
    void TearDown() override {
        FreeAllTrees();
        SetParameterNames({});
        std::fill(std::begin(MainContext.P), std::end(MainContext.P), 0.0);
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    }
    static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }
    // The formula's value at (x, y, z) by the compiled tree, its tree walk
    // and a row along x.
    struct TValues {
        double Tree, Walk, Row;
    };
    static TValues Values(const std::string& formula, double x, double y, double z) {
        CompileFormula(0, UpperCaseFormula(formula));
        const TExprNode* tree = FormulaTrees[0];
        VarX = x, VarY = y, VarZ = z;
        const double t = EvalTree(tree), w = engine::EvalTreeWalk(tree);
        double row = 0;
        bool error = false;
        EvalRow(tree, MainContext, &TEvalContext::X, &x, 1, &row, &error);
        return {t, w, row};
    }
};

// Each row: a formula with parameters and the same formula with their
// values written in; the two agree bit for bit in every evaluator.
TEST_P(Parameters, ReadTheirCellsAsTheNumberWouldBeRead) {
    const struct {
        const char* with;
        const char* written;
    } rows[] = {
        {"a*sin(x)", "2*sin(x)"},    {"sin(b*x)+a", "sin(-0.75*x)+2"},
        {"x^a-k2*y", "x^2-0.001*y"}, {"sqrt(x^2+y^2+z^2)-a", "sqrt(x^2+y^2+z^2)-2"}, // a 3D formula
        {"a*b*x", "2*(-0.75)*x"},    {"ln(a*x)/b", "ln(2*x)/(-0.75)"},
    };
    for (const auto& r : rows)
        for (const double x : {-3.5, -1.0, 0.0, 0.25, 2.0, 7.0}) {
            const TValues with = Values(r.with, x, 1.5, -2.0);
            const TValues written = Values(r.written, x, 1.5, -2.0);
            EXPECT_EQ(Bits(with.Tree), Bits(written.Tree)) << r.with << " at " << x;
            EXPECT_EQ(Bits(with.Walk), Bits(written.Walk)) << r.with << " at " << x;
            EXPECT_EQ(Bits(with.Row), Bits(written.Row)) << r.with << " at " << x;
            EXPECT_EQ(Bits(with.Tree), Bits(with.Walk)) << r.with << " at " << x;
        }
    // The text evaluator of the numeric fields reads them too.
    bool error = false;
    EXPECT_EQ(EvalFormulaText("A*2+K2", error, 0), 4.001);
    EXPECT_FALSE(error);
    EXPECT_EQ(FieldNumberValue("a*b"), -1.5);
}

// What the language reads already keeps its meaning; an undefined name is 0.
TEST_P(Parameters, NamesTheLanguageHasKeepTheirMeaning) {
    SetParameterNames({"A", "SINX", "E1"});
    MainContext.P[0] = 5, MainContext.P[1] = 100, MainContext.P[2] = 7;
    const struct {
        const char* formula;
        double x, expected;
    } rows[] = {
        {"asin(x)", 0.5, std::asin(0.5)}, // not A times SIN
        {"sinx", 0.5, std::sin(0.5)},     // SIN(X), whatever is defined
        {"e", 0, std::exp(1.0)},
        {"e1", 0, 7},
        {"a+c", 0, 5}, // C is no parameter: 0, as an unknown name is
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(Values(r.formula, r.x, 0, 0).Tree, r.expected) << r.formula;
    // A new value is read at the next evaluation; a removed name is 0 again
    // after the trees are compiled anew.
    CompileFormula(0, "A*X");
    VarX = 2;
    MainContext.P[0] = 3;
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 6);
    const std::uint64_t generation = FormulaTreesGeneration;
    SetParameterNames({});
    EXPECT_NE(FormulaTreesGeneration, generation);
    CompileFormula(0, "A*X");
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 0);
}

TEST_P(Parameters, NamesTheLanguageReadsAreTaken) {
    const struct {
        const char* name;
        bool taken;
    } rows[] = {
        {"a", false},    {"k2", false},  {"Alpha", false}, {"x1", false}, {"c", false},
        {"x", true},     {"F", true},    {"pi", true},     {"e", true},   {"rnd", true},
        {"rand", true},  {"sin", true},  {"sina", true},   {"tga", true}, {"sqrta", true},
        {"asinh", true}, {"Exp1", true}, {"e2", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(NameTakenByLanguage(r.name), r.taken) << r.name;
}

INSTANTIATE_TEST_SUITE_P(Evaluators, Parameters,
                         ::testing::Values(engine::TEvaluator::MachineCode,
                                           engine::TEvaluator::Interpreter));

} // namespace
