#include "app/CommandLine.h"

#include "analysis/Analysis.h"
#include "app/ErrorReport.h"
#include "app/Export.h"
#include "app/FormulaMessages.h"
#include "app/Windows.h"
#include "document/PlotFile.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"
#include "plot2d/Picture.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QIcon>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

#ifndef PLOTTER_VERSION
#define PLOTTER_VERSION "0"
#endif

namespace {

// What the options of one run found, for the function that carries it out.
struct TRun {
    QCommandLineParser& Parser;
    int argc;
    char** argv;
};

void Print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fflush(to);
}

// The windows, with the plot file the command line names opened as F3
// opens it: a file that does not open gives F3's message, and the start
// stays.
int RunWindows(TRun& run) {
    InitFloatingPoint();
    QApplication app(run.argc, run.argv);
    InitFloatingPoint(); // the platform's start-up may have touched the control word
    QCoreApplication::setOrganizationName(QStringLiteral("grafiki"));
    QCoreApplication::setApplicationName(QStringLiteral("plotter"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLOTTER_VERSION));
    // The installed desktop entry and icon; from the build tree, the icon
    // built into the program.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.grafiki.Plotter"));
    QIcon own;
    for (const int size : {16, 32, 48, 64, 128, 256})
        own.addFile(QStringLiteral(":/icons/%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.grafiki.Plotter"), own));
    InstallQtTranslations();
    TApplicationWindows windows;
    windows.Form1->show();
    const QStringList files = run.Parser.positionalArguments();
    if (!files.isEmpty())
        RunCommand([&] { windows.Form1->OpenPlotFile(files.first().toStdString()); });
    return QApplication::exec();
}

// One option of the command line, and the function that carries it out when
// the option is given; options without a function are read by another's.
struct TOptionRow {
    QStringList Names;
    const char* Description;
    const char* ValueName; // empty: the option takes no value
    std::function<int(TRun&)> Run;
};

[[noreturn]] void Refuse(const std::string& message) {
    throw std::runtime_error(message);
}

QString OptionValue(const TRun& run, const char* name) {
    return run.Parser.value(QString::fromLatin1(name));
}

// The one plot file a command works on.
QString TheFile(TRun& run, const char* option) {
    const QStringList files = run.Parser.positionalArguments();
    if (files.size() != 1)
        throw std::invalid_argument(std::string("--") + option +
                                    " работает с одним файлом графиков.");
    return files.first();
}

// The plot input of a file, as the window would have it after opening it.
TPlotInput InputOfFile(const QString& file) {
    const std::optional<TPlotFileRecord> record = ReadPlotFile(file.toStdString());
    if (!record) Refuse("Файл «" + file.toStdString() + "» пуст: в нём нет графиков.");
    return InputFromRecord(*record);
}

// Builds the 3D picture of the input into its buffer, as the window's build
// buttons do, the colours from `seed` (or the clock).
void Build3D(const TPlotInput& input, const QString& seed) {
    if (seed.isEmpty())
        SeedRandomFromClock();
    else
        SeedRandom(seed.toULongLong());
    RandomiseColourCoeffs(input.Mode == pmImplicit ? 1.3 : 3);
    bool built = false;
    switch (input.Mode) {
    case pmSurface: {
        const TSurfaceRequest r = SurfaceRequest(input.Document);
        built = BuildSurfaceZxy(r.Formula, r.Ranges);
        break;
    }
    case pmCurve: {
        const TCurveRequest r = CurveRequest(input.Document);
        built = BuildCurve3D(r.X, r.Y, r.Z, r.TMin, r.TMax, r.TStep);
        break;
    }
    case pmPatch: {
        const TPatchRequest r = PatchRequest(input.Document);
        built = BuildParametricSurface(r.X, r.Y, r.Z, r.Ranges);
        break;
    }
    case pmImplicit: {
        struct : TScanProgress {
            bool Plane(double, double, double, double) override { return false; }
        } quiet;
        built = BuildLevelPoints(ImplicitRequest(input), quiet).Built;
        break;
    }
    }
    if (!built) Refuse("В файле нет формул этого режима: рисовать нечего.");
}

