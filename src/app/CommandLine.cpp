#include "app/CommandLine.h"

#include "app/Translation.h"
#include "app/Windows.h"
#include "engine/Engine.h"
#include "model/Commands.h"
#include "model/Export.h"
#include "view3d/FrameImage.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#ifndef PLOTTER_VERSION
#define PLOTTER_VERSION "0"
#endif

namespace {

// What the options of one run found, for the function that carries it out.
struct TRun {
    QCommandLineParser& Parser;
};

// The names the settings are kept under, and the version.
void SetApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("grafiki"));
    QCoreApplication::setApplicationName(QStringLiteral("plotter"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLOTTER_VERSION));
}

// One option of the command line, and the function that carries it out when
// the option is given; options without a function are read by another's.
struct TOptionRow {
    QStringList Names;
    const char* Description;
    const char* ValueName; // empty: the option takes no value
    std::function<int(TRun&)> Run;
    bool Pictures = false; // the run draws, so it needs a (headless) display
};

QString OptionValue(const TRun& run, const char* name) {
    return run.Parser.value(QString::fromLatin1(name));
}

// The one plot file a command works on.
QString TheFile(TRun& run, const char* option) {
    const QStringList files = run.Parser.positionalArguments();
    if (files.size() != 1)
        UsageError(
            QCoreApplication::translate("CommandLine", "--%1 работает с одним файлом графиков.")
                .arg(QString::fromLatin1(option)));
    return files.first();
}

