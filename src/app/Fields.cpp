#include "app/Fields.h"

#include "app/FormulaMarks.h"
#include "app/Translation.h"
#include "engine/Engine.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

std::string FieldText(const QLineEdit* field) {
    return field->text().toStdString();
}

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

void SetCaption(QLabel* label, const QString& caption) {
    ForgetSource(label); // a caption written as it is: the language does not change it
    label->setText(caption);
    if (!label->property("autoSize").toBool()) return;
    const int right = label->geometry().right();
    label->resize(std::max(label->sizeHint().width(), 1), label->height());
    if (label->alignment() & Qt::AlignRight) label->move(right - label->width() + 1, label->y());
}

void SetEditText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

void TipForCutText(QLineEdit* edit) {
    // The text's room: the field less its frame and the line edit's own
    // margin of two pixels each side.
    const int room = edit->contentsRect().width() - 4;
    const bool cut = edit->fontMetrics().horizontalAdvance(edit->text()) > room;
    QString tip = cut ? edit->text() : QString();
    // A formula field tells what in its text is not understood.
    if (const TFormulaMarks* marks = TFormulaMarks::Of(edit)) {
        const QString explanation = marks->Explanation();
        if (!explanation.isEmpty())
            tip = tip.isEmpty() ? explanation : tip + QLatin1Char('\n') + explanation;
    }
    edit->setToolTip(tip);
}

QFont WindowFont() {
    // "MS Sans Serif" of height -11: a sans-serif face of the same metrics at
    // 11 pixels, so that every caption fits the place the window gives it.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}
