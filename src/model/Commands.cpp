#include "model/Commands.h"

#include "engine/Derivative.h"
#include "engine/Relation.h"
#include "model/Parameters.h"

#include "document/AtomicFile.h"
#include "document/DocumentFile.h"
#include "document/Limits.h"
#include "document/ModeTable.h"
#include "document/PlotFile.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Implicit.h"
#include "geometry3d/ModePicture.h"
#include "model/Export.h"
#include "model/FormulaMessages.h"
#include "model/GraphAnalysis.h"
#include "model/ModeLayout.h"
#include "plot2d/Picture.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <unistd.h>

namespace {

// The texts share the command line's context of translation.
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

[[noreturn]] void Refuse(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string Json(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v); // reads back to the same double
    return text;
}

} // namespace

void Print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fflush(to);
}

void UsageError(const QString& message) {
    throw std::invalid_argument(message.toStdString());
}

TPlotInput AsLaidOut(TPlotInput input) {
    for (const TDocValue& v : ValuesOfMode(input.Mode, input.Coordinates)) {
        if (v.IsFormula) continue;
        double& n = input.Document.Numbers[v.Index];
        n = StrToFloat(FormatNumber(n));
        if (IsNonNegative(NumberRole(static_cast<TNumberIndex>(v.Index))) && n < 0) n = -n;
    }
    return input;
}

TDocumentFile DocumentOfFile(const std::string& file) {
    if (IsDocumentFileName(file)) return ReadDocumentFile(file);
    const std::optional<TPlotFileRecord> record = ReadPlotFile(file);
    if (!record)
        Refuse(CommandLine::tr("Файл «%1» пуст: в нём нет графиков.")
                   .arg(QString::fromStdString(file)));
    return DocumentOfRecord(*record);
}

TPlotInput InputOfFile(const std::string& file) {
    bool replaced = false;
    TPlotInput input = InputFromDocument(DocumentOfFile(file), &replaced);
    if (replaced)
        Refuse(CommandLine::tr("Файл «%1»: %2")
                   .arg(QString::fromStdString(file),
                        QString::fromStdString(ReplacedNumbersMessage())));
    input.Parameters = WithSettings(input.Parameters, CommandSettings());
    ApplyParameters(input.Parameters);
    return input;
}

namespace {

// An output that starts with the graphs a list leaves out, on stderr.
TCommandOutput Unshown(const TPlotInput& input) {
    const std::string unshown = UnshownGraphs(input);
    return {{}, unshown.empty() ? unshown : unshown + "\n"};
}

} // namespace

std::string UnshownGraphs(const TPlotInput& input) {
    const auto n = static_cast<int>(input.List.size());
    if (input.Mode != pmYx || !input.AllFormulas || n <= MaxListFormulas) return {};
    return CommandLine::tr("Графиков в списке %1: рисуются и считаются первые %2.")
        .arg(n)
        .arg(MaxListFormulas)
        .toStdString();
}

std::string BuildForExport(const TPlotInput& input, std::optional<std::uint64_t> seed,
                           long double maxSamples, bool partial, TScanProgress& progress) {
    if (seed)
        SeedRandom(*seed);
    else
        SeedRandomFromClock();
    RandomiseColourCoeffs(input.Mode == pmImplicit ? 1.3 : 3);
    if (input.Mode == pmImplicit) {
        const long double samples = ImplicitSampleCount(ImplicitRequest(input));
        if (std::isfinite(samples) &&
            samples > maxSamples) // a step not above zero: the scan refuses it
            Refuse(CommandLine::tr("Поверхность F(x,y,z)=0 не строится: это %1 вычислений "
                                   "формулы, а можно не больше %2. Увеличьте шаги или "
                                   "задайте --max-points.")
                       .arg(static_cast<double>(samples), 0, 'g', 3)
                       .arg(static_cast<double>(maxSamples), 0, 'g', 3));
    }
    const TModeBuild result = BuildModePicture(input.Mode, input, progress);
    std::string warning;
    if (result.AtBound) {
        const QString bound =
            QString::fromStdString(TooManyPointsMessage(static_cast<long double>(MaxVertices)));
        if (!partial)
            Refuse(bound + QStringLiteral(" ") +
                   CommandLine::tr("Файл не записан: найдены не все точки "
                                   "(--allow-partial запишет найденные)."));
        warning =
            (bound + QStringLiteral(" ") + CommandLine::tr("Записаны точки, найденные до этого."))
                .toStdString();
    }
    if (!result.Built) Refuse(CommandLine::tr("В файле нет формул этого режима: рисовать нечего."));
    return warning;
}

