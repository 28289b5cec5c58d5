#include "app/TForm2.h"

#include "app/TForm1.h"

#include "app/ErrorReport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
}
