#include "DiagnosisProperty.h"
#include "TestSupport.h"

#include <random>

namespace {

using K = TDiagnosisKind;
using D = TDiagnosisDetail;

class Diagnosis : public SeparatorTest {};
INSTANTIATE_FOR_SEPARATORS(Diagnosis);

struct DiagnosisRow {
    const char* text;
    int count; // diagnoses in all
    K kind;    // of the first
    D detail;
    int pos, len;
    const char* hint;
};

TEST_P(Diagnosis, EveryKindAtTheStartMiddleAndEnd) {
    const DiagnosisRow rows[] = {
        // unknown names, with the nearest known one or the missing *
        {"abc", 1, K::UnknownName, D::None, 0, 3, "abs"},
        {"x+qq*2", 1, K::UnknownName, D::None, 2, 2, ""},
        {"x+sni(x)", 1, K::UnknownName, D::FunctionName, 2, 3, "sin"},
        {"SNI(X)", 1, K::UnknownName, D::FunctionName, 0, 3, "SIN"},
        // rnd is a name of the numeric fields only: in a graph, 0
        {"rnd", 1, K::UnknownName, D::FieldsOnly, 0, 3, "rand("},
        {"x*RND", 1, K::UnknownName, D::FieldsOnly, 2, 3, "RAND("},
        {"sqrx", 1, K::UnknownName, D::None, 0, 4, "sqrt"},
        {"2x", 1, K::UnknownName, D::ImplicitProduct, 0, 2, "2*x"},
        {"1+3x", 1, K::UnknownName, D::ImplicitProduct, 2, 2, "3*x"},
        {"x*2pi", 1, K::UnknownName, D::ImplicitProduct, 2, 3, "2*pi"},
        {"x(y+1)", 1, K::UnknownName, D::ImplicitProduct, 0, 6, "x*(y+1)"},
        {"2sin(x)", 1, K::UnknownName, D::ImplicitProduct, 0, 7, "2*sin(x)"},
        {"sin(x2)", 1, K::UnknownName, D::ImplicitProduct, 4, 2, "x*2"},
        // brackets, nested as well
        {"sin(", 1, K::MissingBracket, D::None, 3, 1, ""},
        {"sin(x", 1, K::MissingBracket, D::None, 3, 1, ""},
        // the outer pair encloses "sin(x": the inner bracket is the open one
        {"(sin(x)", 1, K::MissingBracket, D::None, 4, 1, ""},
        {"1+((x)", 1, K::MissingBracket, D::None, 3, 1, ""},
        {"x)", 1, K::ExtraBracket, D::None, 1, 1, ""},
        {"(x+1))*2", 1, K::ExtraBracket, D::None, 5, 1, ""},
        {"sin(x))+cos(x)", 1, K::ExtraBracket, D::None, 6, 1, ""},
        {")x", 1, K::ExtraBracket, D::None, 0, 1, ""},
        // empty operands
        {"x+", 1, K::EmptyOperand, D::OperandAfter, 1, 1, ""},
        {"*x", 1, K::EmptyOperand, D::OperandBefore, 0, 1, ""},
        {"x--y", 1, K::EmptyOperand, D::OperandBefore, 2, 1, ""},
        {"2*x^", 1, K::EmptyOperand, D::OperandAfter, 3, 1, ""},
        {"x^^2", 1, K::EmptyOperand, D::OperandBefore, 2, 1, ""},
        {"2^-1", 1, K::EmptyOperand, D::OperandAfter, 1, 1, ""}, // (2^) - 1
        {"*", 1, K::EmptyOperand, D::OperandBefore, 0, 1, ""},
        {"sin", 1, K::EmptyOperand, D::NoArgument, 0, 3, ""},
        {"1+cos", 1, K::EmptyOperand, D::NoArgument, 2, 3, ""},
        {"sin()", 1, K::EmptyOperand, D::EmptyBrackets, 3, 2, ""},
        {"x*(())", 1, K::EmptyOperand, D::EmptyBrackets, 2, 4, ""},
        // characters the language does not have, with what it writes instead
        {"=x", 1, K::StrayCharacter, D::None, 0, 1, ""},
        {"x=1", 1, K::StrayCharacter, D::None, 1, 1, ""},
        {"2\xC2\xB7x", 1, K::StrayCharacter, D::None, 1, 2, "*"},
        {"x\xC2\xB2", 1, K::StrayCharacter, D::None, 1, 2, "^2"},
        {"x\xE2\x88\x92"
         "1",
         1, K::StrayCharacter, D::None, 1, 3, "-"},
        {"[x]", 1, K::StrayCharacter, D::None, 0, 1, "("},
        // spaces
        {" x", 1, K::Space, D::None, 0, 1, ""},
        {"x + 1", 2, K::Space, D::None, 1, 1, ""},
        {"sin  x", 1, K::Space, D::None, 3, 2, ""},
        {"x\t", 1, K::Space, D::None, 1, 1, ""},
        // numbers
        {"1.2.3", 1, K::Number, D::None, 0, 5, ""},
        {"x+1,2.3", 1, K::Number, D::None, 2, 5, ""},
        {"1e5", 1, K::Number, D::Exponent, 0, 3, "1*10^5"},
        {"2*1.5E-3", 1, K::Number, D::Exponent, 2, 6, "1.5*10^(-3)"},
        {"1e+3", 1, K::Number, D::Exponent, 0, 4, "1*10^3"},
    };
    for (const DiagnosisRow& row : rows) {
        SCOPED_TRACE(row.text);
        const std::vector<TDiagnosis> found = Diagnose(row.text);
        ASSERT_EQ(static_cast<int>(found.size()), row.count);
        const TDiagnosis& d = found.front();
        EXPECT_EQ(d.Kind, row.kind);
        EXPECT_EQ(d.Detail, row.detail);
        EXPECT_EQ(d.Pos, row.pos);
        EXPECT_EQ(d.Len, row.len);
        EXPECT_EQ(d.Hint, row.hint);
        EXPECT_EQ(d.Text, std::string(row.text).substr(row.pos, row.len));
    }
}

TEST_P(Diagnosis, TextsThatCompileFullyHaveNone) {
    for (const char* text : {"",
                             "x",
                             "-x",
                             "+x",
                             "sinx",
                             "sin(x)",
                             "SIN(X)",
                             "sqr(x)",
                             "sqrtx",
                             "2*x^2-3,5*x+1.25",
                             "((x))",
                             "e^x",
                             "pi*f",
                             "x/y/z",
                             "tg(x)*ctg(x)",
                             "abs(x)+sign(x)",
                             "lg100",
                             "-(-x)",
                             "2^(-1)",
                             "thx",
                             "y*t*u*v"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(Diagnose(text).empty());
    }
}

TEST(DiagnosisPlaces, CountCharactersNotBytes) {
    // "абв" is six bytes; the place after it is the fourth character.
    const std::string text = "\xD0\xB0\xD0\xB1\xD0\xB2+x)";
    const std::vector<TDiagnosis> found = Diagnose(text);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Kind, K::StrayCharacter);
    EXPECT_EQ(found[0].Len, 2); // one Cyrillic letter
    EXPECT_EQ(found[1].Kind, K::ExtraBracket);
    EXPECT_EQ(found[1].Pos, 8);
    const TCharSpan span = CharacterSpan(text, found[1].Pos, found[1].Len);
    EXPECT_EQ(span.First, 6);
    EXPECT_EQ(span.Last, 6);
    EXPECT_EQ(CharacterSpan("abc", 0, 3).First, 1);
    EXPECT_EQ(CharacterSpan("abc", 0, 3).Last, 3);
}

// A run of one mark, however long, is one diagnosis with its count, placed
// over the whole run in bytes and in characters.
TEST(DiagnosisPlaces, ARunOfOneMarkIsToldOnceWithItsCount) {
    const struct {
        std::string text;
        int pos, len, count;
    } rows[] = {
        {"x+++1", 2, 2, 2},
        {std::string(130000, '-') + "x", 1, 129999, 129999},
        {"\xD0\xB0-" + std::string(5, '*') + "x", 3, 5, 5}, // after a Cyrillic letter
    };
    for (const auto& row : rows) {
        const std::vector<TDiagnosis> found = Diagnose(row.text);
        const auto last = found.back();
        EXPECT_EQ(last.Pos, row.pos);
        EXPECT_EQ(last.Len, row.len);
        EXPECT_EQ(last.Count, row.count);
        const TCharSpan span = CharacterSpan(row.text, last.Pos, last.Len);
        EXPECT_EQ(last.Chars.First, span.First);
        EXPECT_EQ(last.Chars.Last, span.Last);
    }
    // Marks apart from each other stay apart.
    EXPECT_EQ(Diagnose("sni(x)+sni(x)").size(), 2u);
}

TEST(DiagnosisPlaces, DeepNestingIsNamed) {
    const std::string deep =
        Repeat("sin(", MaxFormulaDepth + 5) + "x" + Repeat(")", MaxFormulaDepth + 5);
    const std::vector<TDiagnosis> found = Diagnose(deep);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Kind, K::TooDeep);
}

