#include "app/TFormFind.h"

#include "app/Fields.h"
#include "app/Translation.h"
#include "app/WidgetTable.h"
#include "engine/Engine.h"
#include "model/GraphAnalysis.h"
#include "plot2d/View2D.h"

#include <QEvent>

#include <algorithm>

namespace {

using F = TFormFind;
using Row = TWidgetRow<TFormFind>;

const Row Rows[] = {
    {&F::Label1, nullptr, 8, 12, 66, 13, QT_TRANSLATE_NOOP("TFormFind", "График")},
    {&F::ComboBox1, nullptr, 78, 8, 200, 21},
    {&F::Label2, nullptr, 8, 40, 66, 13, QT_TRANSLATE_NOOP("TFormFind", "Найти")},
    {&F::ComboBox3, nullptr, 78, 36, 120, 21},
    {&F::Label3, nullptr, 8, 68, 66, 13, QT_TRANSLATE_NOOP("TFormFind", "с графиком")},
    {&F::ComboBox2, nullptr, 78, 64, 200, 21},
    {&F::Label4, nullptr, 8, 96, 30, 13, QT_TRANSLATE_NOOP("TFormFind", "от")},
    {&F::Edit1, nullptr, 40, 92, 84, 21},
    {&F::Label5, nullptr, 130, 96, 22, 13, QT_TRANSLATE_NOOP("TFormFind", "до")},
    {&F::Edit2, nullptr, 152, 92, 90, 21},
    {&F::Button1, nullptr, 252, 90, 80, 25, QT_TRANSLATE_NOOP("TFormFind", "Найти"), nullptr, false,
     &F::Button1Click},
    {&F::Label6, nullptr, 8, 124, 324, 60, ""},
};

// A field's number: a plain number, or a formula of x = 0 as every numeric
// field takes it.
double FieldValue(const QLineEdit* field) {
    const std::string text = FieldText(field);
    if (const std::optional<double> v = FieldNumberValue(text)) return *v;
    throw ConversionError(text);
}

} // namespace

TFormFind::TFormFind() {
    setFont(WindowFont());
    SetWindowTitle(this, "TFormFind", QT_TRANSLATE_NOOP("TFormFind", "Найти"));
    setFixedSize(340, 192);
    CreateWidgets<TFormFind>(this, Rows, "TFormFind");
    FillKinds();
    Label6->setWordWrap(true);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TFormFind::FillKinds() {
    const int kind = ComboBox3->currentIndex();
    ComboBox3->clear();
    for (const char* name :
         {QT_TRANSLATE_NOOP("TFormFind", "корень"), QT_TRANSLATE_NOOP("TFormFind", "минимум"),
          QT_TRANSLATE_NOOP("TFormFind", "максимум"), QT_TRANSLATE_NOOP("TFormFind", "пересечение"),
          QT_TRANSLATE_NOOP("TFormFind", "площадь")})
        ComboBox3->addItem(tr(name));
    ComboBox3->setCurrentIndex(std::max(kind, 0));
}

void TFormFind::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFormFind::FormShow() {
    ComboBox1->clear();
    ComboBox2->clear();
    if (Analysis == nullptr) return;
    for (const auto& g : Analysis->Graphs()) {
        const QString name = QStringLiteral("%1: %2").arg(g.Number).arg(g.Formula);
        ComboBox1->addItem(name, g.Number);
        ComboBox2->addItem(name, g.Number);
    }
    if (ComboBox2->count() > 1) ComboBox2->setCurrentIndex(1);
    Edit1->setText(QString::fromStdString(FormatNumber(ShownX(ViewX1))));
    Edit2->setText(QString::fromStdString(FormatNumber(ShownX(ViewX2))));
    Label6->clear();
}

void TFormFind::Button1Click() {
    if (Analysis == nullptr || ComboBox1->count() == 0)
        throw std::runtime_error(
            tr("На рисунке нет графиков y(x): постройте график и откройте «Найти…» снова.")
                .toStdString());
    const double a = FieldValue(Edit1), b = FieldValue(Edit2);
    const auto kind = static_cast<TGraphAnalysis::TFindKind>(ComboBox3->currentIndex());
    Label6->setText(Analysis->Find(kind, ComboBox1->currentData().toInt(),
                                   ComboBox2->currentData().toInt(), a, b));
}

void TFormFind::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        RetranslateTree(this);
        FillKinds();
    }
    QDialog::changeEvent(event);
}
