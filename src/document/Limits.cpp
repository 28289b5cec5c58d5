#include "document/Limits.h"
#include "texts/Texts.h"

#include <cmath>
#include <cstdio>

std::string StuckStepMessage(const std::string& step, const std::string& value,
                             const std::string& end) {
    return texts::Fill(texts::Translate("Limits",
                                        "%1 (%2) слишком мал для чисел около %3: прибавление "
                                        "шага их не меняет, и построение не кончилось бы. "
                                        "Увеличьте шаг или возьмите диапазон ближе к нулю."),
                       {step, value, end});
}

std::string TooManyPointsMessage(long double count) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0Lf", count);
    return texts::Fill(
        texts::Translate("Limits", "Слишком много точек: %1 (можно не больше %2). "
                                   "Увеличьте шаг или сузьте диапазон."),
        {std::isfinite(count) ? std::string(text) : texts::Translate("Limits", "бесконечно много"),
         std::to_string(MaxPictureVertices)});
}

std::string NoPictureMemoryMessage(int w, int h) {
    return texts::Fill(texts::Translate("Limits", "Рисунок %1 × %2 не сделать: на него не хватает "
                                                  "памяти. Возьмите размер меньше."),
                       {std::to_string(w), std::to_string(h)});
}
