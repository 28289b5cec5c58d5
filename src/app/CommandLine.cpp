#include "app/CommandLine.h"

#include "app/ErrorReport.h"
#include "app/Windows.h"
#include "engine/Engine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <functional>
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
        if (parser.positionalArguments().size() > 1)
            return usageError(QString::fromUtf8("Можно открыть только один файл."));
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].Run && parser.isSet(options[i])) return rows[i].Run(run);
    }
    return RunWindows(run);
}
