// The main window's size and place, kept in the settings between runs.
#pragma once

#include <QByteArray>

// What QWidget::saveGeometry wrote at the last close; empty when none was kept.
QByteArray SavedWindowGeometry();
void SaveWindowGeometry(const QByteArray& geometry);
