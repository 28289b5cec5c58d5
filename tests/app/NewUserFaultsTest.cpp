// Faults a new user met, each driven through the window as the user did:
// files that open with a picture that is not theirs, a save right after
// start that holds another step than the field shows, and more.
#include "FilesTestSupport.h"

#include "app/Translation.h"
#include "document/PlotFile.h"
#include "view3d/Tfrm3D.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <cstring>

namespace {

// A file saved right after start holds the step its field shows.
TEST_F(Files, AFileSavedRightAfterStartHoldsTheStepTheFieldShows) {
    ASSERT_EQ(Text(form->Edit5), "0.0499999999999989");
    Save("start");
    const auto b = Bytes(dir / "start.mth");
    ASSERT_EQ(b.size(), 2680u);
    double step;
    std::memcpy(&step, b.data() + 2272, 8);
    EXPECT_EQ(step, 0.0499999999999989);
    form->N3DzxyClick();
    form->N2DyxClick(); // the document's step comes back into the field
    EXPECT_EQ(Text(form->Edit5), "0.0499999999999989");
}

// After an open, the picture is the opened document's at once: in polar
// coordinates with the file's formula, not the formula shown before.
TEST_F(Files, AnOpenShowsTheOpenedDocumentsPicture) {
    form->RadioButton2->setChecked(true);
    form->ComboBox1->setEditText("6"); // the circle r = 6
    form->Button2Click();
    Save("circle6");
    form->RadioButton1->setChecked(true);
    form->ComboBox1->setEditText("3"); // the line y = 3
    form->Button2Click();
    const auto blueAt = [this](double x, double y) {
        return (form->PaintBox1->Picture.pixel(WorldToPixelX(x), WorldToPixelY(y)) | 0xFF000000) ==
               0xFF0000FF;
    };
    ASSERT_TRUE(blueAt(8, 3));
    Open("circle6.mth");
    ASSERT_TRUE(failures.empty()) << failures[0];
    EXPECT_TRUE(form->RadioButton2->isChecked());
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "6");
    EXPECT_FALSE(blueAt(8, 3));
    EXPECT_TRUE(blueAt(0, 6));
    EXPECT_TRUE(blueAt(-6, 0));
}

// Opening in z(x,y) mode while the 3D window shows a surface builds the
// opened one at once.
TEST_F(Files, AnOpenInASurfaceModeRebuildsTheShownSurface) {
    form->N3DzxyClick();
    Type(form->Edit7, "x");
    form->Button8Click();
    Save("x");
    Type(form->Edit7, "y*2");
    form->Button8Click();
    ASSERT_TRUE(windows->Frm3D->isVisible());
    ASSERT_NEAR(SurfaceGrid[0][100].z, 20, 1e-9);
    Open("x.mth");
    ASSERT_TRUE(failures.empty()) << failures[0];
    EXPECT_EQ(SurfaceGrid[0][100].z, -10); // z = x at x = -10
}

} // namespace

