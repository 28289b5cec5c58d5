// Relations: where a y(x) formula's comparison is, what each side is, and
// what the diagnosis says of a relation that cannot be drawn.
#include "engine/Relation.h"
#include "engine/Diagnosis.h"

#include <gtest/gtest.h>

namespace {

TEST(Relation, OneComparisonOutsideBracketsSplitsTheFormula) {
    const struct {
        const char* text;
        bool relation;
        TRelationOp op;
        const char *left, *right;
        std::size_t more; // further comparisons: a chain
    } rows[] = {
        {"x^2+y^2=16", true, TRelationOp::Equal, "x^2+y^2", "16", 0},
        {"y<sin(x)", true, TRelationOp::Less, "y", "sin(x)", 0},
        {"y<=x", true, TRelationOp::LessEqual, "y", "x", 0},
        {"x>=y^2", true, TRelationOp::GreaterEqual, "x", "y^2", 0},
        {"y>1", true, TRelationOp::Greater, "y", "1", 0},
        {"y\u2264x", true, TRelationOp::LessEqual, "y", "x", 0},
        {"y\u2265x", true, TRelationOp::GreaterEqual, "y", "x", 0},
        {"0<y<x", true, TRelationOp::Less, "0", "y", 1},
        {"sin(x=1)", false, TRelationOp::Equal, "", "", 0},
        {"sin(x)", false, TRelationOp::Equal, "", "", 0},
    };
    for (const auto& r : rows) {
        const auto split = SplitRelation(r.text);
        ASSERT_EQ(split.has_value(), r.relation) << r.text;
        if (!split) continue;
        EXPECT_EQ(split->Op, r.op) << r.text;
        EXPECT_EQ(split->Left, r.left) << r.text;
        EXPECT_EQ(split->Right, r.right) << r.text;
        EXPECT_EQ(split->More.size(), r.more) << r.text;
    }
}

TEST(Relation, TheDiagnosisReadsEachSideAndRefusesChainsAndRandomNumbers) {
    const struct {
        const char* text;
        bool relation; // diagnosed as a y(x) formula, which may be a relation
        std::vector<std::tuple<TDiagnosisKind, int, int>> found; // kind, first and last char
    } rows[] = {
        {"x^2+y^2=16", true, {}},
        {"y<=sqrt(x)", true, {}},
        {"y\u2264x", true, {}},
        {"0<y<x", true, {{TDiagnosisKind::RelationChain, 4, 4}}},
        {"y=rand(3)", true, {{TDiagnosisKind::RandomInRelation, 3, 6}}},
        {"=x", true, {{TDiagnosisKind::EmptyOperand, 1, 1}}},
        {"y=", true, {{TDiagnosisKind::EmptyOperand, 2, 2}}},
        {"y=sni(x)", true, {{TDiagnosisKind::UnknownName, 3, 5}}},
        {"y\u2265sni(x)", true, {{TDiagnosisKind::UnknownName, 3, 5}}},
        {"x=1", false, {{TDiagnosisKind::StrayCharacter, 2, 2}}},
    };
    for (const auto& r : rows) {
        const std::vector<TDiagnosis> found = Diagnose(r.text, r.relation);
        ASSERT_EQ(found.size(), r.found.size()) << r.text;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].Kind, std::get<0>(r.found[i])) << r.text;
            EXPECT_EQ(found[i].Chars.First, std::get<1>(r.found[i])) << r.text;
            EXPECT_EQ(found[i].Chars.Last, std::get<2>(r.found[i])) << r.text;
        }
    }
}

} // namespace
