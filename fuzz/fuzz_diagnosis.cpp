// Fuzz target of the formula diagnosis: any bytes, or a string of formula
// pieces chosen by them. Diagnose must neither crash nor hang, its places
// lie within the text, and a text it finds nothing in compiles to a tree
// that gives the text evaluator's value wherever that reports no error.
#include "../tests/engine/DiagnosisProperty.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t at = 1;
    auto next = [&]() -> unsigned { return at < size ? data[at++] : 0; };
    const std::string text = (data[0] & 1)
                                 ? std::string(reinterpret_cast<const char*>(data + 1), size - 1)
                                 : diagnosis_property::PieceText(static_cast<int>(size - 1), next);
    for (const TDiagnosis& d : Diagnose(text)) {
        if (d.Pos < 0 || d.Len < 0 || d.Pos + d.Len > static_cast<int>(text.size()) ||
            d.Count < 1) {
            std::fprintf(stderr, "place %d+%d outside \"%s\"\n", d.Pos, d.Len, text.c_str());
            std::abort();
        }
        // The places in characters are those counted one by one.
        const TCharSpan span = CharacterSpan(text, d.Pos, d.Len);
        if (span.First != d.Chars.First || span.Last != d.Chars.Last) std::abort();
    }
    const double xs[] = {0.0, 1.5, -2.0, 0.1, 1e300};
    const std::string difference = diagnosis_property::Disagreement(text, xs[(data[0] >> 1) % 5]);
    if (!difference.empty()) {
        std::fprintf(stderr, "%s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
