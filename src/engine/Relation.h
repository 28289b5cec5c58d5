// Relations of x and y: a formula of the y(x) mode with one comparison at its
// top level ("x^2+y^2=16", "y<sin(x)", "x>=y^2", also "≤" and "≥") states the
// set of points where it holds. Each side is a formula of the language.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class TRelationOp { Equal, Less, LessEqual, Greater, GreaterEqual };

struct TRelationText {
    std::string Left, Right;
    TRelationOp Op = TRelationOp::Equal;
    int At = 0, Length = 0; // the operator's bytes in the text
    // The operators after the first, each by its bytes: a chain such as
    // "0<y<x", which is not drawn (yet).
    std::vector<std::pair<int, int>> More;
};

// The relation a text states, or none for a text without a comparison
// outside brackets.
std::optional<TRelationText> SplitRelation(const std::string& text);
