#include "model/CommandTable.h"

#include "engine/Engine.h"
#include "model/Commands.h"
#include "model/Language.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

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

int RunCommandLine(int argc, char** argv, const QStringList& arguments,
                   const std::vector<TOptionRow>& rows,
                   const std::function<int(const QStringList& files)>& windows) {
    // Read once before any application exists, to know which one the run needs.
    QCommandLineParser first;
    std::vector<QCommandLineOption> firstOptions;
    AddOptions(first, rows, firstOptions);
    const TRequest request = Request(first, rows, firstOptions, arguments);
    if (request.Row < 0 && !request.Usage) return windows(first.positionalArguments());

    // A command, or the usage: no windows, and no display needed where the
    // run draws (the offscreen platform when there is no X display).
    const bool pictures = request.Row >= 0 && rows[static_cast<std::size_t>(request.Row)].Pictures;
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
    if (request.Row >= 0) return rows[static_cast<std::size_t>(request.Row)].Run(parser);
    // The usage names the program by the name it was started with.
    const QString error =
        !request.Conflict.isEmpty() ? request.Conflict
        : parser.errorText().isEmpty()
            ? QCoreApplication::translate("CommandLine", "Можно открыть только один файл.")
            : parser.errorText();
    Print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
    return 2;
}

int Headless(const QCommandLineParser& parser, const std::function<void()>& work) {
    try {
        work();
        return 0;
    } catch (const std::invalid_argument& e) {
        Print(stderr, QString::fromUtf8(e.what()) + QStringLiteral("\n\n") + parser.helpText());
        return 2;
    } catch (const std::exception& e) {
        Print(stderr, QString::fromUtf8(e.what()) + QStringLiteral("\n"));
        return 1;
    }
}

QString OptionValue(const QCommandLineParser& parser, const char* name) {
    return parser.value(QString::fromLatin1(name));
}

QString TheFile(const QCommandLineParser& parser, const char* option) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        UsageError(
            QCoreApplication::translate("CommandLine", "--%1 работает с одним файлом графиков.")
                .arg(QString::fromLatin1(option)));
    return files.first();
}

long double MaxScanSamples(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("max-points"))) return DefaultMaxScanSamples;
    bool ok = false;
    const double n = OptionValue(parser, "max-points").toDouble(&ok);
    if (!ok || !(n >= 1) || !std::isfinite(n))
        UsageError(
            QCoreApplication::translate("CommandLine", "--max-points ждёт число больше нуля."));
    return n;
}