double NumberOf(const std::string& text, const char* option) {
    std::optional<double> v;
    try {
        v = FieldNumberValue(text);
    } catch (const ConversionError&) {
        // A malformed number inside the formula: the value is no number either.
    }
    if (!v || !std::isfinite(*v))
        throw std::invalid_argument(
            CommandLine::tr("--%1: «%2» не число и не формула числа.")
                .arg(QString::fromLatin1(option), QString::fromStdString(text))
                .toStdString());
    return *v;
}

namespace {
// One line for each relation of the file: its points are not searched yet.
std::string RelationsNote(const TFileGraphs& g) {
    std::string note;
    for (const TYxGraph& r : g.Relations)
        note += CommandLine::tr("График %1 — отношение «%2»: его точки и площади пока не ищутся.")
                    .arg(r.Number)
                    .arg(QString::fromStdString(r.Formula))
                    .toStdString() +
                "\n";
    return note;
}
} // namespace

TFileGraphs GraphsOfFile(const std::string& file) {
    TFileGraphs g{AsLaidOut(InputOfFile(file)), {}, {}};
    if (g.Input.Mode != pmYx || g.Input.Coordinates != TCoordinates::Cartesian)
        Refuse(CommandLine::tr("Файл «%1» — не график y(x) в декартовых координатах: особые "
                               "точки и площади считаются только для него.")
                   .arg(QString::fromStdString(file)));
    TYxTrees trees;
    CompileYxFormulas(g.Input, trees);
    for (const TYxGraph& graph : YxGraphs(g.Input))
        if (SplitRelation(graph.Formula))
            g.Relations.push_back(graph);
        else if (FormulaTrees[graph.Number] != nullptr) // a formula of nothing draws nothing
            g.Graphs.push_back({FormulaTrees[graph.Number], graph.Number, graph.Formula});
    if (g.Graphs.empty() && g.Relations.empty())
        Refuse(CommandLine::tr("В файле нет формулы y(x): искать нечего."));
    ViewFromInput(g.Input);
    return g;
}

TCommandOutput AnalyseGraphs(const TFileGraphs& g, std::optional<double> from,
                             std::optional<double> to) {
    const double a = from.value_or(ViewX1), b = to.value_or(ViewX2);
    TPointsFound found =
        PointsOfInterest(g.Graphs, std::min(a, b), std::max(a, b), SearchStep(PixelStep(), a, b));
    // In the file's view, what the window shows; on [a, b], every point.
    if (!from && !to) KeepInView(found, ViewY1, ViewY2);
    TCommandOutput out = Unshown(g.Input);
    out.Err += RelationsNote(g);
    for (const TGraphPoint& p : found.Points) {
        const auto graph = std::find_if(g.Graphs.begin(), g.Graphs.end(),
                                        [&](const TGraph& x) { return x.Number == p.Graph; });
        out.Out += "{\"graph\": " + std::to_string(p.Graph) +
                   ", \"formula\": " + Json(graph->Formula) + ", \"kind\": \"" + KindName(p.Kind) +
                   "\", \"x\": " + Json(p.X) + ", \"y\": " + Json(p.Y);
        if (p.With >= 0) out.Out += ", \"with\": " + std::to_string(p.With);
        out.Out += "}\n";
    }
    if (!found.Random.empty()) out.Err += RandomGraphsText(found.Random).toStdString() + "\n";
    if (found.Incomplete)
        out.Err +=
            CommandLine::tr("Найдены не все точки: их больше %1, или отрезок шире, чем позволяют "
                            "выборки в пиксель, или график без конца меняет знак. Показаны не все.")
                .arg(MaxGraphPoints)
                .toStdString() +
            "\n";
    return out;
}

TCommandOutput IntegrateGraphs(const TFileGraphs& g, double a, double b) {
    const double step = SearchStep(PixelStep(), a, b);
    TCommandOutput out = Unshown(g.Input);
    out.Err += RelationsNote(g);
    for (const TGraph& graph : g.Graphs) {
        try {
            const TArea area = Integrate(graph, a, b, step);
            out.Out += "{\"graph\": " + std::to_string(graph.Number) +
                       ", \"area\": " + Json(area.Value) + ", \"error\": " + Json(area.Error) +
                       "}\n";
        } catch (const AreaRefused& e) {
            out.Err += CommandLine::tr("График %1: %2")
                           .arg(graph.Number)
                           .arg(QString::fromUtf8(e.what()))
                           .toStdString() +
                       "\n";
        }
    }
    if (out.Out.empty())
        throw std::runtime_error(out.Err +
                                 CommandLine::tr("Ни одной площади не сосчитать.").toStdString());
    return out;
}

