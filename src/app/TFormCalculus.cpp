#include "app/TFormCalculus.h"

#include "app/Fields.h"
#include "engine/Engine.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

double CalculusNumber(const QString& text, double kept) {
    try {
        const std::optional<double> v = FieldNumberValue(text.trimmed().toStdString());
        return v && std::isfinite(*v) ? *v : kept;
    } catch (const ConversionError&) {
        return kept;
    }
}

TFormCalculus::TFormCalculus(QWidget* parent, const TGraphCalculus& calculus)
    : QDialog(parent), start_(calculus) {
    setFont(WindowFont());
    setWindowTitle(tr("Производные графика"));
    First = new QCheckBox(tr("f′ — производная (штрих)"), this);
    Second = new QCheckBox(tr("f″ — вторая производная (точки)"), this);
    Antiderivative =
        new QCheckBox(tr("∫f — первообразная через точку (x0, y0) (штрих-пунктир)"), this);
    First->setChecked(calculus.First);
    Second->setChecked(calculus.Second);
    Antiderivative->setChecked(calculus.Antiderivative);
    X0 = new QLineEdit(QString::fromStdString(FormatNumber(calculus.X0)), this);
    Y0 = new QLineEdit(QString::fromStdString(FormatNumber(calculus.Y0)), this);
    auto* point = new QFormLayout;
    point->addRow(QStringLiteral("x0="), X0);
    point->addRow(QStringLiteral("y0="), Y0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(First);
    layout->addWidget(Second);
    layout->addWidget(Antiderivative);
    layout->addLayout(point);
    layout->addWidget(buttons);
}

TGraphCalculus TFormCalculus::Calculus() const {
    TGraphCalculus c;
    c.First = First->isChecked();
    c.Second = Second->isChecked();
    c.Antiderivative = Antiderivative->isChecked();
    c.X0 = CalculusNumber(X0->text(), start_.X0);
    c.Y0 = CalculusNumber(Y0->text(), start_.Y0);
    return c;
}
