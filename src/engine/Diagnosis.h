// What a formula's text holds that the compiler does not understand. The
// compiler never refuses a formula: unknown text compiles to 0 and a missing
// operand is left out. The diagnosis names each such place, with its
// position and, where one is close, what was probably meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TDiagnosisKind {
    UnknownName,      // no number, variable, constant or function: "abc", "sni(x)", "2x"
    MissingBracket,   // an opening bracket without its closing one: "sin(x"
    ExtraBracket,     // a closing bracket without its opening one: "x)"
    EmptyOperand,     // an operator or function without its operand: "x+", "*2", "sin()"
    StrayCharacter,   // a character the language does not have: "x=1", "2·x"
    Space,            // a space inside the formula: "x + 1"
    Number,           // a number the locale does not convert: "1.2.3", "1e5"
    TooDeep,          // nesting deeper than the compiler follows
    RelationChain,    // a relation with a second comparison: "0<y<x"
    RandomInRelation, // RAND in a relation, whose answer must be one
};

// What exactly is wrong, where a kind has several cases.
enum class TDiagnosisDetail {
    None,
    ImplicitProduct, // UnknownName: factors without the * between them ("2x", "x(y+1)")
    FunctionName,    // UnknownName: a name followed by a bracket, so meant as a function
    FieldsOnly,      // UnknownName: "rnd", which only the numeric fields know
    OperandBefore,   // EmptyOperand: nothing before the operator ("*2")
    OperandAfter,    // EmptyOperand: nothing after the operator ("x+")
    NoArgument,      // EmptyOperand: a function without its argument ("sin")
    EmptyBrackets,   // EmptyOperand: "()"
    Exponent,        // Number: a power of ten written with E ("1e5"), which the language lacks
};

// The 1-based positions of the first and last character of a place, in
// characters of UTF-8 text (a place of length 0 gives first > last).
struct TCharSpan {
    int First = 0, Last = 0;
};

struct TDiagnosis {
    TDiagnosisKind Kind;
    TDiagnosisDetail Detail = TDiagnosisDetail::None;
    int Pos = 0; // byte offset of the place in the text
    int Len = 0; // its length in bytes (0 for a place between characters)
    // The text of the place as typed, and what was probably meant: the
    // nearest known name ("sin" for "sni"), the place rewritten ("2*x" for
    // "2x", "*" for "×"), or empty when there is no good guess.
    std::string Text;
    std::string Hint;
    // A run of the same mark, each place right after the one before
    // ("x+++1"), is one diagnosis: Pos and Len cover the run, Text and Hint
    // are the first place's, and Count says how many places it holds.
    int Count = 1;
    TCharSpan Chars; // Pos and Len in characters
};

// The diagnoses of formula text (any case), in the order of the text; none
// for a text that compiles fully, and none for the empty text. The work
// grows with the text's length times the log of it, never with its square.
std::vector<TDiagnosis> Diagnose(const std::string& text);
// The same for a formula of the y(x) mode, which may be a relation: each
// side is diagnosed, and so are a second comparison and RAND.
std::vector<TDiagnosis> Diagnose(const std::string& text, bool relation);

// The stable name of a kind, for the command line's JSON ("unknown-name").
std::string_view KindName(TDiagnosisKind kind);

// The 1-based positions of the first and last character of a place of
// UTF-8 text given in bytes (a place of length 0 gives first > last).
TCharSpan CharacterSpan(const std::string& text, int pos, int len);
