// Derivatives through the window: f′, f″ and ∫f of the formula box and of
// the list's rows, each one step that the document keeps, and "y′(x0)=".
#include "AppTestSupport.h"

#include "app/Dialogs.h"
#include "app/TFormCalculus.h"
#include "app/TFormGraphs.h"
#include "model/PlotModel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

class CalculusWindow : public WindowTest {
  protected:
    // The colour within two pixels of the world point (x, y) in the picture.
    bool Drawn(double x, double y, QRgb colour) const {
        const QImage& image = form->PaintBox1->Picture;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if ((image.pixel(WorldToPixelX(x) + dx, WorldToPixelY(y) + dy) | 0xFF000000) ==
                    (colour | 0xFF000000))
                    return true;
        return false;
    }
    bool Blue(double x, double y) const { return Drawn(x, y, 0xFF0000FF); }
    void Calculus(bool first, bool second, bool integral, const char* x0, const char* y0) {
        Dialogs().RunModal = [=](QDialog* d) {
            auto* f = static_cast<TFormCalculus*>(d);
            f->First->setChecked(first);
            f->Second->setChecked(second);
            f->Antiderivative->setChecked(integral);
            f->X0->setText(x0);
            f->Y0->setText(y0);
            d->accept();
        };
        form->CalculusClick();
    }
    std::string Status() const { return form->StatusLine->text().toStdString(); }
};

TEST_F(CalculusWindow, TheFormulasDerivativesDrawAsOneStepAndAreSaved) {
    form->ComboBox1->setEditText("x^2/4");
    form->Button2Click();
    EXPECT_FALSE(Blue(4, 2)); // x^2/4 is 4 there
    Calculus(true, false, false, "0", "0");
    EXPECT_TRUE(Blue(4, 2)); // f′ = x/2
    EXPECT_TRUE(Blue(-6, -3));
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: производные графика");
    const TDocumentFile saved =
        DocumentOfJson(DocumentJson(DocumentOfState(form->Model.State, {}, false)));
    EXPECT_TRUE(saved.FormulaCalculus.First && !saved.FormulaCalculus.Second);
    // f″ = 1/2 and ∫f through (0, -8): x^3/12 - 8, given as formulas.
    Calculus(false, true, true, "0", "-2*4");
    EXPECT_FALSE(Blue(-6, -3));
    EXPECT_TRUE(Blue(-7, 0.5));
    EXPECT_TRUE(Blue(4, 64.0 / 12 - 8));
    EXPECT_TRUE(Blue(-2, -8.0 / 12 - 8));
    EXPECT_EQ(form->Model.State.Input.FormulaCalculus.Y0, -8);
    form->UndoClick();
    EXPECT_TRUE(Blue(4, 2));
    EXPECT_FALSE(Blue(4, 64.0 / 12 - 8));
    form->UndoClick();
    EXPECT_FALSE(Blue(4, 2));
    // ∫f of 1/x from 1 stops at the pole, and says so.
    form->ComboBox1->setEditText("1/x");
    Calculus(false, false, true, "1", "0");
    form->Button2Click();
    EXPECT_NE(Status().find("Первообразная ∫f обрывается при x = 0"), std::string::npos)
        << Status();
    EXPECT_TRUE(Blue(std::exp(1.0), 1));
}

// A switch that changes the picture paints it again on the screen, not only
// in the picture kept for the next paint.
TEST_F(CalculusWindow, TheSwitchesPaintTheShownPicture) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->ComboBox1->setEditText("sin(x)");
    form->Button2Click();
    struct TPaints : QObject {
        int Count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            Count += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    form->PaintBox1->installEventFilter(&paints);
    for (const std::function<void()>& change : std::vector<std::function<void()>>{
             [&] { Calculus(true, false, false, "0", "0"); }, [&] { form->ExactGraphsClick(); }}) {
        QTest::qWait(50);
        paints.Count = 0;
        change();
        QTest::qWait(50);
        EXPECT_GT(paints.Count, 0);
    }
    form->PaintBox1->removeEventFilter(&paints);
}

