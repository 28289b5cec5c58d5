// Undo and redo through the real window: the keys, the pictures and the
// title's mark.
#include "AppTestSupport.h"

#include "model/PlotState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

namespace {

class UndoTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QLineEdit* FormulaBox() const { return form->ComboBox1->lineEdit(); }
    void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        w->setFocus();
        QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
    }
    std::string State() const { return StateBytes(form->WindowState()); }
    QImage Picture() const { return form->PaintBox1->Picture; }
};

TEST_F(UndoTest, TheKeysTakeABuildBackAndMakeItAgain) {
    const QImage start = Picture();
    form->ComboBox1->setEditText("x^2");
    Key(FormulaBox(), Qt::Key_Return);
    const QImage parabola = Picture();
    ASSERT_NE(parabola, start);
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: построение");

    Key(FormulaBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "");
    EXPECT_EQ(Picture(), start);
    Key(FormulaBox(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "x^2");
    EXPECT_EQ(Picture(), parabola);
    Key(FormulaBox(), Qt::Key_Z, Qt::ControlModifier);
    Key(form->PaintBox1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Picture(), parabola);
    EXPECT_TRUE(failures.empty());
}

TEST_F(UndoTest, CtrlZUndoesTheTypingNotYetBuilt) {
    form->ComboBox1->setEditText("x^2");
    Key(FormulaBox(), Qt::Key_Return);
    const int index = form->Model.History.Stack().index();
    QTest::keyClicks(FormulaBox(), "+1");
    Key(FormulaBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(form->ComboBox1->currentText().toStdString(), "x^2+1");
    EXPECT_EQ(form->Model.History.Stack().index(), index); // the history untouched
}

TEST_F(UndoTest, AZoomIsUndonePixelForPixel) {
    form->ComboBox1->setEditText("sin(x)");
    Key(FormulaBox(), Qt::Key_Return);
    const QImage before = Picture();
    const std::string fields = Text(form->Edit26) + Text(form->Edit25) + Text(form->Edit24);
    form->Button3->click();
    form->Button3->click();
    ASSERT_NE(Picture(), before);
    Key(form->PaintBox1, Qt::Key_Z, Qt::ControlModifier);
    Key(form->PaintBox1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(Text(form->Edit26) + Text(form->Edit25) + Text(form->Edit24), fields);
    // The fields show their texts from the start, as after any write of the program.
    for (QLineEdit* e : {form->Edit5, form->Edit23, form->Edit26})
        EXPECT_EQ(e->cursorPosition(), 0) << Text(e);
}

TEST_F(UndoTest, UndoingBackToTheStartRemovesTheMark) {
    EXPECT_FALSE(form->isWindowModified());
    form->ComboBox1->setEditText("x^3");
    Key(FormulaBox(), Qt::Key_Return);
    EXPECT_TRUE(form->isWindowModified());
    form->NUndo->trigger();
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_FALSE(form->NUndo->isEnabled());
}

// Each action of the user is one step: undone, the window's whole state is
// the one before it; redone, the one after.
struct TActionRow {
    const char* Name;
    std::function<void(TForm1&)> Act;
};

TEST_F(UndoTest, EachActionIsOneStep) {
    const TActionRow rows[] = {
        {"mode switch", [](TForm1& f) { f.N3Dzxy->trigger(); }},
        {"coordinate switch", [](TForm1& f) { f.RadioButton2->click(); }},
        {"zoom out", [](TForm1& f) { f.Button4->click(); }},
        {"add", [](TForm1& f) { f.Button5->click(); }},
        {"clear",
         [](TForm1& f) {
             f.ComboBox1->addItem("x");
             f.Button7->click();
         }},
        {"grid switch", [](TForm1& f) { f.CheckBox7->click(); }},
        {"axes switch", [](TForm1& f) { f.N6->trigger(); }},
        {"equal scales", [](TForm1& f) { f.CheckBox6->click(); }},
        {"new", [](TForm1& f) { f.NNew->trigger(); }},
    };
    for (const TActionRow& row : rows) {
        SCOPED_TRACE(row.Name);
        Open(QLocale(QLocale::C));
        form->ComboBox1->setEditText("x^2");
        form->Button2->click();
        const std::string before = State();
        const int index = form->Model.History.Stack().index();
        row.Act(*form);
        const std::string after = State();
        ASSERT_NE(after, before);
        EXPECT_EQ(form->Model.History.Stack().index(), index + 1);
        form->NUndo->trigger();
        EXPECT_EQ(State(), before);
        form->NRedo->trigger();
        EXPECT_EQ(State(), after);
    }
    EXPECT_TRUE(failures.empty());
}

// What the controls show, read from them, as the parts of a state that
// the controls keep.
std::string ControlsShow(const TForm1& f) {
    TPlotState s;
    TPlotInput& in = s.Input;
    in.Mode = 0;
    const std::pair<QAction*, int> items[] = {{f.N2Dyx, pmYx},         {f.N3Dzxy, pmSurface},
                                              {f.N3DFxyz, pmImplicit}, {f.N2Dxyt, pmPlane},
                                              {f.N3Dxyzt, pmCurve},    {f.N3Dxyzuv, pmPatch}};
    for (const auto& [item, mode] : items)
        if (in.Mode == 0 && item->isChecked()) in.Mode = mode;
    in.Coordinates = f.RadioButton1->isChecked() ? TCoordinates::Cartesian : TCoordinates::Polar;
    in.Formula = f.ComboBox1->currentText().toStdString();
    for (int i = 0; i < f.ComboBox1->count(); ++i)
        in.List.push_back(f.ComboBox1->itemText(i).toStdString());
    const std::pair<const QAbstractButton*, bool*> switches[] = {
        {f.CheckBox1, &in.AllFormulas}, {f.CheckBox9, &in.MinimalStep},
        {f.CheckBox7, &in.Grid},        {f.CheckBox6, &in.EqualScales},
        {f.CheckBox3, &in.Families[0]}, {f.CheckBox4, &in.Families[1]},
        {f.CheckBox5, &in.Families[2]}, {f.CheckBox8, &in.Centre},
        {f.Equally, &in.EqualRows},     {f.CheckBox2, &s.Animation.CameraPath}};
    for (const auto& [box, value] : switches)
        *value = box->isChecked();
    in.Axes = f.N6->isChecked();
    for (int k = 1; k < StateFieldCount; ++k)
        s.Fields[k] = f.EditN(k)->text().toStdString();
    s.X0Result = f.Label1->text().toStdString();
    s.Animation.Loop = f.Form2 != nullptr && f.Form2->CheckBox2->isChecked();
    return StateBytes(s);
}

// The same parts of the model's state.
std::string ModelKeeps(const TForm1& f) {
    TPlotState s;
    s.Input = f.Model.State.Input;
    s.Input.Document = {};
    s.Fields = f.Model.State.Fields;
    s.X0Result = f.Model.State.X0Result;
    s.Animation.Loop = f.Model.State.Animation.Loop;
    s.Animation.CameraPath = f.Model.State.Animation.CameraPath;
    return StateBytes(s);
}

class ModelTest : public AllWindowsTest {};

TEST_F(ModelTest, ItFollowsTheControls) {
    const TActionRow rows[] = {
        {"typing", [](TForm1& f) { QTest::keyClicks(f.Edit3, "-2"); }},
        {"formula and Enter",
         [](TForm1& f) {
             f.ComboBox1->setEditText("x^2");
             QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Return);
         }},
        {"y(x0)",
         [](TForm1& f) {
             f.Edit1->setText("3");
             f.Button1->click();
         }},
        {"add", [](TForm1& f) { f.Button5->click(); }},
        {"remove", [](TForm1& f) { f.Button6->click(); }},
        {"clear", [](TForm1& f) { f.Button7->click(); }},
        {"polar", [](TForm1& f) { f.RadioButton2->click(); }},
        {"zoom", [](TForm1& f) { f.Button3->click(); }},
        {"switches",
         [](TForm1& f) {
             for (int k : {1, 3, 4, 5, 6, 7, 8, 9})
                 f.CheckBoxN(k)->click();
             f.N6->trigger();
         }},
        {"surface", [](TForm1& f) { f.N3Dzxy->trigger(); }},
        {"random surface", [](TForm1& f) { f.N13->trigger(); }},
        {"implicit, rows not equal",
         [](TForm1& f) {
             f.N3DFxyz->trigger();
             f.Equally->click();
             f.Equally->click();
             f.Edit11->setText("-3");
         }},
        {"curve with the camera",
         [](TForm1& f) {
             f.N3Dxyzt->trigger();
             f.CheckBox2->click();
         }},
        {"loop", [](TForm1& f) { f.Form2->CheckBox2->click(); }},
        {"plane", [](TForm1& f) { f.N2Dxyt->trigger(); }},
        {"undo", [](TForm1& f) { f.NUndo->trigger(); }},
        {"undo again", [](TForm1& f) { f.NUndo->trigger(); }},
        {"redo", [](TForm1& f) { f.NRedo->trigger(); }},
        {"y(x)", [](TForm1& f) { f.N2Dyx->trigger(); }},
        {"new", [](TForm1& f) { f.NNew->trigger(); }},
    };
    EXPECT_TRUE(ModelKeeps(*form) == ControlsShow(*form));
    for (const TActionRow& row : rows) {
        SCOPED_TRACE(row.Name);
        row.Act(*form);
        EXPECT_TRUE(ModelKeeps(*form) == ControlsShow(*form));
    }
    EXPECT_TRUE(failures.empty()) << failures.front();
}

TEST_F(UndoTest, NoUndoWhileTheAnimationRuns) {
    form->ComboBox1->setEditText("x^2+f");
    form->Button2->click();
    form->StartAnimation();
    form->NUndo->trigger();
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "x^2+f");
    EXPECT_FALSE(form->NUndo->isEnabled());
    form->StopAnimation();
    EXPECT_TRUE(form->NUndo->isEnabled());
}

} // namespace

namespace {

// A 3D build takes new random colours; its step taken back gives the
// colours of the picture before.
TEST_F(UndoTest, A3DStepTakenBackHasItsColours) {
    form->N3Dzxy->trigger();
    form->Edit7->setText("x*y");
    form->Button8->click();
    const std::vector<double> first(std::begin(ColourCoeffs), std::end(ColourCoeffs));
    form->Button8->click(); // the same surface in other colours: a step too
    ASSERT_NE(std::vector<double>(std::begin(ColourCoeffs), std::end(ColourCoeffs)), first);
    form->NUndo->trigger();
    EXPECT_EQ(std::vector<double>(std::begin(ColourCoeffs), std::end(ColourCoeffs)), first);
    EXPECT_EQ(Text(form->Edit7), "x*y");
}

} // namespace
