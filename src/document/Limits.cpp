#include "document/Limits.h"

#include <cmath>
#include <cstdio>

std::string StuckStepMessage(const std::string& step, const std::string& value,
                             const std::string& end) {
    return step + " (" + value + ") слишком мал для чисел около " + end +
           ": прибавление шага их не меняет, и построение не кончилось бы. Увеличьте шаг или "
           "возьмите диапазон ближе к нулю.";
}

std::string TooManyPointsMessage(long double count) {
    char text[64];
    if (std::isfinite(count))
        std::snprintf(text, sizeof text, "%.0Lf", count);
    else
        std::snprintf(text, sizeof text, "бесконечно много");
    return std::string("Слишком много точек: ") + text + " (можно не больше " +
           std::to_string(MaxPictureVertices) + "). Увеличьте шаг или сузьте диапазон.";
}
