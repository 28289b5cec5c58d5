#include "app/ParameterPanel.h"

#include "app/Fields.h"
#include "model/Parameters.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QDoubleSpinBox* NumberBox(QWidget* parent, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(6);
    box->setRange(-1e15, 1e15);
    box->setValue(value);
    box->setKeyboardTracking(false); // a typed number counts when it is finished
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setMaximumWidth(72);
    return box;
}

} // namespace

TParameterPanel::TParameterPanel(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("Parameters"));
    setFont(WindowFont());
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    grid_ = new QGridLayout;
    for (int c = 0; c < 5; ++c)
        grid_->addWidget(header_[c] = new QLabel(body), 0, c == 0 ? 0 : c + 1);
    column->addLayout(grid_);
    auto* adding = new QHBoxLayout;
    NewName = new QLineEdit(body);
    AddButton = new QToolButton(body);
    AddButton->setText(QStringLiteral("+"));
    adding->addWidget(NewName);
    adding->addWidget(AddButton);
    column->addLayout(adding);
    column->addStretch();
    setWidget(body);
    const auto add = [this] {
        const std::string name = NewName->text().trimmed().toStdString();
        if (name.empty() || !Add) return;
        Add(name);
    };
    connect(AddButton, &QToolButton::clicked, this, add);
    connect(NewName, &QLineEdit::returnPressed, this, add);
    Relabel();
}

void TParameterPanel::Relabel() {
    setWindowTitle(tr("Параметры"));
    const char* const heads[] = {QT_TR_NOOP("Имя"), QT_TR_NOOP("Значение"), QT_TR_NOOP("от"),
                                 QT_TR_NOOP("до"), QT_TR_NOOP("шаг")};
    for (int c = 0; c < 5; ++c)
        header_[c]->setText(tr(heads[c]));
    NewName->setPlaceholderText(tr("имя нового параметра"));
    AddButton->setToolTip(tr("Добавить параметр"));
    for (const TRow& r : Rows) {
        r.Remove->setToolTip(tr("Удалить параметр"));
        LabelWays(r.Way);
        r.Speed->setToolTip(tr("Шагов в секунду"));
        r.Play->setToolTip(tr("Играть: от «от» до «до»"));
    }
}

void TParameterPanel::LabelWays(QComboBox* way) {
    const QSignalBlocker quiet(way);
    const int chosen = std::max(way->currentIndex(), 0);
    way->clear();
    way->addItems({tr("цикл"), tr("туда и обратно"), tr("один раз")});
    way->setCurrentIndex(chosen);
}

void TParameterPanel::ShowPlaying(int k, bool playing) {
    if (k < 0 || k >= std::ssize(Rows)) return;
    const TRow& r = Rows[static_cast<std::size_t>(k)];
    r.Play->setText(playing ? QStringLiteral("■") : QStringLiteral("▶"));
}

void TParameterPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Relabel();
    QDockWidget::changeEvent(event);
}

