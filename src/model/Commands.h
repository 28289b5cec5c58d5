// The work of the command line, without windows and without its options:
// a plot file's input as the window lays it out, its 3D picture, the points
// and areas of its y(x) graphs, and the diagnosis of a formula, as JSON
// lines. A failure throws std::runtime_error with the window's message; a
// value the command line cannot take throws std::invalid_argument.
#pragma once

#include "analysis/Analysis.h"
#include "document/DocumentFile.h"
#include "document/PlotInput.h"
#include "geometry3d/Implicit.h"
#include "plot2d/Picture.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The input as the window builds it after laying its mode out: each number
// of the mode through the fields' 15-digit text, and made non-negative
// where a build's normalisation makes it so.
TPlotInput AsLaidOut(TPlotInput input);

// The document of a plot file (.mth) or of the program's own (.mthx).
// Throws with the window's message.
TDocumentFile DocumentOfFile(const std::string& file);
// What a y(x) list draws and counts beyond its first ten graphs: nothing
// yet, and this says so ("" when nothing is left out).
std::string UnshownGraphs(const TPlotInput& input);

// The plot input of a file, as the window has it after opening it. Numbers
// the window would replace by their defaults (and say so) are a failure: a
// picture of other numbers than the file's is not what was asked for.
TPlotInput InputOfFile(const std::string& file);

// The 3D picture of the input's mode built into the buffers, as the window's
// build buttons build it, with the colours from `seed` (or the clock). An
// implicit scan beyond `maxSamples` evaluations is refused before it
// starts; one that stops at the bound on points fails unless `partial`
// allows it, and then the text given back says so (empty otherwise).
std::string BuildForExport(const TPlotInput& input, std::optional<std::uint64_t> seed,
                           long double maxSamples, bool partial, TScanProgress& progress);
// The evaluations an implicit scan may take unless told otherwise: about
// ten seconds of work on one core.
constexpr long double DefaultMaxScanSamples = 1e9;

// An export of a plot file's picture, as the command line asks it.
struct TExportJob {
    std::string Out, File;
    QSize Size; // of a PNG; empty: the picture's own
    std::optional<std::uint64_t> Seed;
    long double MaxSamples = DefaultMaxScanSamples;
    bool Partial = false;
    double RelationSeconds = DefaultRelationSeconds; // --time
};
// "WxH", each from 16 to 16384, and a whole number not below zero.
QSize ExportSize(const QString& text);
std::uint64_t ExportSeed(const QString& text);
// Writes the picture of the file, laid out and built as the window builds it
// after opening the file; `frame` draws a 3D PNG. Gives back what the build
// warns of (empty: nothing).
std::string ExportFile(const TExportJob& job, TScanProgress& progress,
                       const std::function<QImage(int w, int h, const TPlotInput&)>& frame);

// Writes a text as it stands, in the locale's encoding, at once.
void Print(std::FILE* to, const QString& text);
// Ends a command as one that was asked wrongly (std::invalid_argument).
[[noreturn]] void UsageError(const QString& message);

// The progress of an implicit scan as one line on stderr, rewritten as it
// grows, when stderr is a terminal; nothing otherwise.
class TTerminalProgress : public TScanProgress {
  public:
    TTerminalProgress();
    bool Plane(double, double, double, double) override { return false; }
    void Line(double done) override;
    void End() override;

  private:
    bool shown_;
    int percent_ = -1;
};

// A number given as text: a plain number, or a formula of x = 0 as the
// window's numeric fields take it; `option` names it in the message.
double NumberOf(const std::string& text, const char* option);

// The graphs the file's y(x) picture draws, compiled, with their formulas;
// the view is the file's.
struct TFileGraphs {
    TPlotInput Input;
    std::vector<TGraph> Graphs;
    std::vector<TYxGraph> Relations; // not searched (yet): the commands say so
};
TFileGraphs GraphsOfFile(const std::string& file);

// What a command prints: on stdout, and on stderr.
struct TCommandOutput {
    std::string Out, Err;
};

// The points of interest of the graphs, one JSON line each: in the file's
// view as the window shows them, or every point on [from, to] when either
// end is given.
TCommandOutput AnalyseGraphs(const TFileGraphs& graphs, std::optional<double> from,
                             std::optional<double> to);
// The area of each graph from a to b, one JSON line each; a graph whose
// area cannot be given is told on stderr, and when none can, it fails.
TCommandOutput IntegrateGraphs(const TFileGraphs& graphs, double a, double b);
// The derivative of a formula with respect to a variable (x, y, z, t, u or
// v), as a line of formula text. A formula the diagnosis marks fails with
// the mark's message, as one with RAND does.
std::string DeriveFormula(const std::string& text, const std::string& variable);
// A JSON line for each place of the formula that the compiler does not
// understand (none: empty).
std::string CheckFormula(const std::string& text);
