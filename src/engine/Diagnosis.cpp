// The formula diagnosis: the compiler notes where it fell back, and each
// note is explained here from the text around it.
#include "engine/Diagnosis.h"
#include "engine/Relation.h"

#include "engine/Engine.h"
#include "engine/Library.h"
#include "engine/ParseNotes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <set>
#include <tuple>

namespace {

using engine::TParseNote;

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNumberChar(char c) {
    return IsDigit(c) || c == '.' || c == ',';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}
bool IsLanguageChar(char c) {
    return IsLetter(c) || IsNumberChar(c) || IsSpace(c) ||
           std::string_view("()+-*/^").find(c) != std::string_view::npos;
}

// The length of the UTF-8 character that starts with byte `lead`.
int CharLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Characters from other notations, and what this language writes instead.
std::string ReplacementOf(std::string_view c) {
    static const std::pair<std::string_view, std::string_view> table[] = {
        {"\u00D7", "*"},  {"\u00B7", "*"},  {"\u2219", "*"},  {"\u22C5", "*"},
        {"\u00F7", "/"},  {":", "/"},       {"\u2212", "-"},  {"\u2013", "-"},
        {"\u00B2", "^2"}, {"\u00B3", "^3"}, {"\u03C0", "pi"}, {"\u221A", "sqrt"},
        {"[", "("},       {"]", ")"},       {"{", "("},       {"}", ")"},
    };
    for (const auto& [from, to] : table)
        if (c == from) return std::string(to);
    return {};
}

// A function name at the start of text, by the compiler's rule: the
// shortest prefix that is a name, and only names that start with one of
// these letters. Its length, or 0.
size_t FunctionPrefix(std::string_view text) {
    if (text.empty() || std::string_view("ACELRST").find(text[0]) == std::string_view::npos)
        return 0;
    for (size_t length = 1; length <= std::min<size_t>(5, text.size()); ++length)
        for (const auto& entry : engine::TreeFunctionNames)
            if (text.substr(0, length) == entry.Name) return length;
    return 0;
}

// A variable or constant at the start of text: its length, or 0.
size_t AtomPrefix(std::string_view text) {
    if (text.substr(0, 2) == "PI") return 2;
    if (!text.empty() && std::string_view("XYZTUVFE").find(text[0]) != std::string_view::npos)
        return 1;
    return 0;
}

// The optimal string alignment distance (edits and swaps of neighbours).
int Distance(std::string_view a, std::string_view b) {
    const size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; ++i)
        d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j)
        d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i)
        for (size_t j = 1; j <= m; ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[n][m];
}

// The known name nearest to an unknown one, when one is close enough to be
// a slip of the keyboard: one edit, or two in a name of five letters or more.
std::string NearestName(std::string_view word, bool function) {
    std::vector<std::string_view> names;
    for (const auto& entry : engine::TreeFunctionNames)
        names.push_back(entry.Name == "SQR(" ? std::string_view("SQR") : entry.Name);
    if (!function)
        for (std::string_view name : {"X", "Y", "Z", "T", "U", "V", "F", "PI", "E"})
            names.push_back(name);
    const int allowed = word.size() >= 5 ? 2 : 1;
    std::string best;
    int bestDistance = allowed + 1;
    for (std::string_view name : names) {
        // A one-letter word is as near to every one-letter name: no guess.
        if (word.size() == 1 && name.size() == 1) continue;
        const int d = Distance(word, name);
        if (d < bestDistance) {
            bestDistance = d;
            best = std::string(name);
        }
    }
    return best;
}

// The case the user typed in: lower case when the typed word has no capital.
std::string InTypedCase(std::string name, std::string_view typed) {
    const bool lower = std::none_of(typed.begin(), typed.end(), [](char c) { return IsLetter(c); });
    if (lower)
        for (char& c : name)
            if (IsLetter(c)) c = static_cast<char>(c - 'A' + 'a');
    return name;
}

struct TProductSplit {
    std::vector<std::pair<int, int>> Factors; // [from, to) within the text
    int Failure = -1;                         // where no factor starts, or -1
};

