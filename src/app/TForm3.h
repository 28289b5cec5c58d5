// "Цвета": the colours of the 2D picture, edited through a working copy that
// "Применить" puts into the settings and "По умолчанию" resets.
#pragma once

#include "document/Settings.h"

#include <QCoreApplication>
#include <QDialog>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class TForm3 : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TForm3)

  public:
    TForm3();

    void FormShow();        // the working copy from the settings
    void ComboBox1Change(); // the swatch of the graph now chosen
    void Button1Click();    // pick graph n's colour
    void Button2Click();    // the axes
    void Button3Click();    // the background
    void Button4Click();    // the font
    void Button5Click();    // "По умолчанию"
    void Button6Click();    // "Применить"

    // The graph number in the selector: 0 ... 10, else the conversion's
    // message (or one of the range) is thrown.
    int GraphNumber() const;

    // Runs the main window's 2D build after "Применить".
    std::function<void()> Rebuild;

    TColourBlock WorkingColors{};
    QLabel *Label1, *Label2, *Label3, *Label4;
    QComboBox* ComboBox1;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6;
    QFrame *Shape1, *Shape2, *Shape3, *Shape4;

  protected:
    void changeEvent(QEvent* event) override; // a new language relabels the dialog
    void showEvent(QShowEvent* event) override;

  private:
    void ShowWorkingCopy(); // the selector at graph 0 and the four swatches
    void Fill(QFrame* shape, TColorValue colour);
    void Pick(int position, QFrame* shape);
};