void TParameterPanel::AddRow(int k, const TParameter& p) {
    QWidget* body = widget();
    TRow r;
    r.Name = new QLabel(QString::fromStdString(p.Name), body);
    r.Slider = new QSlider(Qt::Horizontal, body);
    r.Slider->setMinimumWidth(120);
    r.Value = NumberBox(body, p.Value);
    r.Min = NumberBox(body, p.Min);
    r.Max = NumberBox(body, p.Max);
    r.Step = NumberBox(body, p.Step);
    r.Remove = new QToolButton(body);
    r.Remove->setText(QStringLiteral("×"));
    r.Way = new QComboBox(body);
    r.Speed = NumberBox(body, p.Speed);
    r.Speed->setRange(0.01, 1000);
    r.Speed->setDecimals(2);
    r.Play = new QToolButton(body);
    r.Play->setText(QStringLiteral("▶"));
    const int row = 2 * k + 1;
    grid_->addWidget(r.Name, row, 0);
    grid_->addWidget(r.Value, row, 2);
    grid_->addWidget(r.Min, row, 3);
    grid_->addWidget(r.Max, row, 4);
    grid_->addWidget(r.Step, row, 5);
    grid_->addWidget(r.Remove, row, 6);
    grid_->addWidget(r.Slider, row + 1, 0, 1, 4);
    grid_->addWidget(r.Way, row + 1, 4);
    grid_->addWidget(r.Speed, row + 1, 5);
    grid_->addWidget(r.Play, row + 1, 6);
    connect(r.Slider, &QSlider::valueChanged, this, [this, k](int position) {
        if (ValueChanged)
            ValueChanged(k, SliderValue(shown_[static_cast<std::size_t>(k)], position));
    });
    connect(r.Slider, &QSlider::sliderPressed, this, [this, k] {
        if (DragStarted) DragStarted(k);
    });
    connect(r.Slider, &QSlider::sliderReleased, this, [this, k] {
        if (DragEnded) DragEnded(k);
    });
    connect(r.Value, &QDoubleSpinBox::valueChanged, this, [this, k](double v) {
        if (ValueChanged) ValueChanged(k, v);
    });
    const auto range = [this, k] {
        const TRow& row = Rows[static_cast<std::size_t>(k)];
        if (RangeChanged) RangeChanged(k, row.Min->value(), row.Max->value(), row.Step->value());
    };
    for (QDoubleSpinBox* box : {r.Min, r.Max, r.Step})
        connect(box, &QDoubleSpinBox::valueChanged, this, range);
    connect(r.Remove, &QToolButton::clicked, this, [this, k] {
        if (Remove) Remove(k);
    });
    const auto play = [this, k] {
        const TRow& row = Rows[static_cast<std::size_t>(k)];
        if (PlayChanged)
            PlayChanged(k, static_cast<TPlay>(row.Way->currentIndex() + 1), row.Speed->value());
    };
    connect(r.Way, &QComboBox::currentIndexChanged, this, play);
    connect(r.Speed, &QDoubleSpinBox::valueChanged, this, play);
    connect(r.Play, &QToolButton::clicked, this, [this, k] {
        if (PlayClicked) PlayClicked(k);
    });
    Rows.push_back(r);
    Relabel();
}

void TParameterPanel::Show(const std::vector<TParameter>& parameters) {
    const auto sameRows = [&] {
        if (parameters.size() != shown_.size()) return false;
        for (std::size_t k = 0; k < parameters.size(); ++k)
            if (parameters[k].Name != shown_[k].Name) return false;
        return true;
    };
    if (!sameRows()) {
        for (const TRow& r : Rows)
            for (QWidget* w :
                 std::initializer_list<QWidget*>{r.Name, r.Slider, r.Value, r.Min, r.Max, r.Step,
                                                 r.Remove, r.Way, r.Speed, r.Play}) {
                w->hide(); // its own signal may be running: deleted when it has returned
                grid_->removeWidget(w);
                w->deleteLater();
            }
        Rows.clear();
        shown_ = parameters;
        for (std::size_t k = 0; k < parameters.size(); ++k)
            AddRow(static_cast<int>(k), parameters[k]);
    }
    shown_ = parameters;
    for (std::size_t k = 0; k < parameters.size(); ++k) {
        const TParameter& p = parameters[k];
        const TRow& r = Rows[k];
        const QSignalBlocker a(r.Slider), b(r.Value), c(r.Min), d(r.Max), e(r.Step), f(r.Way),
            g(r.Speed);
        r.Way->setCurrentIndex(p.Play == TPlay::None ? 0 : static_cast<int>(p.Play) - 1);
        r.Speed->setValue(p.Speed);
        r.Slider->setRange(0, SliderPositions(p));
        r.Slider->setValue(SliderPosition(p, p.Value));
        r.Value->setValue(p.Value);
        r.Min->setValue(p.Min);
        r.Max->setValue(p.Max);
        r.Step->setValue(p.Step);
    }
}
