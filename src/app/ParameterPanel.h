// "Параметры": a dock beside the plot area with a row for each parameter
// (its name, a slider, the exact value, its minimum, maximum and step, and
// a button that removes it) and a field with "+" that adds one by name. It
// shows the parameters it is given and tells the main window what the user
// did; it keeps nothing of its own.
#pragma once

#include "document/PlotInput.h"

#include <QCoreApplication>
#include <QDockWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

class TParameterPanel : public QDockWidget {
    Q_DECLARE_TR_FUNCTIONS(TParameterPanel)

  public:
    explicit TParameterPanel(QWidget* parent);

    // The rows of these parameters, with their values; no signal of the
    // panel's own tells of what this sets.
    void Show(const std::vector<TParameter>& parameters);

    std::function<void(const std::string& name)> Add;
    std::function<void(int k)> Remove;
    // A new value: from the slider (`dragging` while its handle is held) or
    // typed into the value's box.
    std::function<void(int k, double value)> ValueChanged;
    std::function<void(int k)> DragStarted, DragEnded;
    std::function<void(int k, double min, double max, double step)> RangeChanged;
    // The way it plays and its speed chosen; its play started or stopped.
    std::function<void(int k, TPlay play, double speed)> PlayChanged;
    std::function<void(int k)> PlayClicked;
    // Shows whether parameter k plays now.
    void ShowPlaying(int k, bool playing);

    struct TRow {
        QLabel* Name;
        QSlider* Slider;
        QDoubleSpinBox *Value, *Min, *Max, *Step;
        QToolButton* Remove;
        QComboBox* Way; // "цикл", "туда и обратно", "один раз"
        QDoubleSpinBox* Speed;
        QToolButton* Play;
    };
    std::vector<TRow> Rows;
    QLineEdit* NewName;
    QToolButton* AddButton;

  protected:
    void changeEvent(QEvent* event) override; // a new language relabels it

  private:
    void Relabel();
    void LabelWays(QComboBox* way);
    void AddRow(int k, const TParameter& p);
    std::vector<TParameter> shown_;
    QGridLayout* grid_;
    QLabel* header_[5] = {};
};
