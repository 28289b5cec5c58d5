#include "app/TForm3.h"

#include "app/Fields.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/Translation.h"
#include "app/WidgetTable.h"
#include "engine/Engine.h"
#include "plot2d/Compose.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>
#include <cstdlib>
#include <stdexcept>

namespace {

// Positions in the block of fourteen colours.
constexpr int AxesPosition = 0, BackgroundPosition = 1, FontPosition = 2, FirstGraphPosition = 3;

using F = TForm3;
using Row = TWidgetRow<TForm3>;

// The graph selector, then a row for each colour: its label, "Определить"
// and the swatch that shows the colour.
const Row Rows[] = {
    {&F::Label4, nullptr, 8, 12, 48, 13, QT_TRANSLATE_NOOP("TForm3", "График")},
    {&F::ComboBox1, nullptr, 60, 9, 50, 21, nullptr, nullptr, false, &F::ComboBox1Change},
    {&F::Button1, nullptr, 120, 8, 100, 23, QT_TRANSLATE_NOOP("TForm3", "Определить"), nullptr,
     false, &F::Button1Click},
    {&F::Shape1, nullptr, 236, 10, 20, 20},
    {&F::Label1, nullptr, 8, 42, 48, 13, QT_TRANSLATE_NOOP("TForm3", "Оси")},
    {&F::Button2, nullptr, 120, 38, 100, 23, QT_TRANSLATE_NOOP("TForm3", "Определить"), nullptr,
     false, &F::Button2Click},
    {&F::Shape2, nullptr, 236, 40, 20, 20},
    {&F::Label2, nullptr, 8, 72, 48, 13, QT_TRANSLATE_NOOP("TForm3", "Фон")},
    {&F::Button3, nullptr, 120, 68, 100, 23, QT_TRANSLATE_NOOP("TForm3", "Определить"), nullptr,
     false, &F::Button3Click},
    {&F::Shape3, nullptr, 236, 70, 20, 20},
    {&F::Label3, nullptr, 8, 102, 48, 13, QT_TRANSLATE_NOOP("TForm3", "Шрифт")},
    {&F::Button4, nullptr, 120, 98, 100, 23, QT_TRANSLATE_NOOP("TForm3", "Определить"), nullptr,
     false, &F::Button4Click},
    {&F::Shape4, nullptr, 236, 100, 20, 20},
    {&F::Button5, nullptr, 8, 134, 120, 25, QT_TRANSLATE_NOOP("TForm3", "По умолчанию"), nullptr,
     false, &F::Button5Click},
    {&F::Button6, nullptr, 152, 134, 120, 25, QT_TRANSLATE_NOOP("TForm3", "Применить"), nullptr,
     false, &F::Button6Click},
};

} // namespace

TForm3::TForm3() {
    setFont(WindowFont());
    SetWindowTitle(this, "TForm3", QT_TRANSLATE_NOOP("TForm3", "Цвета"));
    setFixedSize(280, 168);
    CreateWidgets<TForm3>(this, Rows, "TForm3");
    {
        const QSignalBlocker quiet(ComboBox1); // no working copy to show yet
        ComboBox1->setEditable(true);
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
        for (int k = 0; k <= 10; ++k)
            ComboBox1->addItem(QString::number(k));
    }
    ComboBox1->setMaxVisibleItems(11);
    for (QFrame* f : {Shape1, Shape2, Shape3, Shape4}) {
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
    }
}

void TForm3::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TForm3::Fill(QFrame* shape, TColorValue c) {
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, ToQColor(c));
    shape->setPalette(palette);
}

int TForm3::GraphNumber() const {
    const std::int32_t n = StrToInt(ComboBox1->currentText().toStdString());
    // Only eleven graph colours exist.
    if (n < 0 || n >= GraphColourCount)
        throw std::runtime_error(tr("Номер графика — от 0 до 10, а не %1.").arg(n).toStdString());
    return n;
}

void TForm3::ShowWorkingCopy() {
    ComboBox1->setEditText(QStringLiteral("0"));
    Fill(Shape1, WorkingColors.Values[FirstGraphPosition]);
    Fill(Shape2, WorkingColors.Values[AxesPosition]);
    Fill(Shape3, WorkingColors.Values[BackgroundPosition]);
    Fill(Shape4, WorkingColors.Values[FontPosition]);
}

void TForm3::FormShow() {
    WorkingColors = CurrentColours();
    ShowWorkingCopy();
}

void TForm3::ComboBox1Change() {
    Fill(Shape1, WorkingColors.Values[FirstGraphPosition + GraphNumber()]);
}

void TForm3::Pick(int position, QFrame* shape) {
    if (const auto c = Dialogs().PickColour(this, WorkingColors.Values[position]))
        WorkingColors.Values[position] = *c;
    Fill(shape, WorkingColors.Values[position]);
}

void TForm3::Button1Click() {
    Pick(FirstGraphPosition + GraphNumber(), Shape1);
}
void TForm3::Button2Click() {
    Pick(AxesPosition, Shape2);
}
void TForm3::Button3Click() {
    Pick(BackgroundPosition, Shape3);
}
void TForm3::Button4Click() {
    Pick(FontPosition, Shape4);
}

void TForm3::Button5Click() {
    WorkingColors = DefaultColours(); // the settings are not touched
    ShowWorkingCopy();
}

void TForm3::Button6Click() {
    ApplyColours(WorkingColors);
    if (Rebuild) Rebuild();
}

void TForm3::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTree(this);
    QDialog::changeEvent(event);
}