// Random strings of formula pieces: every one without a diagnosis gives
// the text evaluator's value from its compiled tree.
TEST(DiagnosisProperty, ATextWithoutDiagnosisCompilesToTheTextEvaluatorsValue) {
    std::mt19937 random(20261209);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text =
            diagnosis_property::PieceText(1 + static_cast<int>(random() % 9), random);
        for (const double x : {0.0, 1.5, -2.0})
            ASSERT_EQ(diagnosis_property::Disagreement(text, x, &compared), "");
    }
    // Clean texts with a value come often enough for the property to bite.
    EXPECT_GT(compared, 15000) << compared;
}

} // namespace

namespace {

TEST(TextFaults, TheFirstFailureIsNamedWithItsText) {
    const struct {
        const char* text; // upper case, as the fields pass it
        TTextFault kind;
        const char* where;
    } rows[] = {
        {"X+1", TTextFault::None, ""},
        {"Y", TTextFault::Unknown, "Y"},
        {"2*QQ+SQRT(-1)", TTextFault::Unknown, "QQ"}, // the first one met
        {"SQRT(-1)", TTextFault::SquareRoot, "SQRT(-1)"},
        {"LN0", TTextFault::Logarithm, "LN0"},
        {"ASIN2", TTextFault::ArcRange, "ASIN2"},
        {"1/0", TTextFault::DivisionByZero, "1/0"},
        {"TG(PI/2)+0^(-1)", TTextFault::ZeroPower, "0^(-1)"},
        {"(-8)^(1/3)", TTextFault::NegativeBase, "(-8)^(1/3)"},
        {"*2", TTextFault::Unknown, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        bool error = false;
        TTextFaultInfo fault;
        EvalFormulaText(row.text, error, 0, &fault);
        EXPECT_EQ(error, row.kind != TTextFault::None);
        EXPECT_EQ(fault.Kind, row.kind);
        EXPECT_EQ(fault.Text, row.where);
    }
}

} // namespace
