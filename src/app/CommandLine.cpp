#include "app/CommandLine.h"

#include "app/Windows.h"
#include "engine/Engine.h"
#include "model/CommandTable.h"
#include "model/Commands.h"
#include "model/Export.h"
#include "model/Parameters.h"
#include "view3d/FrameImage.h"

#include <QCommandLineParser>

#include <vector>

#ifndef PLOTTER_VERSION
#define PLOTTER_VERSION "0"
#endif

namespace {

// The names the settings are kept under, and the version.
void SetApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("grafiki"));
    QCoreApplication::setApplicationName(QStringLiteral("plotter"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLOTTER_VERSION));
}

// Every --set NAME=VALUE, for the files and formulas of this run.
void TakeSettings(const QCommandLineParser& line) {
    std::vector<TParameterSetting> settings;
    for (const QString& text : line.values(QStringLiteral("set")))
        settings.push_back(ParameterSettingOf(text));
    SetCommandSettings(settings);
}

// A number of an option: a plain number, or a formula of x = 0.
double OptionNumber(const QString& text, const char* option) {
    return NumberOf(text.toStdString(), option);
}

// --export OUT [--size WxH] [--seed N] [--set NAME=VALUE]... FILE.mth
int RunExport(const QCommandLineParser& line) {
    return Headless(line, [&] {
        TakeSettings(line);
        TExportJob job;
        job.Out = OptionValue(line, "export").toStdString();
        job.File = TheFile(line, "export").toStdString();
        if (line.isSet(QStringLiteral("size"))) job.Size = ExportSize(OptionValue(line, "size"));
        if (!OptionValue(line, "seed").isEmpty()) job.Seed = ExportSeed(OptionValue(line, "seed"));
        job.MaxSamples = MaxScanSamples(line);
        job.Partial = line.isSet(QStringLiteral("allow-partial"));
        if (line.isSet(QStringLiteral("time"))) {
            job.RelationSeconds = OptionNumber(OptionValue(line, "time"), "time");
            if (!(job.RelationSeconds > 0 && job.RelationSeconds <= 86400))
                UsageError(QCoreApplication::translate(
                    "CommandLine", "--time: секунды должны быть больше нуля и не больше суток."));
        }
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

int Printed(const TCommandOutput& output) {
    Print(stdout, QString::fromStdString(output.Out));
    Print(stderr, QString::fromStdString(output.Err));
    return 0;
}

// --analyse FILE.mth [--from A --to B]
int RunAnalyse(const QCommandLineParser& line) {
    return Headless(line, [&] {
        TakeSettings(line);
        const TFileGraphs g = GraphsOfFile(OptionValue(line, "analyse").toStdString());
        std::optional<double> from, to;
        if (line.isSet(QStringLiteral("from")))
            from = OptionNumber(OptionValue(line, "from"), "from");
        if (line.isSet(QStringLiteral("to"))) to = OptionNumber(OptionValue(line, "to"), "to");
        Printed(AnalyseGraphs(g, from, to));
    });
}

// --integrate A B FILE.mth
int RunIntegrate(const QCommandLineParser& line) {
    return Headless(line, [&] {
        TakeSettings(line);
        const QStringList rest = line.positionalArguments();
        if (rest.size() != 2)
            UsageError(QCoreApplication::translate(
                "CommandLine", "--integrate ждёт A B FILE.mth: два конца и файл (отрицательный "
                               "конец — после --)."));
        const double a = OptionNumber(OptionValue(line, "integrate"), "integrate");
        const double b = OptionNumber(rest[0], "integrate");
        Printed(IntegrateGraphs(GraphsOfFile(rest[1].toStdString()), a, b));
    });
}

// --check FORMULA: the status says whether the formula has a place the
// compiler does not understand.
int RunCheck(const QCommandLineParser& line) {
    std::string out;
    const int status = Headless(line, [&] {
        TakeSettings(line);
        out = CheckFormula(OptionValue(line, "check").toStdString());
    });
    if (status != 0) return status;
    Print(stdout, QString::fromStdString(out));
    return out.empty() ? 0 : 1;
}

// --derive FORMULA [--var V]
int RunDerive(const QCommandLineParser& line) {
    return Headless(line, [&] {
        TakeSettings(line);
        const QString variable =
            line.isSet(QStringLiteral("var")) ? OptionValue(line, "var") : QStringLiteral("x");
        Print(stdout,
              QString::fromStdString(DeriveFormula(OptionValue(line, "derive").toStdString(),
                                                   variable.toLower().toStdString())));
    });
}

std::vector<TOptionRow> Options() {
    return {
        {{QStringLiteral("h"), QStringLiteral("help")},
         QT_TRANSLATE_NOOP("CommandLine", "Показать эту справку и выйти."),
         "",
         [](const QCommandLineParser& line) {
             Print(stdout, line.helpText());
             return 0;
         }},
        {{QStringLiteral("v"), QStringLiteral("version")},
         QT_TRANSLATE_NOOP("CommandLine", "Показать версию и выйти."),
         "",
         [](const QCommandLineParser&) {
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
         QT_TRANSLATE_NOOP("CommandLine", "Размер рисунка PNG, ширина x высота (с --export; по "
                                          "умолчанию 400x400)."),
         "WxH",
         nullptr},
        {{QStringLiteral("set")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Задать параметр формул на этот запуск (с --export, --analyse, "
                           "--integrate и --check): число или формула параметров до него; "
                           "можно повторять."),
         "NAME=VALUE",
         nullptr},
        {{QStringLiteral("time")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Сколько секунд доказывать отношения (с --export; по умолчанию 10): "
                           "что не доказано к этому сроку, записывается бледным."),
         "S",
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
             "Напечатать особые точки графиков y(x) файла (корни, экстремумы, точки перегиба, "
             "пересечения, пересечения с осью y) строками JSON и выйти. \"graph\" — номер графика, "
             "как в "
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
        {{QStringLiteral("derive")},
         QT_TRANSLATE_NOOP("CommandLine",
                           "Напечатать производную формулы по x формулой того же языка и выйти."),
         "FORMULA",
         RunDerive},
        {{QStringLiteral("var")},
         QT_TRANSLATE_NOOP(
             "CommandLine",
             "Переменная производной для --derive: x (по умолчанию), y, z, t, u или v."),
         "V",
         nullptr},
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

} // namespace

int RunProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    SetApplicationNames();
    return RunCommandLine(argc, argv, arguments, Options(),
                          [&](const QStringList& files) { return RunWindows(argc, argv, files); });
}
