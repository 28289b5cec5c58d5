// Start-up: the masked floating-point mode, the application, the main window.
#include "app/TForm1.h"
#include "engine/Engine.h"

#include <QApplication>

int main(int argc, char** argv) {
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint(); // the platform's start-up may have touched the control word
    TForm1 form;
    form.show();
    return QApplication::exec();
}
