// "Список используемых функций": a read-only reference of the formula
// language that stays above the other windows while the user types.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class TForm4 : public QDialog {
  public:
    TForm4();
    QPlainTextEdit* Memo1;
};

// The forty lines of the list, character for character.
extern const char* const FunctionListLines[40];