// Splits text without operators into the factors a product would have:
// numbers, variables and constants, bracket groups, and a function call
// with the rest of the text as its argument.
TProductSplit SplitFactors(std::string_view text) {
    TProductSplit split;
    const int n = static_cast<int>(text.size());
    int k = 0;
    while (k < n) {
        const char c = text[k];
        int end = k;
        if (IsNumberChar(c)) {
            while (end < n && IsNumberChar(text[end]))
                ++end;
        } else if (c == '(') {
            int depth = 0;
            do {
                depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
                ++end;
            } while (end < n && depth > 0);
        } else if (FunctionPrefix(text.substr(k)) > 0) {
            end = n;
        } else if (const size_t atom = AtomPrefix(text.substr(k)); atom > 0) {
            end = k + static_cast<int>(atom);
        } else {
            split.Failure = k;
            return split;
        }
        split.Factors.push_back({k, end});
        k = end;
    }
    return split;
}

class TClassifier {
  public:
    TClassifier(const std::string& typed, const std::string& upper)
        : typed_(typed), upper_(upper) {}

    TDiagnosis Explain(const TParseNote& note) const {
        switch (note.Kind) {
        case TParseNote::OperandBefore:
            return Place(TDiagnosisKind::EmptyOperand, TDiagnosisDetail::OperandBefore, note.A,
                         note.B);
        case TParseNote::OperandAfter:
            return Place(TDiagnosisKind::EmptyOperand, TDiagnosisDetail::OperandAfter, note.A,
                         note.B);
        case TParseNote::NoArgument:
            return Place(TDiagnosisKind::EmptyOperand, TDiagnosisDetail::NoArgument, note.A,
                         note.B);
        case TParseNote::EmptyBrackets:
            return Place(TDiagnosisKind::EmptyOperand, TDiagnosisDetail::EmptyBrackets, note.A,
                         note.B);
        case TParseNote::Number:
            return Place(TDiagnosisKind::Number, TDiagnosisDetail::None, note.A, note.B);
        case TParseNote::TooDeep:
            return Place(TDiagnosisKind::TooDeep, TDiagnosisDetail::None, note.A, note.B);
        case TParseNote::Unknown:
            break;
        }
        return Unknown(note.A, note.B);
    }

  private:
    TDiagnosis Place(TDiagnosisKind kind, TDiagnosisDetail detail, int a, int b,
                     std::string hint = {}) const {
        TDiagnosis d;
        d.Kind = kind, d.Detail = detail, d.Pos = a, d.Len = b - a;
        d.Text = typed_.substr(a, b - a);
        d.Hint = std::move(hint);
        return d;
    }

    // Text that is no number, name or call: the first thing in it that the
    // language does not have, in the order a reader would fix them.
    TDiagnosis Unknown(int a, int b) const {
        const std::string_view text = std::string_view(upper_).substr(a, b - a);
        for (int k = a; k < b; ++k) {
            const char c = upper_[k];
            if (IsLanguageChar(c)) continue;
            const int length = std::min(CharLength(static_cast<unsigned char>(c)), b - k);
            return Place(TDiagnosisKind::StrayCharacter, TDiagnosisDetail::None, k, k + length,
                         ReplacementOf(std::string_view(typed_).substr(k, length)));
        }
        if (std::optional<TDiagnosis> bracket = Brackets(a, b)) return *bracket;
        for (int k = a; k < b; ++k) {
            if (!IsSpace(upper_[k])) continue;
            int end = k;
            while (end < b && IsSpace(upper_[end]))
                ++end;
            return Place(TDiagnosisKind::Space, TDiagnosisDetail::None, k, end);
        }
        if (std::optional<TDiagnosis> exponent = Exponent(a, b)) return *exponent;
        const TProductSplit split = SplitFactors(text);
        if (split.Failure < 0 && split.Factors.size() >= 2) {
            std::string hint;
            for (const auto& [from, to] : split.Factors)
                hint += (hint.empty() ? "" : "*") + typed_.substr(a + from, to - from);
            return Place(TDiagnosisKind::UnknownName, TDiagnosisDetail::ImplicitProduct, a, b,
                         hint);
        }
        const int from = a + std::max(split.Failure, 0);
        int to = from;
        while (to < b && IsLetter(upper_[to]))
            ++to;
        if (to == from) return Place(TDiagnosisKind::UnknownName, TDiagnosisDetail::None, a, b);
        const std::string_view word = std::string_view(upper_).substr(from, to - from);
        if (word == "RND") // a name of the numeric fields: in a graph, 0
            return Place(TDiagnosisKind::UnknownName, TDiagnosisDetail::FieldsOnly, from, to,
                         InTypedCase("RAND(", typed_.substr(from, to - from)));
        const bool function = to < b && upper_[to] == '(';
        const std::string nearest = NearestName(word, function);
        return Place(TDiagnosisKind::UnknownName,
                     function ? TDiagnosisDetail::FunctionName : TDiagnosisDetail::None, from, to,
                     nearest.empty() ? "" : InTypedCase(nearest, typed_.substr(from, to - from)));
    }

