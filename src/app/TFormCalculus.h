// "Производные графика…": what the graph of the formula box draws beside
// itself: f′, f″ and ∫f through (x0, y0). The dialog edits a copy; the
// main window takes it when the dialog is closed with OK.
#pragma once

#include "document/PlotInput.h"

#include <QCoreApplication>
#include <QDialog>

class QCheckBox;
class QLineEdit;

class TFormCalculus : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TFormCalculus)

  public:
    TFormCalculus(QWidget* parent, const TGraphCalculus& calculus);

    // The switches and the point as the dialog shows them; a field that is
    // no number keeps the value it had.
    TGraphCalculus Calculus() const;

    QCheckBox *First, *Second, *Antiderivative;
    QLineEdit *X0, *Y0;

  private:
    TGraphCalculus start_;
};

// A number field of the point of ∫f: a number or a formula of x = 0, as
// every numeric field takes it; `kept` where it is none.
double CalculusNumber(const QString& text, double kept);
