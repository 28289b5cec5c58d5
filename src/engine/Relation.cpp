#include "engine/Relation.h"

#include <cstring>

namespace {

// The comparison at text[k], if any: its operator and length in bytes.
bool OperatorAt(const std::string& text, std::size_t k, TRelationOp& op, int& length) {
    const auto is = [&](const char* s) { return text.compare(k, std::strlen(s), s) == 0; };
    struct TSpelling {
        const char* Text;
        TRelationOp Op;
    };
    static const TSpelling spellings[] = {
        {"<=", TRelationOp::LessEqual},     {">=", TRelationOp::GreaterEqual},
        {"\u2264", TRelationOp::LessEqual}, {"\u2265", TRelationOp::GreaterEqual},
        {"<", TRelationOp::Less},           {">", TRelationOp::Greater},
        {"=", TRelationOp::Equal},
    };
    for (const TSpelling& s : spellings)
        if (is(s.Text)) {
            op = s.Op;
            length = static_cast<int>(std::strlen(s.Text));
            return true;
        }
    return false;
}

} // namespace

std::optional<TRelationText> SplitRelation(const std::string& text) {
    std::optional<TRelationText> found;
    int depth = 0;
    for (std::size_t k = 0; k < text.size();) {
        const char c = text[k];
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        TRelationOp op;
        int length = 0;
        if (depth == 0 && OperatorAt(text, k, op, length)) {
            if (!found) {
                found = TRelationText{text.substr(0, k),
                                      text.substr(k + length),
                                      op,
                                      static_cast<int>(k),
                                      length,
                                      {}};
            } else {
                found->More.emplace_back(static_cast<int>(k), length);
            }
            k += static_cast<std::size_t>(length);
            continue;
        }
        ++k;
    }
    if (found && !found->More.empty()) // the right side ends at the next operator
        found->Right = text.substr(
            static_cast<std::size_t>(found->At + found->Length),
            static_cast<std::size_t>(found->More.front().first - found->At - found->Length));
    return found;
}
