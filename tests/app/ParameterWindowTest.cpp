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

} // namespace
