// Start-up: the masked floating-point mode, the application, the windows.
#include "app/Windows.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint(); // the platform's start-up may have touched the control word
    // The installed desktop entry and icon; from the build tree, the icon
    // built into the program.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.grafiki.Plotter"));
    QIcon own;
    for (const int size : {16, 32, 48, 64, 128, 256})
        own.addFile(QStringLiteral(":/icons/%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.grafiki.Plotter"), own));
    InstallQtTranslations();
    TApplicationWindows windows;
    windows.Form1->show();
    return QApplication::exec();
}
