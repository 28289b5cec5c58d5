// "Найти…": a root, a minimum, a maximum, an intersection of two graphs or
// the area of a graph, on an interval a ... b whose ends may be formulas.
// The answer is written in the dialog and marked on the graph.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

class TFormFind : public QDialog {
  public:
    TFormFind();

    // The graphs of the picture in the selectors, the interval at the view.
    void FormShow();
    void Button1Click(); // "Найти"

    TForm1* Form1 = nullptr;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3; // the graph, the second graph, the kind
    QLineEdit *Edit1, *Edit2;                     // from, to
    QPushButton* Button1;

  protected:
    void showEvent(QShowEvent* event) override;
};
