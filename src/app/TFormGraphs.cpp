#include "app/TFormGraphs.h"

#include "app/TFormCalculus.h"

#include "app/Dialogs.h"
#include "app/Fields.h"
#include "plot2d/Compose.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The swatch's face: the colour.
QString SwatchStyle(TColorValue c) {
    return QStringLiteral("background-color: %1;").arg(ToQColor(c).name());
}

} // namespace

TFormGraphs::TFormGraphs(QWidget* parent, std::vector<TGraphStyle> rows)
    : QDialog(parent), rows_(std::move(rows)) {
    setFont(WindowFont());
    setWindowTitle(tr("Графики списка"));
    Table = new QTableWidget(0, ColCount, this);
    Table->setHorizontalHeaderLabels({tr("Формула"), tr("Цвет"), tr("Толщина"), tr("Линия"),
                                      tr("Виден"), tr("Имя"), QStringLiteral("f′"),
                                      QStringLiteral("f″"), QStringLiteral("∫f"),
                                      QStringLiteral("x0"), QStringLiteral("y0")});
    Table->horizontalHeader()->setSectionResizeMode(ColFormula, QHeaderView::Stretch);
    Table->horizontalHeader()->setSectionResizeMode(ColName, QHeaderView::Stretch);
    // The switches beside the graph as narrow as their boxes, its point as a short number.
    for (const int column : {ColVisible, ColFirst, ColSecond, ColIntegral})
        Table->setColumnWidth(column, 44);
    for (const int column : {ColX0, ColY0})
        Table->setColumnWidth(column, 64);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    const std::vector<TGraphStyle> shown = rows_;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        Table->insertRow(static_cast<int>(k));
        FillRow(static_cast<int>(k), shown[k]);
    }
    Add = new QPushButton(tr("Добавить"), this);
    Delete = new QPushButton(tr("Удалить"), this);
    connect(Add, &QPushButton::clicked, this, [this] { AddClick(); });
    connect(Delete, &QPushButton::clicked, this, [this] { DeleteClick(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(Add);
    row->addWidget(Delete);
    row->addStretch();
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table);
    layout->addLayout(row);
    resize(820, 360);
}

void TFormGraphs::FillRow(int row, const TGraphStyle& style) {
    Table->setItem(row, ColFormula, new QTableWidgetItem(QString::fromStdString(style.Formula)));
    auto* swatch = new QPushButton(Table);
    swatch->setToolTip(tr("Цвет графика"));
    connect(swatch, &QPushButton::clicked, this, [this, swatch] {
        for (int r = 0; r < Table->rowCount(); ++r)
            if (Table->cellWidget(r, ColColour) == swatch) ColourClick(r);
    });
    Table->setCellWidget(row, ColColour, swatch);
    auto* width = new QSpinBox(Table);
    width->setRange(1, 8);
    width->setValue(std::clamp(style.Width, 1, 8));
    Table->setCellWidget(row, ColWidth, width);
    auto* line = new QComboBox(Table);
    line->addItems({tr("сплошная"), tr("штрих"), tr("точки")});
    line->setCurrentIndex(static_cast<int>(style.Style));
    Table->setCellWidget(row, ColStyle, line);
    auto* visible = new QTableWidgetItem;
    visible->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    visible->setCheckState(style.Visible ? Qt::Checked : Qt::Unchecked);
    Table->setItem(row, ColVisible, visible);
    Table->setItem(row, ColName, new QTableWidgetItem(QString::fromStdString(style.Name)));
    const TGraphCalculus& c = style.Calculus;
    for (const auto& [column, on] :
         {std::pair{ColFirst, c.First}, {ColSecond, c.Second}, {ColIntegral, c.Antiderivative}}) {
        auto* box = new QTableWidgetItem;
        box->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        Table->setItem(row, column, box);
    }
    Table->setItem(row, ColX0, new QTableWidgetItem(QString::fromStdString(FormatNumber(c.X0))));
    Table->setItem(row, ColY0, new QTableWidgetItem(QString::fromStdString(FormatNumber(c.Y0))));
    ShowSwatch(row);
}

void TFormGraphs::ShowSwatch(int row) {
    auto* swatch = static_cast<QPushButton*>(Table->cellWidget(row, ColColour));
    const TGraphStyle& style = rows_[static_cast<std::size_t>(row)];
    swatch->setStyleSheet(SwatchStyle(style.Colour));
    swatch->setAccessibleName(ToQColor(style.Colour).name());
}

void TFormGraphs::AddClick() {
    const int at = Table->currentRow() < 0 ? Table->rowCount() : Table->currentRow() + 1;
    TGraphStyle style;
    // A new graph's colour is that of the place it would take at the end.
    style.Colour = ListGraphColour(GraphColors, static_cast<int>(rows_.size()) + 1);
    rows_.insert(rows_.begin() + at, style);
    Table->insertRow(at);
    FillRow(at, style);
    Table->setCurrentCell(at, ColFormula);
}

void TFormGraphs::DeleteClick() {
    const int at = Table->currentRow();
    if (at < 0) return;
    rows_.erase(rows_.begin() + at);
    Table->removeRow(at);
}

void TFormGraphs::ColourClick(int row) {
    TGraphStyle& style = rows_[static_cast<std::size_t>(row)];
    if (const std::optional<TColorValue> c = Dialogs().PickColour(this, style.Colour)) {
        style.Colour = *c;
        style.ColourGiven = true;
        ShowSwatch(row);
    }
}

std::vector<TGraphStyle> TFormGraphs::Rows() const {
    std::vector<TGraphStyle> rows = rows_;
    for (int r = 0; r < Table->rowCount(); ++r) {
        TGraphStyle& style = rows[static_cast<std::size_t>(r)];
        style.Formula = Table->item(r, ColFormula)->text().toStdString();
        style.Width = static_cast<QSpinBox*>(Table->cellWidget(r, ColWidth))->value();
        style.Style = static_cast<TLineStyle>(
            static_cast<QComboBox*>(Table->cellWidget(r, ColStyle))->currentIndex());
        style.Visible = Table->item(r, ColVisible)->checkState() == Qt::Checked;
        style.Name = Table->item(r, ColName)->text().toStdString();
        TGraphCalculus& c = style.Calculus;
        c.First = Table->item(r, ColFirst)->checkState() == Qt::Checked;
        c.Second = Table->item(r, ColSecond)->checkState() == Qt::Checked;
        c.Antiderivative = Table->item(r, ColIntegral)->checkState() == Qt::Checked;
        c.X0 = CalculusNumber(Table->item(r, ColX0)->text(), c.X0);
        c.Y0 = CalculusNumber(Table->item(r, ColY0)->text(), c.Y0);
    }
    return rows;
}
