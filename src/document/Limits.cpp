#include "document/Limits.h"

#include <cmath>
#include <cstdio>

std::string TooManyPointsMessage(long double count) {
    char text[64];
    if (std::isfinite(count))
        std::snprintf(text, sizeof text, "%.0Lf", count);
    else
        std::snprintf(text, sizeof text, "бесконечно много");
    return std::string("Слишком много точек: ") + text + " (можно не больше " +
           std::to_string(MaxPictureVertices) + "). Увеличьте шаг или сузьте диапазон.";
}