// A headless run: no display needed where none is used (the offscreen
// platform when there is no X display).
template <typename Work> int Headless(TRun& run, Work work) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    InitFloatingPoint();
    QGuiApplication app(run.argc, run.argv);
    InitFloatingPoint();
    try {
        work();
        return 0;
    } catch (const std::invalid_argument& e) {
        Print(stderr, QString::fromUtf8(e.what()) + QStringLiteral("\n\n") + run.Parser.helpText());
        return 2;
    } catch (const std::exception& e) {
        Print(stderr, QString::fromUtf8(e.what()) + QStringLiteral("\n"));
        return 1;
    }
}

// --export OUT [--size WxH] [--seed N] FILE.mth
int RunExport(TRun& run) {
    return Headless(run, [&] {
        const QString out = OptionValue(run, "export");
        const QString file = TheFile(run, "export");
        QSize size;
        if (run.Parser.isSet(QStringLiteral("size"))) {
            const QStringList wh = OptionValue(run, "size").split(QLatin1Char('x'));
            bool w = false, h = false;
            if (wh.size() == 2) size = QSize(wh[0].toInt(&w), wh[1].toInt(&h));
            if (!w || !h || size.width() < 16 || size.height() < 16 || size.width() > 16384 ||
                size.height() > 16384)
                throw std::invalid_argument("--size ждёт ширину и высоту, например 800x800 "
                                            "(от 16 до 16384).");
        }
        const QString seed = OptionValue(run, "seed");
        bool seedOk = true;
        if (!seed.isEmpty()) seed.toULongLong(&seedOk);
        if (!seedOk) throw std::invalid_argument("--seed ждёт целое неотрицательное число.");
        const std::optional<TExportFormat> format = FormatOfName(out);
        if (!format)
            Refuse("Формат файла «" + out.toStdString() +
                   "» не известен: расширение — png, svg, pdf, stl, obj или ply.");
        // As the window builds it after opening the file.
        const TPlotInput input = AsLaidOut(InputOfFile(file));
        CheckFormatFits(input.Mode, *format);
        TSceneOptions scene;
        scene.Mode = input.Mode;
        scene.Axes = input.Axes;
        if (input.Mode == pmYx || input.Mode == pmPlane)
            ViewFromInput(input);
        else
            Build3D(input, seed);
        ExportPicture(out.toStdString(), *format, input, size, scene);
    });
}

