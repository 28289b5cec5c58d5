// Makes the pictures of the user's guide from the real windows: each case
// drives the main window as a user would and saves what it and the 3D window
// show. Runs on the display it is given (for OpenGL, an X server such as
// Xvfb; scripts/screenshots.sh starts one); without one, offscreen, where
// the 3D window stays blank.
//   plotter_screenshots <folder>
// mode_*.png show the whole main window (with the 3D window over its plot
// area in the 3D modes), as a user sees it on the screen.
#include "app/ErrorReport.h"
#include "model/GraphAnalysis.h"
#include "app/Translation.h"
#include "app/Windows.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
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
    // The screen where the main window is: the 3D window lies over it.
    auto saveScreen = [&](const char* name) {
        Settle();
        if (view.isVisible()) view.FormPaint();
        Settle();
        const QRect r = form.frameGeometry();
        form.screen()
            ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
            .save(out + "/" + name + ".png");
    };
    auto save3D = [&](const char* name) {
        if (view.View == nullptr) return; // no OpenGL on this platform
        Settle();
        view.FormPaint();
        view.View->grabFramebuffer().save(out + "/" + name + ".png");
    };

    save(&form, "start");
    // The same window in English (not kept in the settings).
    InstallLanguage(TLanguage::English);
    Settle();
    save(&form, "start_en");
    InstallLanguage(TLanguage::Russian);
    Settle();
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
    save(&form, "mode_yx");
    // A formula the window explains: a missing * and a misspelt function,
    // underlined, and the first of them in the status line.
    form.ComboBox1->setEditText("2x+sni(x)");
    form.Button2Click();
    form.ComboBox1->lineEdit()->setCursorPosition(0);
    Settle();
    save(&form, "formula_marks");
    form.RadioButton2->setChecked(true);
    form.ComboBox1->setEditText("1+sin(5*x)");
    form.Button2Click();
    save(&form, "mode_yx_polar");
    form.RadioButton1->setChecked(true);
    // A list of formulas, all drawn at once, in colours picked for them
    // (every graph is blue until the user picks another colour).
    const TColorValue picked[] = {0xFF0000, 0x0000C0, 0x008000, 0xC000C0}; // as BGR
    for (int k = 0; k < 4; ++k)
        GraphColors[k + 1] = picked[k];
    for (const char* f : {"sin(x)*3", "x^2/8-4", "sqrt(abs(x))*2", "cos(x*2)+x/3"}) {
        form.ComboBox1->setEditText(f);
        form.Button5Click();
    }
    form.CheckBox1->setChecked(true);
    form.Button2Click();
    save(&form, "mode_yx_list");
    // The points of interest of two of them, and the trace on one.
    form.Button7Click();
    for (const char* f : {"sin(x)*3", "x^2/8-4"}) {
        form.ComboBox1->setEditText(f);
        form.Button5Click();
    }
    form.Button2Click();
    form.NPoints->trigger();
    form.NTrace->trigger();
    form.Analysis->TraceAt(WorldToPixelX(5.5), WorldToPixelY(-2));
    form.PaintBox1->repaint();
    Settle();
    save(&form, "analysis");
    form.NTrace->trigger();
    form.NPoints->trigger();
    form.CheckBox1->setChecked(false);
    form.Button7Click();
    ApplyColours(DefaultColours());

    // The parametric curve of the plane.
    form.N2DxytClick();
    form.Edit2->setText("cos(t)*6-cos(t*6)*2");
    form.Edit6->setText("sin(t)*6-sin(t*6)*2");
    form.Edit3->setText("0");
    form.Edit4->setText("6.3");
    form.Edit5->setText("0.01");
    form.Button2Click();
    save(&form, "mode_plane");
    form.N2DyxClick();

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
    saveScreen("mode_surface");
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
    saveScreen("mode_curve");
    save3D("curve");
    form.N3DxyzuvClick();
    form.Edit2->setText("cos(u)*cos(v)*8");
    form.Edit6->setText("sin(u)*cos(v)*8");
    form.Edit7->setText("sin(v)*8");
    form.Button10Click();
    saveScreen("mode_patch");
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
    save(&form, "mode_implicit_fields"); // the 3D window covers the fields
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
    for (int i = 0; i < 6; ++i)
        view.FormKeyDown(Qt::Key_Up, Qt::ShiftModifier);
    saveScreen("mode_implicit");
    save3D("implicit");
    return 0;
}
