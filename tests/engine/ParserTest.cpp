#include "TestSupport.h"

#include <limits>

namespace {

const double Pi = 3.141592653589793;
const double Nan = std::numeric_limits<double>::quiet_NaN();

struct StripCase {
    const char* text;
    const char* stripped;
};

TEST(StripOuterBrackets, RemovesOnlyBracketsThatEncloseTheWholeText) {
    const StripCase cases[] = {
        {"((X))", "X"},
        {"(X)*(Y)", "(X)*(Y)"},
        {"()", ""},
        {"", ""},
        {"(X", "(X"},
        {"X)", "X)"},
        {"((X)", "(X"},
        {"(((1+2)))", "1+2"},
        {"((X)+(Y))", "(X)+(Y)"},
        {"(()())", "()()"},
        {"(", "("},
        {")", ")"},
        {"(()", "("},
        {"((()))", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        StripOuterBrackets(text);
        EXPECT_EQ(text, c.stripped) << "from " << c.text;
    }
}

class Parser : public SeparatorTest {};
INSTANTIATE_FOR_SEPARATORS(Parser);

struct ValueCase {
    const char* formula;
    double x;
    double expected;
};

TEST_P(Parser, ScanOrderGivesTheLanguageItsPrecedence) {
    const ValueCase cases[] = {
        {"-X^2", 3, -9},
        {"2^3^2", 0, 64},
        {"2^-1", 0, 1},     // the power 2^ has one operand; minus 1
        {"X*-1", 5, 4},     // the product X* is x; minus 1
        {"2^(-1)", 0, 0.5}, // in brackets, as the user's guide advises
        {"X*(-1)", 5, -5},
        {"2^-X", 3, -1},
        {"2*X/2*X", 3, 9}, // left to right
        {"X--1", 5, 4},    // of several signs only the last counts
        {"X-+1", 5, 6},
        {"SINX^2", 0.5, std::sin(0.5) * std::sin(0.5)},
        {"SQRT2", 0, std::sqrt(2.0)},
        {"X^", 7, 7},
        {"X*", 7, 7},
        {"2X", 7, 0},
        {"SQRX", 7, 0},
        {"SIN", 7, 0},
        {"(X", 7, 0},
        {"PIX", 7, 0},
        {"x + 1", 7, 0}, // no white space: "X " and " 1" are unknown names
        {"1,5", 0, 1.5},
        {"1.5", 0, 1.5},
        {"SQR(X+1)", 2, 9},
        {"SQRT(X+1)", 3, 2},
        {"SQR(X)+1", 2, 5},
        {"CH(X)", 0, 1},
        {"CTG(X)", Pi / 4, 1.0},
        {"PI*X", 2, 2 * Pi},
        {"2^(-1)", 0, 0.5},
        {"((X))", 4, 4},
        {"()", 4, 0},
        {"EXP(X)", 0, 1},
        {"E", 0, 2.718281828459045},
        {"TH(X)", 0, 0},
        {"T", 0, 0},
        {"sin(x)*2", Pi / 2, 2},
        {"x/2/2", 8, 2},
        {"/X*2", 3, 6}, // a product multiplies by its first operand
        {"-X+Y", 3, -3},
        {"10-2-3", 0, 5},
        {"ABS(-3)", 0, 3},
        {"SIGNX", -2, -1},
        {"2*(3+4)", 0, 14},
        {"ЖX", 1, 0}, // non-latin letters are ordinary characters
    };
    for (const auto& c : cases) {
        const Evaluated r = CompileAndEval(c.formula, c.x);
        EXPECT_DOUBLE_EQ(r.value, c.expected) << c.formula;
        EXPECT_FALSE(r.error) << c.formula;
    }
}

TEST_P(Parser, CompilesWholeNamesAndBracketsIntoTheExpectedNodes) {
    CompileFormula(0, "((x))");
    ASSERT_NE(FormulaTrees[0], nullptr);
    EXPECT_EQ(FormulaTrees[0]->Kind, nkFunction);
    EXPECT_EQ(FormulaTrees[0]->Child, nullptr);

    CompileFormula(0, "()");
    EXPECT_EQ(FormulaTrees[0]->Kind, nkConstant);
    EXPECT_EQ(FormulaTrees[0]->Value, 0.0);

    CompileFormula(0, "pi");
    EXPECT_EQ(FormulaTrees[0]->Kind, nkConstant);
    EXPECT_EQ(FormulaTrees[0]->Value, Pi);

    CompileFormula(0, "x-y+z");
    const TExprNode* sum = FormulaTrees[0];
    ASSERT_EQ(sum->Kind, nkSum);
    ASSERT_NE(sum->Child, nullptr);
    EXPECT_EQ(sum->Child->Positive, 1);
    ASSERT_NE(sum->Child->Next, nullptr);
    EXPECT_EQ(sum->Child->Next->Positive, 0);
    ASSERT_NE(sum->Child->Next->Next, nullptr);
    EXPECT_EQ(sum->Child->Next->Next->Positive, 1);
    EXPECT_EQ(sum->Child->Next->Next->Next, nullptr);
}

TEST_P(Parser, VariablesReadTheirCells) {
    const struct {
        const char* name;
        double* cell;
    } vars[] = {{"x", &VarX}, {"y", &VarY}, {"z", &VarZ}, {"t", &VarT},
                {"u", &VarU}, {"v", &VarV}, {"f", &VarF}};
    for (const auto& v : vars) {
        CompileFormula(0, v.name);
        VarX = VarY = VarZ = VarT = VarU = VarV = VarF = 0;
        *v.cell = 42.5;
        EXPECT_EQ(EvalTree(FormulaTrees[0]), 42.5) << v.name;
    }
    VarX = VarY = VarZ = VarT = VarU = VarV = VarF = 0;
}

TEST_P(Parser, MalformedNumberThrowsTheConversionMessageAndLeavesTheSlotEmpty) {
    CompileFormula(3, "x");
    try {
        CompileFormula(3, "x+1.2.3");
        FAIL() << "no ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + Local("1.2.3") + "' is not a valid floating point value");
    }
    EXPECT_EQ(FormulaTrees[3], nullptr);
    EXPECT_THROW(CompileFormula(0, "."), ConversionError);
    EXPECT_THROW(CompileFormula(0, "sin(,,)"), ConversionError);
}

TEST_P(Parser, OperatorsWithoutOperandsNeverLeaveANodeWithoutOperation) {
    const ValueCase cases[] = {
        {"*X", 5, 0}, {"/2", 5, 0}, {"^3", 5, 0},  {"-", 5, 0},    {"+-", 5, 0},    {"*", 5, 0},
        {"^", 5, 0},  {"--", 5, 0}, {"(-)", 5, 0}, {"SIN-", 5, 0}, {"*X*2", 5, 10},
    };
    for (const auto& c : cases) {
        const Evaluated r = CompileAndEval(c.formula, c.x);
        EXPECT_EQ(NodesWithoutOperation(FormulaTrees[0]), 0) << c.formula;
        EXPECT_EQ(r.value, c.expected) << c.formula;
        EXPECT_FALSE(r.error) << c.formula;
    }
}

TEST_P(Parser, SlotsAreFreedAndRefilled) {
    CompileFormula(0, "x");
    CompileFormula(10, "y");
    CompileFormula(5, "");
    EXPECT_NE(FormulaTrees[0], nullptr);
    EXPECT_NE(FormulaTrees[10], nullptr);
    EXPECT_EQ(FormulaTrees[5], nullptr);
    FreeAllTrees();
    for (const auto* slot : FormulaTrees)
        EXPECT_EQ(slot, nullptr);
    CompileFormula(FormulaSlotCount, "x"); // no such slot: nothing happens
    CompileFormula(-1, "x");
    for (const auto* slot : FormulaTrees)
        EXPECT_EQ(slot, nullptr);
}

TEST_P(Parser, UpperCasesOnlyLatinLetters) {
    EXPECT_EQ(UpperCaseFormula("sin(x)+Жж_q"), "SIN(X)+Жж_Q");
}

TEST_P(Parser, NanAndInfinityInConstantsFlowThrough) {
    VarX = Nan;
    CompileFormula(0, "x+1");
    EXPECT_TRUE(std::isnan(EvalTree(FormulaTrees[0])));
    VarX = 0;
}

} // namespace
