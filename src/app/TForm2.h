// "Анимация": the frames of the animation over f (first, last, interval,
// looping) and the flying camera (where it looks, its up vector, the
// trajectory drawn in every mode, its flight).
#pragma once

#include <QCoreApplication>
#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Tfrm3D;

class TForm2 : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TForm2)

  public:
    TForm2();

    // --- the frames
    // The fields show the frame settings (first, last, interval).
    void ShowFrameSettings();
    void Button1Click(); // "Анимация": start
    void Button2Click(); // "Отмена": stop
    // --- the flying camera
    void RadioButton1Click(); // "вперёд"
    void RadioButton2Click(); // "назад"
    void RadioButton3Click(); // "в начало координат"
    void Button4Click();      // "применить": the up vector
    void Button3Click();      // "Анимация": start or stop the flight

    // What the dialog asks of the main window, wired where the windows are
    // made: a frame setting changed (the document holds them), the frames
    // to start, to stop, and the still picture to show after "Отмена".
    std::function<void()> FramesEdited, StartFrames, StopFrames, ShowStill;
    Tfrm3D* Frm3D = nullptr;

    QGroupBox *FrameGroup, *CameraGroup, *ViewGroup, *UpGroup;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;
    QCheckBox *CheckBox2, *CheckBox3;
    QPushButton *Button1, *Button2, *Button3, *Button4;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3;

  protected:
    void changeEvent(QEvent* event) override; // a new language relabels the dialog
};
