// The machinery of the command line, apart from its options: a table of
// options, each with the function that carries it out, read by one
// QCommandLineParser; the run of the one command a line names, without
// windows; and the usage on a line that is wrong.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One option: its names, its description (a text of the context
// "CommandLine"), the name of its value (empty: it takes none), and the
// function that carries it out when it is given, with the exit status;
// options without a function are read by another's.
struct TOptionRow {
    QStringList Names;
    const char* Description;
    const char* ValueName;
    std::function<int(const QCommandLineParser&)> Run;
    bool Pictures = false; // the run draws, so it needs a (headless) display
};

// Runs the command line `arguments` (the program's name first): the command
// of its options without windows, on the offscreen platform where it draws
// and no display is there; `windows` with the files named when it names no
// command; the usage (2) when it is wrong: an unknown option, two commands,
// or more than one file.
int RunCommandLine(int argc, char** argv, const QStringList& arguments,
                   const std::vector<TOptionRow>& rows,
                   const std::function<int(const QStringList& files)>& windows);

// A command's work: 0 when it is done, 1 with its message on stderr when it
// fails, 2 with the message and the usage when it was asked wrongly
// (std::invalid_argument).
int Headless(const QCommandLineParser& parser, const std::function<void()>& work);

QString OptionValue(const QCommandLineParser& parser, const char* name);
// The one plot file a command works on; the usage when there is not one.
QString TheFile(const QCommandLineParser& parser, const char* option);
// --max-points N: a whole number above zero, or the default.
long double MaxScanSamples(const QCommandLineParser& parser);
