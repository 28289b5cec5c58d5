// The standard number text and the strict text-to-number conversion.
#include "engine/Engine.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

char DecimalSeparatorChar = '.';

ConversionError::ConversionError(const std::string& text, TKind kind)
    : text_(text), message_("'" + text + "' is not a valid " +
                            (kind == TKind::Integer ? "integer" : "floating point") + " value") {}

ConversionError ConversionError::At(const std::string& place) const {
    ConversionError located = *this;
    located.message_ += ": " + place;
    return located;
}

std::string UpperCaseFormula(const std::string& text) {
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

namespace {

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

} // namespace

std::string FormatNumber(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";

    // d.dddddddddddddde±x: 15 significant digits, rounded once.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const std::string s(buffer);
    const bool negative = s[0] == '-';
    const size_t digitsAt = negative ? 1 : 0;
    std::string digits;
    digits += s[digitsAt];
    digits += s.substr(digitsAt + 2, 14);
    const int exponent = std::atoi(s.c_str() + s.find('e') + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += '0';
            out += DecimalSeparatorChar;
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const size_t intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits);
                out += DecimalSeparatorChar;
                out += digits.substr(intDigits);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += DecimalSeparatorChar;
        out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
}

double StrToFloat(const std::string& text) {
    // Accepted: blanks, sign, digits with at most one separator, an exponent, blanks.
    size_t i = 0;
    const size_t n = text.size();
    auto fail = [&]() -> double { throw ConversionError(text); };
    while (i < n && text[i] == ' ')
        ++i;
    std::string plain;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int mantissaDigits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            ++mantissaDigits;
        } else if (c == DecimalSeparatorChar && !separator) {
            plain += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return fail();
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int exponentDigits = 0;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i, ++exponentDigits)
            plain += text[i];
        if (exponentDigits == 0) return fail();
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n) return fail();

    // A value beyond even the extended range is no number; one beyond the
    // double range becomes an infinity when it is stored.
    errno = 0;
    const long double extended = strtold_l(plain.c_str(), nullptr, CLocale());
    if (std::isinf(extended)) return fail();
    return strtod_l(plain.c_str(), nullptr, CLocale());
}

std::int32_t StrToInt(const std::string& text) {
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t i = 0, n = text.size();
    while (i < n && blank(text[i]))
        ++i;
    while (n > i && blank(text[n - 1]))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n) throw ConversionError(text, ConversionError::TKind::Integer);
    long long value = 0;
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9' || value > (1LL << 31))
            throw ConversionError(text, ConversionError::TKind::Integer);
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        throw ConversionError(text, ConversionError::TKind::Integer);
    return static_cast<std::int32_t>(value);
}

std::optional<double> FieldNumberValue(const std::string& text, TTextFaultInfo* fault) {
    try {
        return StrToFloat(text);
    } catch (const ConversionError&) {
        bool error = false;
        const double v = EvalFormulaText(UpperCaseFormula(text), error, 0, fault);
        if (error) return std::nullopt;
        return v;
    }
}

bool HasNumberCharacters(const std::string& s) {
    if (s.empty()) return false;
    int separators = 0, exponents = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ',' || c == '.')
            ++separators;
        else if (c == 'E' || c == 'e')
            ++exponents;
        else if (c == '-') {
            if (i != 0 && s[i - 1] != 'E' && s[i - 1] != 'e') return false;
        } else if (!(c >= '0' && c <= '9'))
            return false;
    }
    return separators <= 1 && exponents <= 1;
}