std::string DeriveFormula(const std::string& text, const std::string& variable) {
    static const std::pair<const char*, double TEvalContext::*> variables[] = {
        {"x", &TEvalContext::X}, {"y", &TEvalContext::Y}, {"z", &TEvalContext::Z},
        {"t", &TEvalContext::T}, {"u", &TEvalContext::U}, {"v", &TEvalContext::V},
    };
    const auto* chosen = std::find_if(std::begin(variables), std::end(variables),
                                      [&](const auto& v) { return variable == v.first; });
    if (chosen == std::end(variables))
        UsageError(CommandLine::tr("--var ждёт одну из переменных x, y, z, t, u, v."));
    ApplyParameters(WithSettings({}, CommandSettings()));
    const std::vector<TDiagnosis> marks = Diagnose(text);
    if (!marks.empty()) throw std::runtime_error(DiagnosisMessage(text, marks[0]).toStdString());
    if (text.empty()) throw std::runtime_error(CommandLine::tr("Формула пуста.").toStdString());
    return DerivativeText(text, chosen->second) + "\n";
}

std::string CheckFormula(const std::string& text) {
    ApplyParameters(WithSettings({}, CommandSettings())); // their names are no unknown names
    std::string out;
    for (const TDiagnosis& d : Diagnose(text, true)) {
        const TCharSpan span = d.Chars;
        out += "{\"pos\": " + std::to_string(span.First) +
               ", \"len\": " + std::to_string(span.Last - span.First + 1) +
               ", \"count\": " + std::to_string(d.Count) +
               ", \"kind\": " + Json(std::string(KindName(d.Kind))) +
               ", \"message\": " + Json(DiagnosisMessage(text, d).toStdString()) +
               ", \"hint\": " + Json(d.Hint) + "}\n";
    }
    return out;
}

QSize ExportSize(const QString& text) {
    const QStringList wh = text.split(QLatin1Char('x'));
    bool w = false, h = false;
    QSize size;
    if (wh.size() == 2) size = QSize(wh[0].toInt(&w), wh[1].toInt(&h));
    if (!w || !h || size.width() < 16 || size.height() < 16 || size.width() > 16384 ||
        size.height() > 16384)
        UsageError(
            CommandLine::tr("--size ждёт ширину и высоту, например 800x800 (от 16 до 16384)."));
    return size;
}

std::uint64_t ExportSeed(const QString& text) {
    bool ok = false;
    const std::uint64_t seed = text.toULongLong(&ok);
    if (!ok) UsageError(CommandLine::tr("--seed ждёт целое неотрицательное число."));
    return seed;
}

std::string ExportFile(const TExportJob& job, TScanProgress& progress,
                       const std::function<QImage(int w, int h, const TPlotInput&)>& frame) {
    const QString out = QString::fromStdString(job.Out);
    if (SameFile(job.Out, job.File))
        Refuse(CommandLine::tr("Рисунок не записан: «%1» — это файл графиков, из которого "
                               "он рисуется. Дайте рисунку другое имя.")
                   .arg(out));
    if (IsDocumentFileName(job.Out)) { // a conversion: the whole document, no picture
        WriteDocumentFile(job.Out, DocumentOfFile(job.File));
        return {};
    }
    const std::optional<TExportFormat> format = FormatOfName(out);
    if (!format)
        Refuse(CommandLine::tr(
                   "Формат файла «%1» не известен: расширение — png, svg, pdf, stl, obj, ply или "
                   "mthx (документ).")
                   .arg(out));
    // As the window builds it after opening the file.
    const TPlotInput input = AsLaidOut(InputOfFile(job.File));
    CheckFormatFits(input.Mode, *format);
    std::string warning = UnshownGraphs(input);
    if (input.Mode == pmYx || input.Mode == pmPlane)
        ViewFromInput(input);
    else
        warning = BuildForExport(input, job.Seed, job.MaxSamples, job.Partial, progress);
    ExportPicture(
        job.Out, *format, input, job.Size, [&](int w, int h) { return frame(w, h, input); },
        job.RelationSeconds);
    return warning;
}

TTerminalProgress::TTerminalProgress() : shown_(isatty(fileno(stderr)) != 0) {}

void TTerminalProgress::Line(double done) {
    const int percent = static_cast<int>(done * 100);
    if (!shown_ || percent == percent_) return;
    percent_ = percent;
    Print(stderr, QStringLiteral("\rF(x,y,z)=0: %1 %").arg(percent));
}

void TTerminalProgress::End() {
    if (shown_ && percent_ >= 0) Print(stderr, QStringLiteral("\n"));
}
