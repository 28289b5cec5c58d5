#include "app/TForm3.h"

#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "engine/Engine.h"
#include "plot2d/Compose.h"

#include <QComboBox>
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

QFrame* Swatch(QWidget* parent, int x, int y) {
    auto* f = new QFrame(parent);
    f->setGeometry(x, y, 20, 20);
    f->setFrameShape(QFrame::Box);
    f->setAutoFillBackground(true);
    return f;
}

} // namespace

TForm3::TForm3() {
    setFont(WindowFont());
    setWindowTitle(QString::fromUtf8("Цвета"));
    setFixedSize(280, 168);
    auto label = [this](int y, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setGeometry(8, y + 4, 48, 13);
        return l;
    };
    auto button = [this](int y) {
        auto* b = new QPushButton(QString::fromUtf8("Определить"), this);
        b->setGeometry(120, y, 100, 23);
        return b;
    };
    Label4 = label(8, "График");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    for (int k = 0; k <= 10; ++k)
        ComboBox1->addItem(QString::number(k));
    ComboBox1->setMaxVisibleItems(11);
    ComboBox1->setGeometry(60, 9, 50, 21);
    Button1 = button(8);
    Shape1 = Swatch(this, 236, 10);
    Label1 = label(38, "Оси");
    Button2 = button(38);
    Shape2 = Swatch(this, 236, 40);
    Label2 = label(68, "Фон");
    Button3 = button(68);
    Shape3 = Swatch(this, 236, 70);
    Label3 = label(98, "Шрифт");
    Button4 = button(98);
    Shape4 = Swatch(this, 236, 100);
    Button5 = new QPushButton(QString::fromUtf8("По умолчанию"), this);
    Button5->setGeometry(8, 134, 120, 25);
    Button6 = new QPushButton(QString::fromUtf8("Применить"), this);
    Button6->setGeometry(152, 134, 120, 25);

    auto command = [](auto handler) { return [handler] { RunCommand(handler); }; };
    connect(ComboBox1, &QComboBox::editTextChanged, this, command([this] { ComboBox1Change(); }));
    connect(Button1, &QPushButton::clicked, this, command([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, command([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, command([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, command([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, command([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, command([this] { Button6Click(); }));
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
        throw std::runtime_error("Номер графика — от 0 до 10, а не " + std::to_string(n) + ".");
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
