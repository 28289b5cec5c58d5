// "Найти…": a root, a minimum, a maximum, an intersection of two graphs or
// the area of a graph, on an interval a ... b whose ends may be formulas.
// The answer is written in the dialog and marked on the graph.
#pragma once

#include <QCoreApplication>
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TGraphAnalysis;

class TFormFind : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TFormFind)

  public:
    TFormFind();

    // The graphs of the picture in the selectors, the interval at the view.
    void FormShow();
    void Button1Click(); // "Найти"

    TGraphAnalysis* Analysis = nullptr; // the analysis of the main window's picture
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3; // the graph, the second graph, the kind
    QLineEdit *Edit1, *Edit2;                     // from, to
    QPushButton* Button1;

  private:
    void FillKinds(); // the kinds of "Найти", in the language of the window

  protected:
    void changeEvent(QEvent* event) override; // a new language relabels the dialog
    void showEvent(QShowEvent* event) override;
};