// A run without windows: its failures end it with the window's message (1),
// or with the usage (2).
template <typename Work> int Headless(TRun& run, Work work) {
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

// --max-points N: a whole number above zero, or the default.
long double MaxScanSamples(TRun& run) {
    if (!run.Parser.isSet(QStringLiteral("max-points"))) return DefaultMaxScanSamples;
    bool ok = false;
    const double n = OptionValue(run, "max-points").toDouble(&ok);
    if (!ok || !(n >= 1) || !std::isfinite(n))
        UsageError(
            QCoreApplication::translate("CommandLine", "--max-points ждёт число больше нуля."));
    return n;
}

// --export OUT [--size WxH] [--seed N] FILE.mth
int RunExport(TRun& run) {
    return Headless(run, [&] {
        TExportJob job;
        job.Out = OptionValue(run, "export").toStdString();
        job.File = TheFile(run, "export").toStdString();
        if (run.Parser.isSet(QStringLiteral("size")))
            job.Size = ExportSize(OptionValue(run, "size"));
        if (!OptionValue(run, "seed").isEmpty()) job.Seed = ExportSeed(OptionValue(run, "seed"));
        job.MaxSamples = MaxScanSamples(run);
        job.Partial = run.Parser.isSet(QStringLiteral("allow-partial"));
        TTerminalProgress progress;
        const std::string warning =
            ExportFile(job, progress, [](int w, int h, const TPlotInput& input) {
                TSceneOptions scene;
                scene.Mode = input.Mode;
                scene.Axes = input.Axes;
                return RenderFrame(w, h, scene);
            });
        if (!warning.empty()) Print(stderr, QString::fromStdString(warning) + "\n");
    });
}

// A number of an option: a plain number, or a formula of x = 0.
double OptionNumber(const QString& text, const char* option) {
    return NumberOf(text.toStdString(), option);
}

int Printed(const TCommandOutput& output) {
    Print(stdout, QString::fromStdString(output.Out));
    Print(stderr, QString::fromStdString(output.Err));
    return 0;
}

// --analyse FILE.mth [--from A --to B]
int RunAnalyse(TRun& run) {
    return Headless(run, [&] {
        const TFileGraphs g = GraphsOfFile(OptionValue(run, "analyse").toStdString());
        std::optional<double> from, to;
        if (run.Parser.isSet(QStringLiteral("from")))
            from = OptionNumber(OptionValue(run, "from"), "from");
        if (run.Parser.isSet(QStringLiteral("to"))) to = OptionNumber(OptionValue(run, "to"), "to");
        Printed(AnalyseGraphs(g, from, to));
    });
}

// --integrate A B FILE.mth
int RunIntegrate(TRun& run) {
    return Headless(run, [&] {
        const QStringList rest = run.Parser.positionalArguments();
        if (rest.size() != 2)
            UsageError(QCoreApplication::translate(
                "CommandLine", "--integrate ждёт A B FILE.mth: два конца и файл (отрицательный "
                               "конец — после --)."));
        const double a = OptionNumber(OptionValue(run, "integrate"), "integrate");
        const double b = OptionNumber(rest[0], "integrate");
        Printed(IntegrateGraphs(GraphsOfFile(rest[1].toStdString()), a, b));
    });
}

// --check FORMULA: the status says whether the formula has a place the
// compiler does not understand.
int RunCheck(TRun& run) {
    const std::string out = CheckFormula(OptionValue(run, "check").toStdString());
    Print(stdout, QString::fromStdString(out));
    return out.empty() ? 0 : 1;
}

std::vector<TOptionRow> Options() {
    return {
        {{QStringLiteral("h"), QStringLiteral("help")},
         QT_TRANSLATE_NOOP("CommandLine", "Показать эту справку и выйти."),
         "",
         [](TRun& run) {
             Print(stdout, run.Parser.helpText());
             return 0;
         }},
        {{QStringLiteral("v"), QStringLiteral("version")},
         QT_TRANSLATE_NOOP("CommandLine", "Показать версию и выйти."),
         "",
         [](TRun&) {
             Print(stdout, QStringLiteral("plotter %1\n").arg(QStringLiteral(PLOTTER_VERSION)));
             return 0;
         }},
        {{QStringLiteral("export")},
         QT_TRANSLATE_NOOP("CommandLine", "Записать рисунок файла графиков в OUT и выйти, без "
                                          "окон. Формат — по расширению: png, "
                                          "svg, pdf (2D); png, stl, obj, ply (3D)."),
         "OUT",
         RunExport,
         true},
        {{QStringLiteral("size")},
         QT_TRANSLATE_NOOP("CommandLine", "Размер рисунка PNG, ширина x высота (с --export; в 2D "
                                          "квадрат, по умолчанию 400x400)."),
         "WxH",
         nullptr},
        {{QStringLiteral("seed")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Начало случайных цветов 3D (с --export), чтобы рисунки повторялись."),
         "N",
         nullptr},
        {{QStringLiteral("max-points")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Предел вычислений формулы для поверхности F(x,y,z)=0 (с --export): "
                           "сколько раз формула считается во всех плоскостях по обеим "
                           "сеткам линий. По умолчанию 1e9, около десяти секунд работы; за "
                           "пределом построение не начинается."),
         "N",
         nullptr},
        {{QStringLiteral("allow-partial")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Записать поверхность F(x,y,z)=0, даже если точек больше, чем можно "
                           "хранить (с --export): записываются найденные до предела, и об этом "
                           "говорится. Без этого ключа такой файл не записывается."),
         "",
         nullptr},
        {{QStringLiteral("analyse")},
         QT_TRANSLATE_NOOP(
             "CommandLine",
             "Напечатать особые точки графиков y(x) файла (корни, экстремумы, пересечения, "
             "пересечения с осью y) строками JSON и выйти. \"graph\" — номер графика, как в "
             "окне: 0 — формула в поле, 1–10 — номер в списке."),
         "FILE.mth",
         RunAnalyse,
         true},
        {{QStringLiteral("from")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Начало отрезка для --analyse (по умолчанию — вид файла)."),
         "A",
         nullptr},
        {{QStringLiteral("to")},
         QT_TRANSLATE_NOOP("CommandLine", "Конец отрезка для --analyse."),
         "B",
         nullptr},
        {{QStringLiteral("check")},
         QT_TRANSLATE_NOOP(
             "CommandLine",
             "Проверить формулу: напечатать строками JSON места, которых не понимает компилятор "
             "({\"pos\", \"len\", \"count\", \"kind\", \"message\", \"hint\"}; pos — номер символа "
             "с 1, count — сколько одинаковых мест подряд), и "
             "выйти с 0, если таких мест нет, и с 1, если есть."),
         "FORMULA",
         RunCheck},
        {{QStringLiteral("integrate")},
         QT_TRANSLATE_NOOP(
             "CommandLine",
             "Напечатать площадь каждого графика y(x) от A до B: --integrate A B FILE.mth "
             "(\"graph\" — номер графика, как у --analyse)."),
         "A",
         RunIntegrate,
         true},
    };
}

// The parser of the table's options, their descriptions in the language of
// the texts installed now.
void AddOptions(QCommandLineParser& parser, const std::vector<TOptionRow>& rows,
                std::vector<QCommandLineOption>& options) {
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Графики функций: графики на плоскости и в пространстве по формулам."));
    for (const TOptionRow& row : rows) {
        QCommandLineOption option(row.Names,
                                  QCoreApplication::translate("CommandLine", row.Description));
        if (*row.ValueName != 0) option.setValueName(QString::fromUtf8(row.ValueName));
        parser.addOption(option);
        options.push_back(option);
    }
    parser.addPositionalArgument(
        QStringLiteral("FILE.mth"),
        QCoreApplication::translate("CommandLine", "Файл графиков, который открыть."),
        QStringLiteral("[FILE.mth]"));
}

// What a command line asks for: the row of its command (or none, for the
// windows), and whether it is a usage error.
struct TRequest {
    int Row = -1;
    bool Usage = true;
    QString Conflict; // two commands that exclude each other, named
};

TRequest Request(QCommandLineParser& parser, const std::vector<TOptionRow>& rows,
                 const std::vector<QCommandLineOption>& options, const QStringList& arguments) {
    if (!parser.parse(arguments)) return {};
    TRequest request{-1, parser.positionalArguments().size() > 1, {}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].Run || !parser.isSet(options[i])) continue;
        if (request.Row >= 0) // one command a run
            return {-1, true,
                    QCoreApplication::translate("CommandLine",
                                                "Ключи --%1 и --%2 не даются вместе: за один "
                                                "запуск выполняется одна команда.")
                        .arg(options[static_cast<std::size_t>(request.Row)].names().last(),
                             options[i].names().last())};
        request = {static_cast<int>(i), false, {}};
    }
    return request;
}

} // namespace

int RunProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::vector<TOptionRow> rows = Options();
    // Read once before any application exists, to know which one the run needs.
    QCommandLineParser first;
    std::vector<QCommandLineOption> firstOptions;
    AddOptions(first, rows, firstOptions);
    const TRequest request = Request(first, rows, firstOptions, arguments);
    SetApplicationNames();
    if (request.Row < 0 && !request.Usage)
        return RunWindows(argc, argv, first.positionalArguments());

    // A command, or the usage: no windows, and no display needed where the
    // run draws (the offscreen platform when there is no X display).
    const bool pictures = request.Row >= 0 && rows[request.Row].Pictures;
    if (pictures && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    InitFloatingPoint();
    std::unique_ptr<QCoreApplication> app;
    if (pictures)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    InitFloatingPoint();
    InstallLanguage(SavedLanguage());
    // Read again, now that the texts of the usage speak the windows' language.
    QCommandLineParser parser;
    std::vector<QCommandLineOption> options;
    AddOptions(parser, rows, options);
    Request(parser, rows, options, arguments);
    TRun run{parser};
    if (request.Row >= 0) return rows[request.Row].Run(run);
    // The usage names the program by the name it was started with.
    const QString error =
        !request.Conflict.isEmpty() ? request.Conflict
        : parser.errorText().isEmpty()
            ? QCoreApplication::translate("CommandLine", "Можно открыть только один файл.")
            : parser.errorText();
    Print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
    return 2;
}
