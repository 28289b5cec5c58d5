// The menu "Анализ" of the main window: the trace, the points of interest
// and "Найти…", on the graphs of the picture shown (the work is
// GraphAnalysis's and the analysis library's).
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/TFormFind.h"
#include "model/GraphAnalysis.h"
#include "plot2d/View2D.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QTimer>

#include <algorithm>

void TForm1::NormalClick() {
    NNormal->setChecked(!NNormal->isChecked());
    Analysis->SetNormal(NNormal->isChecked());
}

void TForm1::TraceClick() {
    NTrace->setChecked(!NTrace->isChecked());
    Analysis->SetTracing(NTrace->isChecked());
    if (NTrace->isChecked()) {
        // The keys go to the area while the trace runs.
        PaintBox1->setFocusPolicy(Qt::StrongFocus);
        PaintBox1->setFocus();
        const QPoint mouse = PaintBox1->mapFromGlobal(QCursor::pos());
        Analysis->TraceAt(std::clamp(mouse.x(), 0, PlotWidth - 1), PlotHeight / 2);
    } else {
        PaintBox1->setFocusPolicy(Qt::NoFocus);
    }
}

void TForm1::PointsClick() {
    NPoints->setChecked(!NPoints->isChecked());
    Analysis->SetShowPoints(NPoints->isChecked());
    ReportSkippedGraphs();
}

void TForm1::ReportSkippedGraphs() {
    if (!Analysis->Points().Random.empty())
        ShowStatus([numbers = Analysis->Points().Random] { return RandomGraphsText(numbers); });
}

void TForm1::FindClick() {
    if (FormFind == nullptr) return;
    FormFind->show(); // not modal: what it finds is marked on the graph beside it
    FormFind->raise();
}

// Called with every picture shown in the plot area.
void TForm1::AnalysePicture(const TPlotInput& input, const TPlotRequest& request) {
    // The points follow the view once it rests: a pan is never held up.
    if (Analysis->ShownInput(input, request) && Analysis->ShowingPoints()) PointsTimer->start();
}

void TForm1::ShowPointInfo(const std::optional<TGraphAnalysis::TInfo>& info) {
    if (!info) {
        PointInfo->hide();
        return;
    }
    PointInfo->setText(info->Text);
    PointInfo->adjustSize();
    // Beside the click, within the area.
    const int left =
        std::clamp(info->X + 8, 0, std::max(0, PaintBox1->width() - PointInfo->width()));
    const int top =
        std::clamp(info->Y + 8, 0, std::max(0, PaintBox1->height() - PointInfo->height()));
    PointInfo->move(left, top);
    PointInfo->show();
    PointInfo->raise();
}