// A number given on the command line: a plain number, or a formula of x = 0
// as the window's numeric fields take it.
double NumberOf(const QString& text, const char* option) {
    const std::string s = text.toStdString();
    try {
        return StrToFloat(s);
    } catch (const ConversionError&) {
        bool error = false;
        const double v = EvalFormulaText(UpperCaseFormula(s), error, 0);
        if (error || !std::isfinite(v))
            throw std::invalid_argument(std::string("--") + option + ": «" + s +
                                        "» не число и не формула числа.");
        return v;
    }
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

// The graphs the file's y(x) picture draws, compiled, with their formulas.
struct TFileGraphs {
    TPlotInput Input;
    std::vector<TGraph> Graphs;
    std::vector<std::string> Formulas;
};

TFileGraphs GraphsOfFile(const QString& file) {
    TFileGraphs g{AsLaidOut(InputOfFile(file)), {}, {}};
    if (g.Input.Mode != pmYx || g.Input.Coordinates != TCoordinates::Cartesian)
        Refuse("Файл «" + file.toStdString() +
               "» — не график y(x) в декартовых координатах: особые точки и площади считаются "
               "только для него.");
    TYxTrees trees;
    CompileYxFormulas(g.Input, trees);
    const int n = g.Input.AllFormulas ? std::min<int>(g.Input.List.size(), 10) : 0;
    for (int s = g.Input.AllFormulas ? 1 : 0; s <= n; ++s) {
        const std::string& formula = s == 0 ? g.Input.Formula : g.Input.List[s - 1];
        if (FormulaTrees[s] == nullptr) continue; // an empty formula draws nothing
        g.Graphs.push_back({FormulaTrees[s], s});
        g.Formulas.push_back(formula);
    }
    if (g.Graphs.empty()) Refuse("В файле нет формулы y(x): искать нечего.");
    ViewFromInput(g.Input);
    return g;
}

// --analyse FILE.mth [--from A --to B]
int RunAnalyse(TRun& run) {
    return Headless(run, [&] {
        const TFileGraphs g = GraphsOfFile(OptionValue(run, "analyse"));
        const bool given =
            run.Parser.isSet(QStringLiteral("from")) || run.Parser.isSet(QStringLiteral("to"));
        const double a = run.Parser.isSet(QStringLiteral("from"))
                             ? NumberOf(OptionValue(run, "from"), "from")
                             : ViewX1;
        const double b = run.Parser.isSet(QStringLiteral("to"))
                             ? NumberOf(OptionValue(run, "to"), "to")
                             : ViewX2;
        const double step = std::min(PixelStep(), std::fabs(b - a) / 400);
        const TPointsFound found = PointsOfInterest(g.Graphs, std::min(a, b), std::max(a, b), step);
        std::string out;
        for (const TGraphPoint& p : found.Points) {
            // In the file's view, what the window shows; on [A, B], every point.
            if (!given && !(p.Y >= std::min(ViewY1, ViewY2) && p.Y <= std::max(ViewY1, ViewY2)))
                continue;
            const auto formula = std::find_if(g.Graphs.begin(), g.Graphs.end(),
                                              [&](const TGraph& x) { return x.Number == p.Graph; });
            out += "{\"graph\": " + std::to_string(p.Graph) +
                   ", \"formula\": " + Json(g.Formulas[formula - g.Graphs.begin()]) +
                   ", \"kind\": \"" + KindName(p.Kind) + "\", \"x\": " + Json(p.X) +
                   ", \"y\": " + Json(p.Y);
            if (p.With >= 0) out += ", \"with\": " + std::to_string(p.With);
            out += "}\n";
        }
        Print(stdout, QString::fromStdString(out));
        if (found.Incomplete)
            Print(stderr,
                  QString::fromUtf8("Точек больше %1: показаны не все.\n").arg(MaxGraphPoints));
    });
}

// --integrate A B FILE.mth
int RunIntegrate(TRun& run) {
    return Headless(run, [&] {
        const QStringList rest = run.Parser.positionalArguments();
        if (rest.size() != 2)
            throw std::invalid_argument("--integrate ждёт A B FILE.mth: два конца и файл "
                                        "(отрицательный конец — после --).");
        const double a = NumberOf(OptionValue(run, "integrate"), "integrate");
        const double b = NumberOf(rest[0], "integrate");
        const TFileGraphs g = GraphsOfFile(rest[1]);
        const double step = std::min(PixelStep(), std::fabs(b - a) / 400);
        std::string out, refused;
        for (const TGraph& graph : g.Graphs) {
            try {
                const TArea area = Integrate(graph, a, b, step);
                out += "{\"graph\": " + std::to_string(graph.Number) +
                       ", \"area\": " + Json(area.Value) + ", \"error\": " + Json(area.Error) +
                       "}\n";
            } catch (const AreaRefused& e) {
                refused += "График " + std::to_string(graph.Number) + ": " + e.what() + "\n";
            }
        }
        Print(stdout, QString::fromStdString(out));
        Print(stderr, QString::fromStdString(refused));
        if (out.empty()) Refuse("Ни одной площади не сосчитать.");
    });
}

// --check FORMULA: a JSON line for each place of the formula that the
// compiler does not understand; the status says whether there was one.
int RunCheck(TRun& run) {
    const std::string text = run.Parser.value(QStringLiteral("check")).toStdString();
    const std::vector<TDiagnosis> found = Diagnose(text);
    std::string out;
    for (const TDiagnosis& d : found) {
        const TCharSpan span = CharacterSpan(text, d.Pos, d.Len);
        out += "{\"pos\": " + std::to_string(span.First) +
               ", \"len\": " + std::to_string(span.Last - span.First + 1) +
               ", \"kind\": " + Json(std::string(KindName(d.Kind))) +
               ", \"message\": " + Json(DiagnosisMessage(text, d).toStdString()) +
               ", \"hint\": " + Json(d.Hint) + "}\n";
    }
    Print(stdout, QString::fromStdString(out));
    return found.empty() ? 0 : 1;
}

std::vector<TOptionRow> Options() {
    return {
        {{QStringLiteral("h"), QStringLiteral("help")},
         "Показать эту справку и выйти.",
         "",
         [](TRun& run) {
             Print(stdout, run.Parser.helpText());
             return 0;
         }},
        {{QStringLiteral("v"), QStringLiteral("version")},
         "Показать версию и выйти.",
         "",
         [](TRun&) {
             Print(stdout, QStringLiteral("plotter %1\n").arg(QStringLiteral(PLOTTER_VERSION)));
             return 0;
         }},
        {{QStringLiteral("export")},
         "Записать рисунок файла графиков в OUT и выйти, без окон. Формат — по расширению: png, "
         "svg, pdf (2D); png, stl, obj, ply (3D).",
         "OUT",
         RunExport},
        {{QStringLiteral("size")},
         "Размер рисунка PNG, ширина x высота (с --export; в 2D квадрат, по умолчанию 400x400).",
         "WxH",
         nullptr},
        {{QStringLiteral("seed")},
         "Начало случайных цветов 3D (с --export), чтобы рисунки повторялись.",
         "N",
         nullptr},
        {{QStringLiteral("analyse")},
         "Напечатать особые точки графиков y(x) файла (корни, экстремумы, пересечения, "
         "пересечения с осью y) строками JSON и выйти.",
         "FILE.mth",
         RunAnalyse},
        {{QStringLiteral("from")},
         "Начало отрезка для --analyse (по умолчанию — вид файла).",
         "A",
         nullptr},
        {{QStringLiteral("to")}, "Конец отрезка для --analyse.", "B", nullptr},
        {{QStringLiteral("check")},
         "Проверить формулу: напечатать строками JSON места, которых не понимает компилятор "
         "({\"pos\", \"len\", \"kind\", \"message\", \"hint\"}; pos — номер символа с 1), и "
         "выйти с 0, если таких мест нет, и с 1, если есть.",
         "FORMULA",
         RunCheck},
        {{QStringLiteral("integrate")},
         "Напечатать площадь каждого графика y(x) от A до B: --integrate A B FILE.mth.",
         "A",
         RunIntegrate},
    };
}

} // namespace

int RunProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString::fromUtf8("Графики функций: графики на плоскости и в пространстве по формулам."));
    const std::vector<TOptionRow> rows = Options();
    std::vector<QCommandLineOption> options;
    for (const TOptionRow& row : rows) {
        QCommandLineOption option(row.Names, QString::fromUtf8(row.Description));
        if (*row.ValueName != 0) option.setValueName(QString::fromUtf8(row.ValueName));
        parser.addOption(option);
        options.push_back(option);
    }
    parser.addPositionalArgument(QStringLiteral("FILE.mth"),
                                 QString::fromUtf8("Файл графиков, который открыть."),
                                 QStringLiteral("[FILE.mth]"));
    TRun run{parser, argc, argv};
    // The usage names the program by the name it was started with.
    const auto usageError = [&](const QString& error) {
        Print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
        return 2;
    };
    {
        QCoreApplication core(argc, argv); // for the texts of the usage
        if (!parser.parse(arguments)) return usageError(parser.errorText());
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].Run && parser.isSet(options[i])) return rows[i].Run(run);
        if (parser.positionalArguments().size() > 1)
            return usageError(QString::fromUtf8("Можно открыть только один файл."));
    }
    return RunWindows(run);
}