namespace {

class NewUser : public AllWindowsTest {};

// Ctrl+A before the animation dialog was ever opened: the frames of the
// settings (1 to 20, 50 ms) run, and the dialog shows them.
TEST_F(NewUser, CtrlABeforeTheDialogWasOpenedAnimatesTheStartFrames) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->Button2->setFocus();
    QTest::keyClick(form->Button2, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(form->Model.AnimationRunning);
    EXPECT_EQ(form->Timer1->interval(), 50);
    EXPECT_EQ(FrameCounter, 1);
    EXPECT_EQ(Text(windows->Form2->Edit1), "1");
    EXPECT_EQ(Text(windows->Form2->Edit2), "20");
    EXPECT_EQ(Text(windows->Form2->Edit3), "50");
    form->N10Click();
    EXPECT_FALSE(form->Model.AnimationRunning);
    // Frames that no plot file could hold are refused by the dialog.
    windows->Form2->Edit2->setText("2000000000");
    RunCommand([this] { windows->Form2->Button1Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Номера кадров", 0), 0u) << failures[0];
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_EQ(LastFrame, 20);
}

// The formula box does not complete what is typed from its list: Enter
// draws what the user typed.
TEST_F(NewUser, TheFormulaBoxDoesNotCompleteFromItsList) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    form->ComboBox1->setEditText("sin(x)+2");
    form->Button5Click();
    form->ComboBox1->setEditText("");
    form->ComboBox1->setFocus();
    for (const char c : std::string("sin(")) {
        QTest::keyClick(form->ComboBox1, c);
        QTest::qWait(2);
    }
    QTest::keyClick(form->ComboBox1, Qt::Key_Return);
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "sin(");
}

// Closing the main window ends the program, whatever else is shown.
TEST_F(NewUser, ClosingTheMainWindowEndsTheProgram) {
    form->show();
    windows->Form4->show();
    windows->Frm3D->show();
    form->close();
    EXPECT_FALSE(windows->Form4->isVisible());
    EXPECT_FALSE(windows->Frm3D->isVisible());
    EXPECT_EQ(quits, 1);
    for (QWidget* w :
         {static_cast<QWidget*>(windows->Form4.get()), static_cast<QWidget*>(windows->Frm3D.get())})
        EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose)); // never keeps it running
}

} // namespace

namespace {

// A step that no longer moves the numbers of its range would never end its
// walk (2^53 + 1 is 2^53 again): every walk refuses it before anything
// changes, and names the step the user typed.
TEST_F(NewUser, StepsThatDoNotMoveTheirValuesAreRefused) {
    const struct {
        const char* name;
        void (TForm1::*mode)();
        std::vector<std::pair<int, const char*>> fields; // EditN and its text
        void (TForm1::*build)();
        const char* message; // how the message starts
    } cases[] = {
        {"implicit rows at 2^53",
         &TForm1::N3DFxyzClick,
         {{7, "x-y"}, {11, "9007199254740992"}, {12, "9007199254740996"}, {13, "1"}, {14, "1"}},
         &TForm1::Button11Click,
         "Шаг2 по оси X (1) слишком мал"},
        {"implicit rows up to 2^53",
         &TForm1::N3DFxyzClick,
         {{7, "x-y"}, {11, "9007199254740988"}, {12, "9007199254740996"}, {13, "1"}, {14, "16"}},
         &TForm1::Button11Click,
         "Шаг1 по оси X (1) слишком мал"},
        {"implicit planes that stay",
         &TForm1::N3DFxyzClick,
         {{7, "x-y"}, {11, "-1E17"}, {12, "-1E17"}, {13, "1E16"}, {14, "1"}},
         &TForm1::Button11Click,
         "Шаг2 по оси X (1) слишком мал"},
        {"a zero шаг1 with Equally: the row typed in",
         &TForm1::N3DFxyzClick,
         {{7, "x-y"}, {13, "0"}},
         &TForm1::Button11Click,
         "Шаг1 по оси X должен быть больше нуля"},
        {"surface",
         &TForm1::N3DzxyClick,
         {{7, "x"}, {3, "1E17"}, {4, "100000000000000064"}, {5, "1"}},
         &TForm1::Button8Click,
         "Шаг по оси X (1) слишком мал для чисел около 1E17"},
        {"patch",
         &TForm1::N3DxyzuvClick,
         {{2, "u"}, {6, "v"}, {7, "1"}, {8, "-1E17"}, {9, "-1E17"}, {10, "2"}},
         &TForm1::Button10Click,
         "Шаг по v (2) слишком мал"},
        {"curve",
         &TForm1::N3DxyztClick,
         {{2, "t"}, {6, "t"}, {7, "t"}, {3, "1E16"}, {4, "1.0000000000001E16"}, {5, "0.5"}},
         &TForm1::Button9Click,
         "Шаг по t (0.5) слишком мал"},
        {"2D parametric",
         &TForm1::N2DxytClick,
         {{2, "t"}, {6, "t"}, {3, "1E17"}, {4, "100000000000000064"}, {5, "1"}},
         &TForm1::Button2Click,
         "Шаг по t (1) слишком мал"},
    };
    for (const auto& c : cases) {
        std::invoke(c.mode, form);
        for (const auto& [edit, text] : c.fields)
            Type(form->EditN(edit), text);
        const std::int32_t points = LevelPointCount, rows = SurfaceRows, curve = CurveCount;
        failures.clear();
        RunCommand([&] { std::invoke(c.build, form); });
        ASSERT_EQ(failures.size(), 1u) << c.name;
        EXPECT_EQ(failures[0].rfind(c.message, 0), 0u) << c.name << ": " << failures[0];
        EXPECT_EQ(LevelPointCount, points) << c.name;
        EXPECT_EQ(SurfaceRows, rows) << c.name;
        EXPECT_EQ(CurveCount, curve) << c.name;
    }
    // The polar angle, typed in y(x).
    form->N2DyxClick();
    form->RadioButton2->setChecked(true);
    form->ComboBox1->setEditText("1");
    Type(form->Edit3, "1E17");
    Type(form->Edit4, "100000000000000064");
    Type(form->Edit5, "1");
    failures.clear();
    form->Button2Click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Шаг по углу (1) слишком мал", 0), 0u) << failures[0];
}

} // namespace

