#include "model/WindowGeometry.h"

#include <QSettings>

namespace {
const char* const GeometryKey = "window/geometry";
}

QByteArray SavedWindowGeometry() {
    return QSettings().value(QLatin1String(GeometryKey)).toByteArray();
}

void SaveWindowGeometry(const QByteArray& geometry) {
    QSettings().setValue(QLatin1String(GeometryKey), geometry);
}
