// What a formula holds that the compiler does not understand, as the user
// meets it: the wavy underline and the tooltip while typing, the status line
// after a build, and "Error!" explained.
#include "AppTestSupport.h"

#include "app/FormulaMarks.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace {

class FormulaDiagnosis : public WindowTest {
  protected:
    QLineEdit* FormulaBox() const { return form->ComboBox1->lineEdit(); }
    void TypeFormula(const char* text) {
        FormulaBox()->selectAll();
        QTest::keyClicks(FormulaBox(), QString::fromUtf8(text));
    }
    std::string Status() const { return form->StatusLine->text().toStdString(); }
    // The columns of the field where a colour shows (the formula box's
    // field has no frame of its own).
    static std::vector<int> Columns(QLineEdit* edit, bool (*shows)(const QColor&)) {
        const QImage image = edit->grab().toImage();
        std::vector<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (shows(image.pixelColor(x, y))) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }
    static std::vector<int> RedColumns(QLineEdit* edit) {
        return Columns(edit, [](const QColor& c) {
            return c.red() > 150 && c.green() < 110 && c.blue() < 110;
        });
    }
    static std::vector<int> InkColumns(QLineEdit* edit) {
        return Columns(edit, [](const QColor& c) { return c.lightness() < 100; });
    }
};

TEST_F(FormulaDiagnosis, ABadFormulaIsUnderlinedWhereItIsBadAndTheTooltipSaysWhy) {
    form->show();
    const QImage before = form->PaintBox1->Picture;
    TypeFormula("x+sni(x)");
    const TFormulaMarks* marks = form->ComboBox1Marks;
    ASSERT_EQ(marks->Diagnoses().size(), 1u);
    EXPECT_EQ(FormulaBox()->toolTip().toStdString(),
              "Неизвестная функция «sni» (позиция 3–5) Может быть, «sin»?");
    // The red lies under "sni" and nowhere else: measured from the first
    // column of the text's own ink.
    FormulaBox()->setCursorPosition(0);
    const QFontMetrics m = FormulaBox()->fontMetrics();
    const std::vector<int> red = RedColumns(FormulaBox());
    ASSERT_FALSE(red.empty());
    const int textLeft = InkColumns(FormulaBox()).front();
    EXPECT_NEAR(red.front(), textLeft + m.horizontalAdvance("x+"), 2);
    EXPECT_NEAR(red.back(), textLeft + m.horizontalAdvance("x+sni"), 3);
    // Typing built nothing: the picture is the start's.
    EXPECT_EQ(form->PaintBox1->Picture, before);
    EXPECT_EQ(Status(), "");

    TypeFormula("x+sin(x)");
    EXPECT_TRUE(marks->Diagnoses().empty());
    EXPECT_TRUE(RedColumns(FormulaBox()).empty());
    EXPECT_EQ(FormulaBox()->toolTip().toStdString(), "");
}

TEST_F(FormulaDiagnosis, ABuildTellsTheFirstDiagnosisInTheStatusLineAndStillDraws) {
    const int blueAtStart = CountPixels(0xFF0000FF);
    const struct {
        const char* formula;
        const char* status;
    } rows[] = {
        {"sin(x", "Формула y= Не хватает «)» к скобке (позиция 4)"},
        {"2x", "Формула y= Между числом и x нужен знак *: 2*x"},
        {"x+", "Формула y= После «+» нет операнда (позиция 2)"},
        {"x + 1", "Формула y= Пробел в формуле (позиция 2): в языке формул пробелов нет"},
        {"sin(x)", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        form->ComboBox1->setEditText(QString::fromUtf8(row.formula));
        form->Button2Click();
        EXPECT_EQ(Status(), row.status);
        EXPECT_TRUE(failures.empty()); // nothing modal, nothing refused
    }
    EXPECT_GT(CountPixels(0xFF0000FF), blueAtStart / 2); // sin(x) drawn
    // The client area keeps its size; the status line lies under it.
    EXPECT_EQ(form->Client->size(), QSize(474, 517));
    EXPECT_GE(form->StatusLine->mapTo(form.get(), QPoint(0, 0)).y(),
              form->Client->mapTo(form.get(), QPoint(0, 517)).y());
}

TEST_F(FormulaDiagnosis, OnlyTheFieldsThatHoldFormulasInTheModeAreMarked) {
    form->N2DxytClick();
    Type(form->Edit2, "abc");
    Type(form->Edit6, "t");
    EXPECT_EQ(form->Edit2Marks->Diagnoses().size(), 1u);
    EXPECT_TRUE(form->Edit6Marks->Diagnoses().empty());
    EXPECT_FALSE(form->ComboBox1Marks->Active());
    form->Button2Click();
    EXPECT_EQ(Status(), "x(t)= Неизвестное имя «abc» (позиция 1–3)");
    form->N2DyxClick();
    EXPECT_FALSE(form->Edit2Marks->Active());
    EXPECT_TRUE(form->Edit2Marks->Diagnoses().empty());
}

TEST_F(FormulaDiagnosis, ErrorInAFieldOrAfterYx0IsExplained) {
    Enter(form->Edit5, "1/0");
    EXPECT_EQ(Text(form->Edit5), "Error!");
    EXPECT_EQ(Status(), "Шаг, режим y(x): Error! — Деление на ноль: 1/0");

    form->ComboBox1->setEditText("sqrt(x)");
    Type(form->Edit1, "-4");
    form->Button1Click();
    EXPECT_EQ(Text(form->Label1), "Error!");
    EXPECT_EQ(Status(), "y(x0)= Error! — Корень из отрицательного числа: SQRT(X)");

    form->ComboBox1->setEditText("y+1"); // y has no value here
    form->Button1Click();
    EXPECT_EQ(
        Status(),
        "y(x0)= Error! — Переменная y здесь не определена: значение считается только от x и f");

    // In a build, the field's failure stays told after the formulas' check.
    form->ComboBox1->setEditText("x");
    Type(form->Edit5, "ln(0)");
    form->Button2Click();
    EXPECT_EQ(Status(), "Шаг, режим y(x): Error! — Логарифм числа, не большего нуля: LN(0)");
}

} // namespace
