// The places where the compiler falls back: text it does not understand,
// compiled to the constant 0, and operands that are missing. The formula
// diagnosis explains them; engine-internal.
#pragma once

#include <string>
#include <vector>

namespace engine {

struct TParseNote {
    enum TKind {
        Unknown,       // text that is no number, name or call: the constant 0
        OperandBefore, // the operator at A has no operand before it
        OperandAfter,  // the operator at A has no operand after it
        NoArgument,    // the function name [A, B) has no argument
        EmptyBrackets, // brackets with nothing inside
        Number,        // digits and separators the locale does not convert
        TooDeep,       // nesting beyond MaxFormulaDepth: the constant 0
    };
    TKind Kind;
    int A, B; // the byte range [A, B) of the text
};

// Compiles upper-case text as CompileTree does and returns, in the order
// the compiler met them, the places where it fell back. A malformed number
// is noted there instead of thrown.
std::vector<TParseNote> ParseNotes(const std::string& upper);

} // namespace engine
