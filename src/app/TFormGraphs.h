// "Графики списка…": the y(x) list as rows, each a graph with its formula,
// colour, width, line, visibility and name, and what it draws beside
// itself: f′, f″ and ∫f through (x0, y0). The dialog edits a copy; the
// main window takes the rows when it is closed with OK.
#pragma once

#include "document/DocumentFile.h"

#include <QCoreApplication>
#include <QDialog>

#include <vector>

class QTableWidget;
class QPushButton;

class TFormGraphs : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TFormGraphs)

  public:
    TFormGraphs(QWidget* parent, std::vector<TGraphStyle> rows);

    // The rows as the table shows them now.
    std::vector<TGraphStyle> Rows() const;

    void AddClick();           // "Добавить": a row after the current one
    void DeleteClick();        // "Удалить": the current row
    void ColourClick(int row); // the swatch: the colour picker

    enum TColumn {
        ColFormula,
        ColColour,
        ColWidth,
        ColStyle,
        ColVisible,
        ColName,
        ColFirst,  // f′ beside the graph
        ColSecond, // f″
        ColIntegral,
        ColX0, // the point of ∫f
        ColY0,
        ColCount
    };
    QTableWidget* Table;
    QPushButton *Add, *Delete;

  private:
    void FillRow(int row, const TGraphStyle& style);
    void ShowSwatch(int row);
    // What the table does not show of each row: the colour and whether it is
    // the graph's own, and the keys of a later program.
    std::vector<TGraphStyle> rows_;
};
