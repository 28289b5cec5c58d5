// Milliseconds per full 2D build ("Построить график") next to the
// composition alone (background, axes, grid, border, copy) measured in the
// same run. Ends with one line per case:
//   case=<name> ms=<n> composition_ms=<n> ratio_composition=<r>
#include "BenchSupport.h"
#include "app/TForm1.h"
#include "engine/Engine.h"
#include "plot2d/Compose.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

std::unique_ptr<TForm1> TheForm; // made after, and freed before, the application

TForm1* Form() {
    if (!TheForm) TheForm = std::make_unique<TForm1>();
    return TheForm.get();
}

void ResetForm() {
    TForm1* f = Form();
    f->N2DyxClick();
    f->CheckBox1->setChecked(false);
    f->Button7Click();
    f->ComboBox1->setEditText("");
}

void BM_Composition(benchmark::State& state) {
    ResetForm();
    Form()->Button2Click();
    for (auto _ : state) {
        QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        ComposeBackground(painter, TPictureOptions{});
        ComposeBorder(painter);
        painter.end();
        Form()->PaintBox1->Picture = image;
    }
}

class NullPen : public TCurvePen {
  public:
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
};

void BM_WalkOnly(benchmark::State& state) {
    ResetForm();
    Form()->Button2Click();
    CompileFormula(0, "sin(x)");
    NullPen pen;
    for (auto _ : state)
        WalkCartesian(FormulaTrees[0], ViewX1, ViewX2, CartesianStep(0, true), pen);
}

void BM_DrawOnly(benchmark::State& state) {
    ResetForm();
    Form()->Button2Click();
    CompileFormula(0, "sin(x)");
    QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::blue, 0));
        TPainterPen pen(painter);
        WalkCartesian(FormulaTrees[0], ViewX1, ViewX2, CartesianStep(0, true), pen);
    }
}

void BM_BuildEmpty(benchmark::State& state) {
    ResetForm();
    for (auto _ : state)
        Form()->Button2Click();
}

void BM_BuildSine(benchmark::State& state) {
    ResetForm();
    Form()->ComboBox1->setEditText("sin(x)");
    for (auto _ : state)
        Form()->Button2Click();
}

void BM_BuildPolarDefault(benchmark::State& state) {
    ResetForm();
    Form()->RadioButton2->setChecked(true);
    Form()->ComboBox1->setEditText("1+sin(5*x)");
    for (auto _ : state)
        Form()->Button2Click();
    Form()->RadioButton1->setChecked(true);
}

void BM_BuildList10(benchmark::State& state) {
    ResetForm();
    TForm1* f = Form();
    for (int k = 1; k <= 10; ++k) {
        f->ComboBox1->setEditText(QString("sin(x*%1)*%1/3").arg(k));
        f->Button5Click();
    }
    f->CheckBox1->setChecked(true);
    for (auto _ : state)
        f->Button2Click();
    ResetForm();
}

// One drag of 100 mouse moves with the left button down, each a full build.
void BM_PanDrag100(benchmark::State& state) {
    ResetForm();
    TForm1* f = Form();
    f->ComboBox1->setEditText("sin(x)");
    for (auto _ : state) {
        f->PaintBox1MouseDown(TMouseButton::Left, 200, 200);
        for (int i = 1; i <= 100; ++i)
            f->PaintBox1MouseMove(200 + (i % 2 ? 1 : -1), 200);
        f->PaintBox1MouseUp(TMouseButton::Left);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    InitFloatingPoint();
    benchmark::RegisterBenchmark("composition", BM_Composition);
    benchmark::RegisterBenchmark("walk_only", BM_WalkOnly);
    benchmark::RegisterBenchmark("draw_only", BM_DrawOnly);
    benchmark::RegisterBenchmark("build_empty", BM_BuildEmpty);
    benchmark::RegisterBenchmark("build_sine", BM_BuildSine);
    benchmark::RegisterBenchmark("build_polar_default", BM_BuildPolarDefault);
    benchmark::RegisterBenchmark("build_list10", BM_BuildList10);
    benchmark::RegisterBenchmark("pan_drag_100_moves", BM_PanDrag100);
    auto best = bench::RunBestOf(argc, argv, 5, "0.5");
    auto ms = [&best](const std::string& name) { return best[name] / 1e6; };
    const double composition = ms("composition");
    for (const char* name : {"build_empty", "build_sine", "build_polar_default", "build_list10",
                             "pan_drag_100_moves"}) {
        const double total = ms(name);
        const double perBuild = std::string(name) == "pan_drag_100_moves" ? total / 100 : total;
        std::printf(
            "case=%s ms=%.4f ms_per_build=%.4f composition_ms=%.4f ratio_composition=%.2f\n", name,
            total, perBuild, composition, perBuild / composition);
    }
    std::fflush(stdout);
    TheForm.reset();
    return 0;
}
