// A wavy red underline under each place of a formula field that the
// compiler does not understand, drawn by a transparent layer over the
// field; the field's tooltip says what and where. Nothing here changes the
// text or what is plotted.
#pragma once

#include "engine/Diagnosis.h"

#include <QRect>
#include <QWidget>

#include <vector>

class QLineEdit;

class TFormulaMarks : public QWidget {
  public:
    // `relations`: the field holds a y(x) formula, which may be a relation.
    explicit TFormulaMarks(QLineEdit* edit, bool relations = false);

    // Whether the field holds a formula now (a field of numbers in one mode
    // may hold a formula in another). An inactive field shows no marks.
    void SetActive(bool active);
    bool Active() const { return active_; }

    const std::vector<TDiagnosis>& Diagnoses() const { return found_; }
    // The explanation of every place, one per line; empty when none.
    QString Explanation() const;
    // Where the underlines go, in the field's coordinates, one per place.
    std::vector<QRect> MarkRects() const;

    // The marks of the field's tooltip, if the field has marks.
    static const TFormulaMarks* Of(const QLineEdit* edit);

    // The marks again, for the same text: what a formula reads has changed
    // (a parameter defined or removed).
    void Refresh();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override; // a new language: the tooltip in it
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool relations_ = false;
    // The x of the left edge of the character at byte offset `pos`.
    int XOf(int pos) const;

    QLineEdit* edit_;
    bool active_ = false;
    std::vector<TDiagnosis> found_;
};
