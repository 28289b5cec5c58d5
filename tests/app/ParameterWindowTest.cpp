// Parameters through the window: the offer of a name a formula reads, the
// slider that redraws the graph as it moves, the drag as one step to undo,
// and names that cannot be parameters.
#include "AppTestSupport.h"

#include "app/FormulaMarks.h"
#include "app/ParameterPanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <cmath>

namespace {

constexpr QRgb Blue = 0xFF0000FF;

class ParameterWindow : public WindowTest {
  protected:
    // The graph passes within a pixel of the world point.
    bool Passes(double x, double y) const {
        const QImage& image = form->PaintBox1->Picture;
        const int px = WorldToPixelX(x), py = WorldToPixelY(y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((image.pixel(px + dx, py + dy) | 0xFF000000) == Blue) return true;
        return false;
    }
};

TEST_F(ParameterWindow, AddedFromTheOfferAndDraggedLive) {
    const double top = std::asin(1.0); // pi/2, where sin(x) is 1
    form->ComboBox1->setEditText("a*sin(b*x)");
    form->Button2Click();
    EXPECT_TRUE(Passes(top, 0)); // a and b unknown: y = 0
    ASSERT_FALSE(form->ParameterOffer->isHidden());
    EXPECT_NE(form->ParameterOffer->text().indexOf("Добавить параметр «a»"), -1);
    // The mark's tooltip tells of it too.
    EXPECT_NE(form->ComboBox1Marks->Explanation().indexOf("«Добавить параметр «b»»"), -1);
    form->ParameterOffer->linkActivated("a");
    EXPECT_NE(form->ParameterOffer->text().indexOf("Добавить параметр «b»"), -1);
    form->ParameterOffer->linkActivated("b");
    EXPECT_TRUE(form->ParameterOffer->isHidden());
    EXPECT_TRUE(form->ComboBox1Marks->Diagnoses().empty()); // no name is unknown now
    ASSERT_EQ(form->Model.State.Input.Parameters.size(), 2u);
    EXPECT_FALSE(form->ParameterPanel->isHidden());
    EXPECT_TRUE(Passes(top, 1)); // a = b = 1
    EXPECT_FALSE(Passes(top, 2));

    // A drag of a's slider to 2: the picture follows at each position, and
    // the drag is one step.
    QSlider* slider = form->ParameterPanel->Rows[0].Slider;
    EXPECT_EQ(slider->value(), 110); // 1 on -10 ... 10 in steps of 0.1
    slider->sliderPressed();
    for (int position = 111; position <= 120; ++position)
        slider->setValue(position);
    EXPECT_EQ(form->Model.State.Input.Parameters[0].Value, 2);
    EXPECT_TRUE(Passes(top, 2)); // drawn while the handle is still held
    slider->sliderReleased();
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: параметр");
    form->UndoClick();
    EXPECT_EQ(form->Model.State.Input.Parameters[0].Value, 1);
    EXPECT_EQ(slider->value(), 110);
    EXPECT_TRUE(Passes(top, 1));
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: добавить параметр");
    form->UndoClick(); // b undefined again: marked, and offered
    EXPECT_EQ(form->ComboBox1Marks->Diagnoses().size(), 1u);
    EXPECT_NE(form->ParameterOffer->text().indexOf("«b»"), -1);
    form->RedoClick();
    // The value typed exactly.
    form->ParameterPanel->Rows[1].Value->setValue(0.5);
    EXPECT_TRUE(Passes(2 * top, 1)); // sin(x/2) is 1 at pi
    EXPECT_TRUE(failures.empty()) << failures[0];
    // The numeric fields read them too.
    Enter(form->Edit1, "a*3");
    EXPECT_EQ(Text(form->Edit1), "3");
}

TEST_F(ParameterWindow, NamesThatCannotBeParametersAreRefused) {
    TParameterPanel* panel = form->ParameterPanel;
    for (const char* name : {"sin", "x", "2a", "a"}) {
        panel->NewName->setText(name);
        panel->AddButton->click();
    }
    ASSERT_EQ(form->Model.State.Input.Parameters.size(), 1u); // only a
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_NE(failures[0].find("«sin» — имя, которое формулы уже читают иначе"), std::string::npos);
    EXPECT_NE(failures[2].find("«2a» не имя параметра"), std::string::npos);
    panel->NewName->setText("A"); // the same name, whatever its case
    panel->AddButton->click();
    ASSERT_EQ(failures.size(), 4u);
    EXPECT_NE(failures[3].find("Параметр «A» уже есть"), std::string::npos);
    panel->Rows[0].Remove->click();
    EXPECT_TRUE(form->Model.State.Input.Parameters.empty());
}

// Played once, a parameter steps from where it stands to its maximum and
// stops there; two play at once, each on its own timer, with no steps to undo.
TEST_F(ParameterWindow, PlayedOnceToTheEndAndTwoAtOnce) {
    form->ComboBox1->setEditText("a*x+b");
    form->Button2Click();
    form->AddParameter("a");
    form->AddParameter("b");
    TParameterPanel* panel = form->ParameterPanel;
    const auto& parameters = form->Model.State.Input.Parameters;
    panel->Rows[0].Min->setValue(0);
    panel->Rows[0].Max->setValue(2);
    panel->Rows[0].Step->setValue(0.25);
    panel->Rows[0].Way->setCurrentIndex(2); // "один раз"
    panel->Rows[0].Speed->setValue(1000);
    EXPECT_EQ(parameters[0].Play, TPlay::Once);
    const std::string steps = form->NUndo->text().toStdString();
    panel->Rows[0].Play->click();
    EXPECT_EQ(panel->Rows[0].Play->text(), "■");
    for (int k = 0; k < 2000 && !form->Playing.empty(); ++k)
        QTest::qWait(1);
    ASSERT_TRUE(form->Playing.empty());
    EXPECT_EQ(parameters[0].Value, 2);
    EXPECT_EQ(panel->Rows[0].Play->text(), "▶");
    EXPECT_TRUE(Passes(1, 2 * 1 + 1)); // y = 2x + 1 drawn at the end
    EXPECT_EQ(form->NUndo->text().toStdString(), steps);

    panel->Rows[0].Way->setCurrentIndex(0); // "цикл"
    panel->Rows[1].Way->setCurrentIndex(1); // "туда и обратно"
    panel->Rows[1].Speed->setValue(1000);
    panel->Rows[0].Play->click();
    panel->Rows[1].Play->click();
    EXPECT_EQ(form->Playing.size(), 2u);
    const double a = parameters[0].Value, b = parameters[1].Value;
    for (int k = 0; k < 2000 && (parameters[0].Value == a || parameters[1].Value == b); ++k)
        QTest::qWait(1);
    EXPECT_NE(parameters[0].Value, a);
    EXPECT_NE(parameters[1].Value, b);
    panel->Rows[1].Remove->click(); // a removed parameter stops playing
    EXPECT_EQ(form->Playing.size(), 1u);
    panel->Rows[0].Play->click();
    EXPECT_TRUE(form->Playing.empty());
    EXPECT_TRUE(failures.empty()) << failures[0];
}

} // namespace
