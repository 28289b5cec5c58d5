// "Список используемых функций": a read-only reference of the formula
// language that stays above the other windows while the user types.
#pragma once

#include <QCoreApplication>
#include <QDialog>

class QPlainTextEdit;

class TForm4 : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TForm4)

  public:
    TForm4();
    QPlainTextEdit* Memo1;

  protected:
    void changeEvent(QEvent* event) override; // a new language: the list in it

  private:
    void ShowLines();
};

// The forty lines of the list, character for character (the sources of
// their translations).
extern const char* const FunctionListLines[40];
