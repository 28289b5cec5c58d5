#include "TestSupport.h"

#include <limits>

namespace {

const double Pi = 3.141592653589793;

class TextEval : public SeparatorTest {};
INSTANTIATE_FOR_SEPARATORS(TextEval);

struct TextCase {
    const char* text; // upper case, as the callers pass it
    double x;
    double expected;
    bool error;
};

Evaluated EvalText(const std::string& text, double x = 0) {
    bool error = false;
    const double v = EvalFormulaText(text, error, x);
    return {v, error};
}

TEST_P(TextEval, ValuesAndTheDifferencesFromTheTreePath) {
    const TextCase cases[] = {
        {"X^2", 3, 9, false},
        {"2*PI", 0, 2 * Pi, false},
        {"PI/2", 0, Pi / 2, false},
        {"X", 7, 7, false},
        {"Y", 0, 0, true}, // plotting variables are unknown here
        {"T", 0, 0, true},
        {"QQ", 0, 0, true},    // unknown name
        {"", 0, 0, true},      // empty text
        {"SIN", 0, 0, true},   // empty argument
        {"2*", 0, 2, false},   // an empty last buffer is not evaluated
        {"*2", 0, 0, true},    // but an empty first operand of a product is
        {"-X", 4, -4, false},  // empty operands of a sum are skipped
        {"PIX", 0, Pi, false}, // the rest after PI is ignored
        {"0^(-1)", 0, 0, true},
        {"0^0", 0, 0, false},
        {"1/0", 0, 1, true}, // the zero factor is skipped
        {"6/0*2", 0, 12, true},
        {"(-8)^(1/3)", 0, -8, true}, // the base is kept
        {"(-8)^3", 0, -512, false},
        {"2^3^2", 0, 64, false},
        {"2^-1", 0, 1, false},
        {"SQRT(-1)", 0, 0, true},
        {"SQRT(16)", 0, 4, false},
        {"LG(1000)", 0, 3, false},
        {"LN(0)", 0, 0, true},
        {"ASIN(1.5)", 0, 0, true},
        {"ASIN(1)", 0, Pi / 2, false},
        {"ACOS(-1)", 0, Pi, false},
        {"TH(1000)", 0, 1, false}, // 80-bit throughout: 1 far beyond 710
        {"TH(-1000)", 0, -1, false},
        {"SQR(3)+1", 0, 10, false},
        {"SIGN(0)", 0, 0, false},
        {"CTG(PI/4)", 0, 1.0000000000000002, false},
        {"SEC(0)", 0, 1, false},
        {"CSEC(0)", 0, 1, true}, // 1/SIN0: the zero divisor is skipped
        {"CTG(0)", 0, 1, true},
        {"E", 0, 2.718281828459045, false},
        {"1,5+1.5", 0, 3, false},
        {"X + 1", 0, 0, true},
        {"2*3)", 0, 0, true}, // the bracket depth carries into the later scans
        {"RAND(0)", 0, 0, false},
        {"ABS(-2)", 0, 2, false},
        {"SIGN(-3)", 0, -1, false},
    };
    for (const auto& c : cases) {
        const Evaluated r = EvalText(c.text, c.x);
        EXPECT_DOUBLE_EQ(r.value, c.expected) << c.text;
        EXPECT_EQ(r.error, c.error) << c.text;
    }
}

TEST_P(TextEval, FrameNumberRandomRealAndLargeHyperbolicTangents) {
    FrameCounter = 17;
    EXPECT_EQ(EvalText("F").value, 17);
    FrameCounter = 0;
    EXPECT_EQ(EvalText("F").value, 0);
    for (int i = 0; i < 100; ++i) {
        const Evaluated r = EvalText("RND");
        EXPECT_GE(r.value, 0);
        EXPECT_LT(r.value, 1);
        EXPECT_FALSE(r.error);
    }
    EXPECT_TRUE(std::isnan(EvalText("TH(20000)").value));
    EXPECT_EQ(EvalText("CTH(0)").value, std::numeric_limits<double>::infinity());
    const Evaluated tangent = EvalText("TG(PI/2)");
    EXPECT_FALSE(tangent.error);
    EXPECT_GT(tangent.value, 1e15);
}

TEST_P(TextEval, MalformedNumberThrows) {
    EXPECT_THROW(EvalText("1.2.3+X"), ConversionError);
    EXPECT_THROW(EvalText("SIN(.)"), ConversionError);
}

TEST_P(TextEval, TheErrorFlagIsNeverCleared) {
    bool error = true;
    EXPECT_EQ(EvalFormulaText("1+1", error, 0), 2);
    EXPECT_TRUE(error);
}

} // namespace
