// The main of the test executables that need a Qt application: offscreen
// unless a platform is given, so that no test needs a display.
#include "engine/Engine.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InitFloatingPoint();
    // Settings (the recent files) in a folder of the run's own, never the user's.
    QCoreApplication::setOrganizationName(QStringLiteral("grafiki-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("plotter-tests"));
    const QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return RUN_ALL_TESTS();
}