    // A closing bracket without its opening one, or else the first opening
    // bracket that is never closed.
    std::optional<TDiagnosis> Brackets(int a, int b) const {
        std::vector<int> open;
        for (int k = a; k < b; ++k) {
            if (upper_[k] == '(') {
                open.push_back(k);
            } else if (upper_[k] == ')') {
                if (open.empty())
                    return Place(TDiagnosisKind::ExtraBracket, TDiagnosisDetail::None, k, k + 1);
                open.pop_back();
            }
        }
        if (open.empty()) return std::nullopt;
        return Place(TDiagnosisKind::MissingBracket, TDiagnosisDetail::None, open.front(),
                     open.front() + 1);
    }

    // A number with a power of ten after E: "1E5", or "1E" with the sign
    // and digits that the compiler took for the next operand ("1E-5").
    std::optional<TDiagnosis> Exponent(int a, int b) const {
        const int n = static_cast<int>(upper_.size());
        int k = a;
        while (k < b && IsNumberChar(upper_[k]))
            ++k;
        if (!IsDigit(upper_[a]) || k + 1 > b || upper_[k] != 'E') return std::nullopt;
        auto digitsFrom = [&](int from, int limit) {
            int end = from;
            while (end < limit && IsDigit(upper_[end]))
                ++end;
            return end;
        };
        std::string power;
        int end = b;
        if (k + 1 < b) {
            if (digitsFrom(k + 1, b) != b) return std::nullopt;
            power = typed_.substr(k + 1, b - k - 1);
        } else {
            // The sign ended the number's text: the compiler saw "1E" - "5".
            if (b + 1 >= n || (upper_[b] != '-' && upper_[b] != '+') || !IsDigit(upper_[b + 1]))
                return std::nullopt;
            end = digitsFrom(b + 1, n);
            power = typed_.substr(b + 1, end - b - 1);
            if (upper_[b] == '-') power = "(-" + power + ")";
        }
        return Place(TDiagnosisKind::Number, TDiagnosisDetail::Exponent, a, end,
                     typed_.substr(a, k - a) + "*10^" + power);
    }

    const std::string& typed_;
    const std::string& upper_;
};

} // namespace

namespace {

std::vector<TDiagnosis> DiagnoseFormula(const std::string& text) {
    const std::string upper = UpperCaseFormula(text);
    const std::vector<TParseNote> notes = engine::ParseNotes(upper);
    const TClassifier classifier(text, upper);
    std::vector<TDiagnosis> found;
    std::set<std::tuple<int, int, TDiagnosisKind>> told;
    for (const TParseNote& note : notes) {
        TDiagnosis d = classifier.Explain(note);
        // One place is told once (an operator alone lacks both operands).
        if (told.insert({d.Pos, d.Len, d.Kind}).second) found.push_back(std::move(d));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const TDiagnosis& x, const TDiagnosis& y) { return x.Pos < y.Pos; });
    // A run of the same mark is told once, with its count.
    std::vector<TDiagnosis> result;
    for (TDiagnosis& d : found) {
        if (!result.empty()) {
            TDiagnosis& run = result.back();
            if (run.Kind == d.Kind && run.Detail == d.Detail && run.Text == d.Text &&
                run.Hint == d.Hint && d.Len > 0 && d.Pos == run.Pos + run.Len) {
                run.Len += d.Len;
                ++run.Count;
                continue;
            }
        }
        result.push_back(std::move(d));
    }
    return result;
}

