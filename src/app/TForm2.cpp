#include "app/TForm2.h"

#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <stdexcept>

namespace {

QLabel* MakeLabel(QWidget* parent, int x, int y, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLineEdit* MakeEdit(QWidget* parent, int x, int y, int w, const char* text) {
    auto* e = new QLineEdit(QString::fromUtf8(text), parent);
    e->setGeometry(x, y, w, 21);
    return e;
}

QPushButton* MakeButton(QWidget* parent, int x, int y, int w, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setGeometry(x, y, w, 25);
    return b;
}

} // namespace

TForm2::TForm2() {
    setFont(WindowFont());
    setWindowTitle(QString::fromUtf8("Анимация"));
    setFixedSize(330, 330);

    FrameGroup = new QGroupBox(QString::fromUtf8("Параметр f (frame)"), this);
    FrameGroup->setGeometry(8, 8, 314, 112);
    Label1 = MakeLabel(FrameGroup, 12, 24, "Первый кадр");
    Edit1 = MakeEdit(FrameGroup, 110, 20, 60, "0");
    Label2 = MakeLabel(FrameGroup, 12, 50, "Последний кадр");
    Edit2 = MakeEdit(FrameGroup, 110, 46, 60, "0");
    Label3 = MakeLabel(FrameGroup, 12, 76, "Шаг");
    Edit3 = MakeEdit(FrameGroup, 110, 72, 60, "0");
    Label4 = MakeLabel(FrameGroup, 176, 76, "мс");
    CheckBox2 = new QCheckBox(QString::fromUtf8("Цикл"), FrameGroup);
    CheckBox2->move(206, 22);
    Button1 = MakeButton(FrameGroup, 206, 46, 96, "Анимация");
    Button2 = MakeButton(FrameGroup, 206, 76, 96, "Отмена");

    CameraGroup = new QGroupBox(QString::fromUtf8("Летающая камера"), this);
    CameraGroup->setGeometry(8, 128, 314, 194);
    ViewGroup = new QGroupBox(QString::fromUtf8("Вид по траектории"), CameraGroup);
    ViewGroup->setGeometry(10, 22, 150, 96);
    RadioButton1 = new QRadioButton(QString::fromUtf8("вперёд"), ViewGroup);
    RadioButton1->move(10, 22);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QString::fromUtf8("назад"), ViewGroup);
    RadioButton2->move(10, 46);
    RadioButton3 = new QRadioButton(QString::fromUtf8("в начало координат"), ViewGroup);
    RadioButton3->move(10, 70);
    UpGroup = new QGroupBox(QString::fromUtf8("Направление вверх"), CameraGroup);
    UpGroup->setToolTip(QString::fromUtf8("вектор, направленный вверх от камеры"));
    UpGroup->setGeometry(168, 22, 136, 96);
    Label5 = MakeLabel(UpGroup, 10, 26, "X");
    Edit4 = MakeEdit(UpGroup, 24, 22, 40, "1");
    Label6 = MakeLabel(UpGroup, 72, 26, "Y");
    Edit5 = MakeEdit(UpGroup, 86, 22, 40, "1");
    Label7 = MakeLabel(UpGroup, 10, 56, "Z");
    Edit6 = MakeEdit(UpGroup, 24, 52, 40, "1");
    Button4 = MakeButton(UpGroup, 72, 52, 56, "применить");
    CheckBox3 = new QCheckBox(QString::fromUtf8("рисовать траекторию"), CameraGroup);
    CheckBox3->move(12, 128);
    Button3 = MakeButton(CameraGroup, 12, 156, 120, "Анимация");

    connect(Button1, &QPushButton::clicked, this, AsCommand([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, AsCommand([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, AsCommand([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, AsCommand([this] { Button4Click(); }));
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton2Click();
    });
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton3Click();
    });
}

void TForm2::ShowFrameSettings() {
    Edit1->setText(QString::number(FirstFrame));
    Edit2->setText(QString::number(LastFrame));
    Edit3->setText(QString::number(FrameInterval));
}

void TForm2::Button1Click() {
    // In this order; a field that is no integer stops here with the values
    // read before it kept, and the dialog stays open.
    FirstFrame = StrToInt(FieldText(Edit1));
    LastFrame = StrToInt(FieldText(Edit2));
    FrameInterval = StrToInt(FieldText(Edit3));
    hide();
    Form1->CompileFormulaList(); // a 2D plot has its trees for every frame
    Form1->StartAnimation();
    done(QDialog::Accepted);
}

void TForm2::Button2Click() {
    Form1->N4->setEnabled(true);
    Form1->StopAnimation();
    FrameCounter = 0;
    Form1->Button2Click(); // the 2D build once, whatever the mode
    SetCaption(Form1->Label1, QString());
    done(QDialog::Rejected);
}

void TForm2::RadioButton1Click() {
    ViewAlongMode = 1;
}
void TForm2::RadioButton2Click() {
    ViewAlongMode = 2;
}
void TForm2::RadioButton3Click() {
    ViewAlongMode = 3;
}

void TForm2::Button4Click() {
    // Each component is kept as soon as it is read; a field that is no
    // number stops here.
    QLineEdit* const fields[3] = {Edit4, Edit5, Edit6};
    for (int i = 0; i < 3; ++i)
        CameraUp[i] = static_cast<float>(StrToFloat(FieldText(fields[i])));
}

void TForm2::Button3Click() {
    if (Frm3D == nullptr) return;
    if (Frm3D->Timer1->isActive())
        Frm3D->Timer1->stop();
    else
        Frm3D->Timer1->start();
    CameraIndex = 1;
}