namespace {

// Many thin planes, each a tiny share of the scan: the bar still climbs
// through the scan and is full at its end.
TEST_F(NewUser, TheProgressBarMovesThroughASlowScan) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    Type(form->Edit13, "0.1");
    Type(form->Edit14, "0.05");
    // On one thread the bar moves at every few lines; on several, as the
    // main thread takes the planes of the helpers in order (fewer steps, as
    // often as the system lets the waiting main thread run).
    for (const auto& [threads, moves] : {std::pair{1, 50u}, std::pair{3, 10u}}) {
        SetBuildThreads(threads);
        std::vector<int> values;
        const auto connection =
            QObject::connect(windows->Frm3D->ProgressBar1, &QProgressBar::valueChanged,
                             [&](int v) { values.push_back(v); });
        RunCommand([this] { form->Button11Click(); });
        QObject::disconnect(connection);
        SetBuildThreads(0);
        ASSERT_TRUE(failures.empty()) << failures[0];
        EXPECT_GT(values.size(), moves) << threads << " threads";
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << threads << " threads";
        ASSERT_FALSE(values.empty());
        EXPECT_EQ(values.back(), 100);
        EXPECT_GT(LevelPointCount, 1000);
    }
}

} // namespace

namespace {

// Small things: numbers cut off in their fields show whole in the tooltip,
// Qt's own dialogs speak Russian, F12 elsewhere than z(x,y) says where it works.
TEST_F(NewUser, SmallThingsANewUserNotices) {
    EXPECT_EQ(Text(form->Edit5), "0.0499999999999989");
    EXPECT_EQ(form->Edit5->toolTip().toStdString(), "0.0499999999999989");
    EXPECT_EQ(form->Edit26->toolTip().toStdString(), ""); // "-10" fits
    form->RadioButton2->setChecked(true);
    EXPECT_EQ(form->Edit4->toolTip().toStdString(), "6.28318530717959");

    ASSERT_TRUE(ApplyLanguage(TLanguage::Russian));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "Отмена");

    form->N13Click(); // in y(x)
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("3D z(x,y)"), std::string::npos) << failures[0];

    // The language in use is checked in its menu from the start.
    EXPECT_TRUE(form->NRussian->isChecked());
    EXPECT_FALSE(form->NEnglish->isChecked());

    // A message box is titled with the program's name, not its file's.
    SetFailureSink({});
    QString title;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    });
    ReportFailure("test");
    EXPECT_EQ(title.toStdString(), "Графики функций");
}

} // namespace
