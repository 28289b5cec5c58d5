// Makes the pictures of the user's guide from the real windows: each case
// drives the main window as a user would and saves what it and the 3D window
// show. Runs on the display it is given (for OpenGL, an X server such as
// Xvfb); without one, offscreen, where the 3D window stays blank.
//   plotter_screenshots <folder>
#include "app/ErrorReport.h"
#include "app/Windows.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(20);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint();
    QLocale::setDefault(QLocale(QLocale::C));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);
    SetFailureSink([](const std::string& m) { std::fprintf(stderr, "failure: %s\n", m.c_str()); });

    TApplicationWindows windows;
    TForm1& form = *windows.Form1;
    Tfrm3D& view = *windows.Frm3D;
    form.show();
    Settle();
    SeedRandom(1);
    auto save = [&](QWidget* w, const char* name) { w->grab().save(out + "/" + name + ".png"); };
    auto save3D = [&](const char* name) {
        if (view.View == nullptr) return; // no OpenGL on this platform
        Settle();
        view.FormPaint();
        view.View->grabFramebuffer().save(out + "/" + name + ".png");
    };

    save(&form, "start");
    windows.Form3->show();
    Settle();
    save(windows.Form3.get(), "colours");
    windows.Form3->hide();
    windows.Form4->show();
    Settle();
    save(windows.Form4.get(), "function_list");
    windows.Form4->hide();
    form.ComboBox1->setEditText("sin(x)*3");
    form.Button2Click();
    save(&form, "sin3");
    form.RadioButton2->setChecked(true);
    form.ComboBox1->setEditText("1+sin(5*x)");
    form.Button2Click();
    save(&form, "polar_rose");
    form.RadioButton1->setChecked(true);

    // Two frames of an animation over f.
    form.ComboBox1->setEditText("sin(x+f/5)*3");
    windows.Form2->Edit1->setText("1");
    windows.Form2->Edit2->setText("40");
    windows.Form2->Edit3->setText("50");
    windows.Form2->Button1Click();
    form.Timer1Timer();
    save(&form, "animation_1");
    for (int i = 0; i < 9; ++i)
        form.Timer1Timer();
    save(&form, "animation_2");
    windows.Form2->Button2Click();

    form.N3DzxyClick();
    form.Edit7->setText("sin(x)*cos(y)*3");
    form.Button8Click();
    save(&form, "surface_window");
    save3D("surface");
    // Turned with the mouse, brought closer and outlined with the keys.
    view.FormMouseDown(200, 200);
    view.FormMouseMove(260, 230);
    view.FormMouseUp();
    for (int i = 0; i < 5; ++i)
        view.FormKeyDown(Qt::Key_Up, Qt::ShiftModifier);
    view.FormKeyDown(Qt::Key_L, Qt::NoModifier);
    save3D("surface_turned");
    view.FormKeyDown(Qt::Key_L, Qt::NoModifier);
    view.FormKeyDown(Qt::Key_S, Qt::NoModifier);
    save3D("surface_stereo");
    view.FormKeyDown(Qt::Key_S, Qt::NoModifier);
    form.N3DxyztClick();
    form.Edit2->setText("cos(t)*8");
    form.Edit6->setText("sin(t)*8");
    form.Edit7->setText("t");
    form.Button9Click();
    save3D("curve");
    form.N3DxyzuvClick();
    form.Edit2->setText("cos(u)*cos(v)*8");
    form.Edit6->setText("sin(u)*cos(v)*8");
    form.Edit7->setText("sin(v)*8");
    form.Button10Click();
    save3D("patch");

    // Two frames of the flying camera along the default curve, the surface
    // drawn around it.
    form.N3DzxyClick();
    form.Edit7->setText("sin(x)*cos(y)*3");
    form.Button8Click();
    windows.Form2->CheckBox3->setChecked(true);
    form.CheckBox2->setChecked(true);
    save3D("camera_1");
    for (int i = 0; i < 40; ++i)
        view.Timer1Timer();
    save3D("camera_2");
    form.CheckBox2->setChecked(false);
    windows.Form2->CheckBox3->setChecked(false);

    // The implicit surface, with the progress bar caught halfway.
    form.N3DFxyzClick();
    form.Edit7->setText("x^2+y^2+z^2-4");
    bool caught = false;
    QTimer* catcher = new QTimer(&form);
    QObject::connect(catcher, &QTimer::timeout, [&] {
        if (!caught && view.ProgressBar1->value() > 40) {
            caught = true;
            view.grab().save(out + "/implicit_progress.png");
        }
    });
    catcher->start(0);
    form.Button11Click();
    catcher->stop();
    save3D("implicit");
    return 0;
}
