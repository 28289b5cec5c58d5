// Makes the pictures of the user's guide from the real windows, headless:
// each case drives the main window as a user would and saves what it shows.
#include "app/ErrorReport.h"
#include "app/TForm1.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLocale>
#include <QRadioButton>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint();
    QLocale::setDefault(QLocale(QLocale::C));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);
    SetFailureSink([](const std::string& m) { std::fprintf(stderr, "failure: %s\n", m.c_str()); });
    SeedRandom(1);

    auto save = [&](QWidget* w, const char* name) { w->grab().save(out + "/" + name + ".png"); };
    {
        TForm1 form;
        form.show();
        save(&form, "start");
        form.ComboBox1->setEditText("sin(x)*3");
        form.Button2Click();
        save(&form, "sin3");
        form.RadioButton2->setChecked(true);
        form.ComboBox1->setEditText("1+sin(5*x)");
        form.Button2Click();
        save(&form, "polar_rose");
    }
    return 0;
}