TEST_F(CalculusWindow, EachListRowHasItsSwitches) {
    for (const char* f : {"sin(x)", "x"}) {
        form->ComboBox1->setEditText(f);
        form->Button5Click();
    }
    form->CheckBox1->setChecked(true);
    form->Button2Click();
    Dialogs().RunModal = [&](QDialog* d) {
        QTableWidget* t = static_cast<TFormGraphs*>(d)->Table;
        t->item(0, TFormGraphs::ColFirst)->setCheckState(Qt::Checked);
        t->item(1, TFormGraphs::ColIntegral)->setCheckState(Qt::Checked);
        t->item(1, TFormGraphs::ColX0)->setText("2");
        t->item(1, TFormGraphs::ColY0)->setText("no number"); // keeps its 0
        d->accept();
    };
    form->ListRowsClick();
    const std::vector<TGraphStyle> styles = ListStyles(form->Model.State);
    ASSERT_EQ(styles.size(), 2u);
    EXPECT_TRUE(styles[0].Calculus.First && !styles[0].Calculus.Antiderivative);
    EXPECT_TRUE(styles[1].Calculus.Antiderivative);
    EXPECT_EQ(styles[1].Calculus.X0, 2);
    EXPECT_EQ(styles[1].Calculus.Y0, 0);
    // cos beside sin, and x^2/2 - 2 beside x, each in its graph's colour.
    const auto drawn = [&](double x, double y, int place) {
        return Drawn(x, y, ToQColor(ListGraphColour(GraphColors, place)).rgb());
    };
    EXPECT_TRUE(drawn(0, 1, 1));
    EXPECT_TRUE(drawn(-3.141592653589793, -1, 1));
    EXPECT_TRUE(drawn(4, 6, 2));
    EXPECT_TRUE(drawn(-4, 6, 2));
    // Each row's own: the first one's f′ off, the second's ∫f stays.
    Dialogs().RunModal = [&](QDialog* d) {
        static_cast<TFormGraphs*>(d)
            ->Table->item(0, TFormGraphs::ColFirst)
            ->setCheckState(Qt::Unchecked);
        d->accept();
    };
    form->ListRowsClick();
    EXPECT_FALSE(drawn(0, 1, 1));
    EXPECT_TRUE(drawn(4, 6, 2));
}

TEST_F(CalculusWindow, TheSlopeAtX0BesideItsValue) {
    form->ComboBox1->setEditText("x^3");
    Type(form->Edit1, "2");
    form->Button2Click();
    ASSERT_FALSE(form->SlopeButton->isHidden());
    form->SlopeButton->click();
    EXPECT_EQ(form->SlopeResult->text().toStdString(), "12");
    form->ComboBox1->setEditText("ln(x)");
    Type(form->Edit1, "-1");
    form->SlopeButton->click();
    EXPECT_EQ(form->SlopeResult->text().toStdString(), "Error!");
    EXPECT_NE(Status().find("у формулы нет производной при x = -1"), std::string::npos) << Status();
    form->ComboBox1->setEditText("rand(3)*x");
    form->SlopeButton->click();
    EXPECT_NE(Status().find("случайные числа"), std::string::npos) << Status();
    for (const auto& [formula, said] :
         {std::pair{"y=x^2", "«y=x^2» — отношение, а не график y(x)"},
          std::pair{"x+sni(x)", "Неизвестная функция «sni»"}, std::pair{"", "формула пуста"}}) {
        form->ComboBox1->setEditText(formula);
        form->SlopeButton->click();
        EXPECT_EQ(form->SlopeResult->text().toStdString(), "Error!");
        EXPECT_NE(Status().find(said), std::string::npos) << Status();
    }
    form->RadioButton2->setChecked(true); // r(fi): no slope of y(x)
    EXPECT_TRUE(form->SlopeButton->isHidden());
    form->RadioButton1->setChecked(true);
    EXPECT_FALSE(form->SlopeButton->isHidden());
}

} // namespace
