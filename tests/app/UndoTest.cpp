// Undo and redo through the real window: the keys, the pictures and the
// title's mark.
#include "AppTestSupport.h"

#include "model/PlotState.h"

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
