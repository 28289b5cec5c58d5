// Relations through the window: typed into the formula box, proven a slice
// at a time with the share in the status line, and a zoom while a proof
// runs, which proves the new view instead.
#include "AppTestSupport.h"

#include "app/FormulaMarks.h"

#include <QLabel>
#include <QTest>

#include <cmath>

namespace {

constexpr QRgb Blue = 0xFF0000FF;

class RelationWindow : public WindowTest {
  protected:
    // The pixel of the world point is the pen's colour.
    bool Drawn(double x, double y) const {
        return (form->PaintBox1->Picture.pixel(WorldToPixelX(x), WorldToPixelY(y)) | 0xFF000000) ==
               Blue;
    }
    QLabel* Proven() const { return form->findChild<QLabel*>(QStringLiteral("RelationProof")); }
    // Lets the window prove slice after slice until its proof ends (a proof
    // ends after its finest pass; ctest's timeout stops one that would not).
    void WaitForTheProof() {
        while (form->ProofTimer->isActive())
            QTest::qWait(5);
    }
    // The share the status line tells, in percent.
    double Share() const {
        QString text = Proven()->text();
        EXPECT_TRUE(text.startsWith("доказано ")) << text.toStdString();
        return text.mid(9).chopped(2).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    }
};

TEST_F(RelationWindow, ACircleIsProvenAndZoomedWhileItIsProven) {
    form->ComboBox1->setEditText("x^2+y^2=16");
    EXPECT_TRUE(form->ComboBox1Marks->Diagnoses().empty()); // a relation is no mistake
    form->Button2Click();
    ASSERT_NE(Proven(), nullptr);
    EXPECT_FALSE(Proven()->isHidden());
    WaitForTheProof();
    EXPECT_GE(Share(), 99.9);
    // On the circle at its pixels' centres: not where it does not pass.
    for (int k = 0; k < 16; ++k) {
        const double a = k * 3.141592653589793 / 8 + 0.1;
        const int px = WorldToPixelX(4 * std::cos(a)), py = WorldToPixelY(4 * std::sin(a));
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                near =
                    near || (form->PaintBox1->Picture.pixel(px + dx, py + dy) | 0xFF000000) == Blue;
        EXPECT_TRUE(near) << k;
    }
    EXPECT_FALSE(Drawn(0, 0));
    EXPECT_FALSE(Drawn(2, 2));

    // A harder relation, zoomed in while its first slices are shown: the
    // proof of the new view goes on to its end.
    form->ComboBox1->setEditText("sin(x^2+y^2)=cos(x*y)");
    form->Button2Click();
    EXPECT_TRUE(form->ProofTimer->isActive()); // a slice is not all of it
    EXPECT_LT(Share(), 99);
    form->Zoom(-1);
    const double x1 = ViewX1;
    WaitForTheProof();
    EXPECT_EQ(ViewX1, x1);
    EXPECT_GE(Share(), 99.5);
    // At the origin sin 0 = 0 is not cos 0 = 1: nothing there.
    EXPECT_FALSE(Drawn(0, 0));

    // A y(x) graph again: the share leaves the status line.
    form->ComboBox1->setEditText("sin(x)");
    form->Button2Click();
    EXPECT_TRUE(Proven()->isHidden());
}

// Опции → "Точный рисунок графиков" is one step, proves the graph, and
// goes back with the undo.
TEST_F(RelationWindow, ExactGraphsAreAStepToUndo) {
    form->ComboBox1->setEditText("tg(x)");
    form->Button2Click();
    const QImage sampled = form->PaintBox1->Picture;
    EXPECT_TRUE(Proven() == nullptr || Proven()->isHidden());
    form->NExactGraphs->trigger();
    EXPECT_TRUE(form->NExactGraphs->isChecked());
    WaitForTheProof();
    EXPECT_FALSE(form->PaintBox1->Picture == sampled);
    EXPECT_GE(Share(), 99.5);
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: точный рисунок графиков");
    form->UndoClick();
    EXPECT_FALSE(form->NExactGraphs->isChecked());
    EXPECT_FALSE(form->Model.State.ExactGraphs);
}

TEST_F(RelationWindow, AChainIsMarkedAndNotDrawn) {
    form->ComboBox1->setEditText("0<y<x");
    ASSERT_EQ(form->ComboBox1Marks->Diagnoses().size(), 1u);
    EXPECT_NE(form->ComboBox1Marks->Explanation().indexOf("цепочки сравнений"), -1);
}

} // namespace
