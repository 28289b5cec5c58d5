#include "app/TForm2.h"

#include "animation/FrameAnimation.h"
#include "app/ErrorReport.h"
#include "app/Fields.h"
#include "app/Translation.h"
#include "app/WidgetTable.h"
#include "document/Limits.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <stdexcept>

namespace {

using F = TForm2;
using Row = TWidgetRow<TForm2>;

const Row Rows[] = {
    {&F::FrameGroup, nullptr, 8, 8, 314, 112, QT_TRANSLATE_NOOP("TForm2", "Параметр f (frame)")},
    {&F::Label1, &F::FrameGroup, 12, 24, 0, 0, QT_TRANSLATE_NOOP("TForm2", "Первый кадр")},
    {&F::Edit1, &F::FrameGroup, 110, 20, 60, 21, "0"},
    {&F::Label2, &F::FrameGroup, 12, 50, 0, 0, QT_TRANSLATE_NOOP("TForm2", "Последний кадр")},
    {&F::Edit2, &F::FrameGroup, 110, 46, 60, 21, "0"},
    {&F::Label3, &F::FrameGroup, 12, 76, 0, 0, QT_TRANSLATE_NOOP("TForm2", "Шаг")},
    {&F::Edit3, &F::FrameGroup, 110, 72, 60, 21, "0"},
    {&F::Label4, &F::FrameGroup, 176, 76, 0, 0, QT_TRANSLATE_NOOP("TForm2", "мс")},
    {&F::CheckBox2, &F::FrameGroup, 206, 22, 0, 0, QT_TRANSLATE_NOOP("TForm2", "Цикл")},
    {&F::Button1, &F::FrameGroup, 206, 46, 96, 25, QT_TRANSLATE_NOOP("TForm2", "Анимация"), nullptr,
     false, &F::Button1Click},
    {&F::Button2, &F::FrameGroup, 206, 76, 96, 25, QT_TRANSLATE_NOOP("TForm2", "Отмена"), nullptr,
     false, &F::Button2Click},
    {&F::CameraGroup, nullptr, 8, 128, 314, 194, QT_TRANSLATE_NOOP("TForm2", "Летающая камера")},
    {&F::ViewGroup, &F::CameraGroup, 10, 22, 150, 96,
     QT_TRANSLATE_NOOP("TForm2", "Вид по траектории")},
    {&F::RadioButton1, &F::ViewGroup, 10, 22, 0, 0, QT_TRANSLATE_NOOP("TForm2", "вперёд"), nullptr,
     true, &F::RadioButton1Click},
    {&F::RadioButton2, &F::ViewGroup, 10, 46, 0, 0, QT_TRANSLATE_NOOP("TForm2", "назад"), nullptr,
     false, &F::RadioButton2Click},
    {&F::RadioButton3, &F::ViewGroup, 10, 70, 0, 0,
     QT_TRANSLATE_NOOP("TForm2", "в начало координат"), nullptr, false, &F::RadioButton3Click},
    {&F::UpGroup, &F::CameraGroup, 168, 22, 136, 96,
     QT_TRANSLATE_NOOP("TForm2", "Направление вверх"),
     QT_TRANSLATE_NOOP("TForm2", "вектор, направленный вверх от камеры")},
    {&F::Label5, &F::UpGroup, 10, 26, 0, 0, "X"},
    {&F::Edit4, &F::UpGroup, 24, 22, 40, 21, "1"},
    {&F::Label6, &F::UpGroup, 72, 26, 0, 0, "Y"},
    {&F::Edit5, &F::UpGroup, 86, 22, 40, 21, "1"},
    {&F::Label7, &F::UpGroup, 10, 56, 0, 0, "Z"},
    {&F::Edit6, &F::UpGroup, 24, 52, 40, 21, "1"},
    {&F::Button4, &F::UpGroup, 72, 52, 60, 25, QT_TRANSLATE_NOOP("TForm2", "применить"), nullptr,
     false, &F::Button4Click},
    {&F::CheckBox3, &F::CameraGroup, 12, 128, 0, 0,
     QT_TRANSLATE_NOOP("TForm2", "рисовать траекторию")},
    {&F::Button3, &F::CameraGroup, 12, 156, 120, 25, QT_TRANSLATE_NOOP("TForm2", "Анимация"),
     nullptr, false, &F::Button3Click},
};

} // namespace

TForm2::TForm2() {
    setFont(WindowFont());
    SetWindowTitle(this, "TForm2", QT_TRANSLATE_NOOP("TForm2", "Анимация"));
    setFixedSize(330, 330);
    CreateWidgets<TForm2>(this, Rows, "TForm2");
    connect(CheckBox2, &QCheckBox::toggled, this, [this] {
        if (FramesEdited) FramesEdited();
    });
    ShowFrameSettings(); // Ctrl+A may start an animation before the dialog was ever shown
}

void TForm2::ShowFrameSettings() {
    Edit1->setText(QString::number(FirstFrame));
    Edit2->setText(QString::number(LastFrame));
    Edit3->setText(QString::number(FrameInterval));
}

void TForm2::Button1Click() {
    // In this order; a field that is no integer, or out of range, stops here
    // with the values read before it kept, and the dialog stays open.
    FirstFrame = FrameSetting(FieldText(Edit1), -MaxFrameNumber, MaxFrameNumber, FirstFrame);
    LastFrame = FrameSetting(FieldText(Edit2), -MaxFrameNumber, MaxFrameNumber, LastFrame);
    FrameInterval = FrameSetting(FieldText(Edit3), 0, MaxFrameInterval, FrameInterval);
    if (FramesEdited) FramesEdited(); // the frames are saved with the document
    hide();
    if (StartFrames) StartFrames();
    done(QDialog::Accepted);
}

void TForm2::Button2Click() {
    if (StopFrames) StopFrames();
    FrameCounter = 0;
    if (ShowStill) ShowStill(); // the 2D build once, whatever the mode
    done(QDialog::Rejected);
}

void TForm2::RadioButton1Click() {
    ViewAlongMode = 1;
    if (FramesEdited) FramesEdited();
}
void TForm2::RadioButton2Click() {
    ViewAlongMode = 2;
    if (FramesEdited) FramesEdited();
}
void TForm2::RadioButton3Click() {
    ViewAlongMode = 3;
    if (FramesEdited) FramesEdited();
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

void TForm2::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTree(this);
    QDialog::changeEvent(event);
}
