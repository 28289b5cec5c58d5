// Start-up: the masked floating-point mode, the application, the windows.
#include "app/Windows.h"
#include "engine/Engine.h"

#include <QApplication>

int main(int argc, char** argv) {
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint(); // the platform's start-up may have touched the control word
    TApplicationWindows windows;
    windows.Form1->show();
    return QApplication::exec();
}
