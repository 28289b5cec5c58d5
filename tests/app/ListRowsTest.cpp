// "Графики списка…": the list's rows edited in the dialog come into the
// list and its styles as one step, draw with their pens, and leave with undo.
#include "AppTestSupport.h"

#include "app/Dialogs.h"
#include "app/TFormGraphs.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

using C = TFormGraphs::TColumn;

TEST_F(WindowTest, TheListsRowsAreEditedInOneStep) {
    for (const char* f : {"1", "-3"}) {
        form->ComboBox1->setEditText(f);
        form->Button5Click();
    }
    form->CheckBox1->setChecked(true);
    form->Button2Click();
    const int blueBefore = CountPixels(0xFF0000FF);
    ASSERT_GT(blueBefore, 700);
    static constexpr TColorValue Red = 0x0000FF;
    Dialogs().PickColour = [](QWidget*, TColorValue) { return std::optional<TColorValue>(Red); };
    bool cancel = true;
    Dialogs().RunModal = [&](QDialog* d) {
        auto* f = static_cast<TFormGraphs*>(d);
        QTableWidget* t = f->Table;
        ASSERT_EQ(t->rowCount(), 2);
        EXPECT_EQ(t->item(1, C::ColFormula)->text().toStdString(), "-3");
        // Each swatch in its graph's colour, the colour of its place.
        for (int row = 0; row < 2; ++row)
            EXPECT_EQ(t->cellWidget(row, C::ColColour)->accessibleName().toStdString(),
                      ToQColor(ListGraphColour(GraphColors, row + 1)).name().toStdString());
        static_cast<QSpinBox*>(t->cellWidget(0, C::ColWidth))->setValue(5);
        t->item(0, C::ColName)->setText("один");
        t->item(1, C::ColVisible)->setCheckState(Qt::Unchecked);
        t->setCurrentCell(1, C::ColFormula);
        f->AddClick(); // a third row after the second
        t->item(2, C::ColFormula)->setText("x");
        static_cast<QPushButton*>(t->cellWidget(2, C::ColColour))->click();
        f->AddClick();
        t->item(3, C::ColFormula)->setText(""); // no formula: left out
        cancel ? d->reject() : d->accept();
    };
    form->ListRowsClick(); // cancelled: nothing changes
    EXPECT_EQ(form->ComboBox1->count(), 2);
    EXPECT_FALSE(form->NUndo->text().contains("графики списка"));
    cancel = false;
    form->ListRowsClick();
    ASSERT_TRUE(failures.empty()) << failures[0];
    ASSERT_EQ(form->ComboBox1->count(), 3);
    EXPECT_EQ(form->ComboBox1->itemText(2), "x");
    const std::vector<TGraphStyle>& styles = form->Model.State.Styles;
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_EQ(styles[0].Width, 5);
    EXPECT_EQ(styles[0].Name, "один");
    EXPECT_FALSE(styles[1].Visible);
    EXPECT_TRUE(styles[2].ColourGiven);
    // Drawn with their pens: the wide line, no line at -3, and x in red.
    EXPECT_GT(CountPixels(0xFFFF0000), 350);
    const int blue = CountPixels(0xFF0000FF);
    EXPECT_GT(blue, blueBefore / 2 * 4); // five pixels wide against one
    EXPECT_EQ(form->PaintBox1->Picture.pixel(100, WorldToPixelY(-3)) | 0xFF000000, 0xFFFFFFFF);
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: графики списка");
    form->UndoClick();
    EXPECT_EQ(form->ComboBox1->count(), 2);
    EXPECT_EQ(ListStyles(form->Model.State)[0].Width, 1);
}

} // namespace