TDiagnosis PlaceOf(const std::string& text, TDiagnosisKind kind, TDiagnosisDetail detail, int at,
                   int length) {
    TDiagnosis d;
    d.Kind = kind, d.Detail = detail, d.Pos = at, d.Len = length;
    d.Text = text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(length));
    return d;
}

// The diagnoses of each side of a relation, in the places of the whole text,
// and those of the relation itself.
std::vector<TDiagnosis> DiagnoseRelation(const std::string& text, const TRelationText& relation) {
    std::vector<TDiagnosis> result;
    const auto side = [&](const std::string& part, int offset, TDiagnosisDetail missing) {
        if (part.empty())
            result.push_back(
                PlaceOf(text, TDiagnosisKind::EmptyOperand, missing, relation.At, relation.Length));
        for (TDiagnosis d : DiagnoseFormula(part)) {
            d.Pos += offset;
            result.push_back(std::move(d));
        }
    };
    side(relation.Left, 0, TDiagnosisDetail::OperandBefore);
    side(relation.Right, relation.At + relation.Length, TDiagnosisDetail::OperandAfter);
    for (const auto& [at, length] : relation.More)
        result.push_back(
            PlaceOf(text, TDiagnosisKind::RelationChain, TDiagnosisDetail::None, at, length));
    const std::string upper = UpperCaseFormula(text);
    for (std::size_t k = upper.find("RAND"); k != std::string::npos; k = upper.find("RAND", k + 4))
        if (k == 0 || !std::isalpha(static_cast<unsigned char>(upper[k - 1])))
            result.push_back(PlaceOf(text, TDiagnosisKind::RandomInRelation, TDiagnosisDetail::None,
                                     static_cast<int>(k), 4));
    std::stable_sort(result.begin(), result.end(),
                     [](const TDiagnosis& x, const TDiagnosis& y) { return x.Pos < y.Pos; });
    return result;
}

} // namespace

std::vector<TDiagnosis> Diagnose(const std::string& text) {
    return Diagnose(text, false);
}

std::vector<TDiagnosis> Diagnose(const std::string& text, bool relation) {
    const std::optional<TRelationText> split =
        relation ? SplitRelation(text) : std::optional<TRelationText>{};
    std::vector<TDiagnosis> result = split ? DiagnoseRelation(text, *split) : DiagnoseFormula(text);
    // The places in characters: the characters before each byte, counted once.
    if (result.empty()) return result;
    std::vector<int> before(text.size() + 1, 0);
    for (std::size_t k = 0; k < text.size(); ++k)
        before[k + 1] = before[k] + ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80);
    const auto at = [&](int byte) {
        return before[static_cast<std::size_t>(std::clamp(byte, 0, static_cast<int>(text.size())))];
    };
    for (TDiagnosis& d : result)
        d.Chars = {at(d.Pos) + 1, at(d.Pos + d.Len)};
    return result;
}

std::string_view KindName(TDiagnosisKind kind) {
    switch (kind) {
    case TDiagnosisKind::UnknownName:
        return "unknown-name";
    case TDiagnosisKind::MissingBracket:
        return "missing-bracket";
    case TDiagnosisKind::ExtraBracket:
        return "extra-bracket";
    case TDiagnosisKind::EmptyOperand:
        return "empty-operand";
    case TDiagnosisKind::StrayCharacter:
        return "stray-character";
    case TDiagnosisKind::Space:
        return "space";
    case TDiagnosisKind::Number:
        return "number";
    case TDiagnosisKind::TooDeep:
        return "too-deep";
    case TDiagnosisKind::RelationChain:
        return "relation-chain";
    case TDiagnosisKind::RandomInRelation:
        return "random-in-relation";
    }
    return "unknown";
}

TCharSpan CharacterSpan(const std::string& text, int pos, int len) {
    auto charsBefore = [&](int end) {
        int count = 0;
        for (int k = 0; k < end && k < static_cast<int>(text.size()); ++k)
            if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) ++count;
        return count;
    };
    return {charsBefore(pos) + 1, charsBefore(pos + len)};
}
