#include "texts/Texts.h"

#include <atomic>
#include <vector>

namespace texts {

namespace {
std::atomic<TTranslator> CurrentTranslator{nullptr};
}

void SetTranslator(TTranslator translator) {
    CurrentTranslator = translator;
}

std::string Translate(const char* context, const char* source) {
    const TTranslator translator = CurrentTranslator;
    return translator != nullptr ? translator(context, source) : std::string(source);
}

std::string Fill(const std::string& pattern, std::initializer_list<std::string> arguments) {
    const std::vector<std::string> args(arguments);
    std::string out;
    for (size_t k = 0; k < pattern.size(); ++k) {
        const char c = pattern[k];
        if (c == '%' && k + 1 < pattern.size() && pattern[k + 1] >= '1' && pattern[k + 1] <= '9') {
            const size_t n = static_cast<size_t>(pattern[k + 1] - '1');
            if (n < args.size()) {
                out += args[n];
                ++k;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace texts
