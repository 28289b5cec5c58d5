// The real program started with a command line: the usage, the version, a
// usage error, and a plot file opened at start-up, checked on the display
// by the window's title and its picture.
#include "app/AppTestSupport.h"

#include "document/PlotFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The record of the start, in y(x).
TPlotFileRecord StartRecord() {
    TPlotFileRecord record;
    TPlotDocument defaults;
    SetDocumentDefaults(defaults);
    for (int k = 0; k < DocumentNumberCount; ++k)
        record.Numbers[k] = defaults.Numbers[k];
    record.Mode = pmYx;
    record.FirstFrame = 1, record.LastFrame = 20, record.FrameInterval = 50;
    return record;
}

struct TResult {
    int Status;
    std::string Out, Err;
};

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        // Settings and recent files of the runs in a folder of their own.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        environment.insert(QStringLiteral("HOME"), home.path());
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }
    TResult Run(const QStringList& arguments) {
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(PLOTTER_BINARY), arguments);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardOutput().toStdString(),
                p.readAllStandardError().toStdString()};
    }
    // The window of that exact title, waited for; 0 when none comes.
    static QString Window(const QString& title) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            QProcess search;
            search.start(QStringLiteral("xdotool"),
                         {QStringLiteral("search"), QStringLiteral("--name"),
                          QStringLiteral("^%1$").arg(QRegularExpression::escape(title))});
            search.waitForFinished();
            const QString id = QString::fromUtf8(search.readAllStandardOutput()).trimmed();
            if (!id.isEmpty()) return id.split(QLatin1Char('\n')).first();
            QTest::qWait(100);
        }
        return {};
    }
    // What the screen shows of a window.
    static QImage Shown(const QString& id) {
        QProcess geometry;
        geometry.start(QStringLiteral("xdotool"),
                       {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        geometry.waitForFinished();
        std::map<QString, int> g;
        for (const QString& line : QString::fromUtf8(geometry.readAllStandardOutput()).split('\n'))
            if (line.contains('=')) g[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        QTest::qWait(300); // the first picture drawn
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, g["X"], g["Y"], g["WIDTH"], g["HEIGHT"])
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    static int Blue(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
        return n;
    }

    static void Xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        EXPECT_TRUE(tool.waitForFinished());
        EXPECT_EQ(tool.exitCode(), 0) << arguments.join(' ').toStdString();
    }
    // A click at a point of a window, which takes the keys then.
    static void Click(const QString& id, int x, int y) {
        Xdotool(
            {"mousemove", "--window", id, QString::number(x), QString::number(y), "click", "1"});
    }

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess program;
};

// The usage and its errors speak the language the windows were left in:
// Russian at first, English once it was chosen.
TEST_F(CommandLine, UsageVersionAndUsageErrors) {
    const struct {
        const char* saved; // the settings' language, or none
        const char* usage;
        const char* helpRow;
        const char* oneFile;
    } languages[] = {
        {nullptr, "Использование:", "Показать эту справку и выйти.", "только один файл"},
        {"en", "Usage:", "Show this help and exit.", "Only one file"},
    };
    for (const auto& l : languages) {
        if (l.saved != nullptr) {
            QSettings settings(QDir(home.path()).filePath(QStringLiteral("grafiki/plotter.conf")),
                               QSettings::IniFormat);
            settings.setValue(QStringLiteral("language"), QString::fromLatin1(l.saved));
        }
        const TResult help = Run({QStringLiteral("--help")});
        EXPECT_EQ(help.Status, 0);
        for (const char* part : {l.usage, l.helpRow, "--version", "FILE.mth"})
            EXPECT_NE(help.Out.find(part), std::string::npos) << part << "\n" << help.Out;
        const TResult version = Run({QStringLiteral("--version")});
        EXPECT_EQ(version.Status, 0);
        EXPECT_EQ(version.Out, "plotter " PLOTTER_VERSION "\n");
        const struct {
            QStringList arguments;
            const char* error;
        } errors[] = {{{QStringLiteral("--frobnicate")}, "frobnicate"},
                      {{QStringLiteral("a.mth"), QStringLiteral("b.mth")}, l.oneFile}};
        for (const auto& e : errors) {
            const TResult r = Run(e.arguments);
            EXPECT_EQ(r.Status, 2) << e.error;
            EXPECT_NE(r.Err.find(e.error), std::string::npos) << r.Err;
            EXPECT_NE(r.Err.find(l.usage), std::string::npos) << r.Err;
            EXPECT_TRUE(r.Out.empty());
        }
    }
}

// A file named on the command line opens as F3 opens it: its name in the
// title, its picture in the area (a blue circle r = 6).
TEST_F(CommandLine, AFileOpensAtStart) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no display";
    TPlotFileRecord record = StartRecord();
    record.Cartesian = false;
    record.MainFormula = "6";
    const QString file = QDir(home.path()).filePath(QStringLiteral("circle.mth"));
    WritePlotFile(file.toStdString(), record);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PLOTTER_BINARY), {file});
    const QString id = Window(QString::fromUtf8("circle.mth — Графики функций"));
    ASSERT_FALSE(id.isEmpty()) << "no window titled circle.mth";
    EXPECT_GT(Blue(Shown(id)), 300);
}

// A file that does not open: F3's message, and the window of the start.
TEST_F(CommandLine, AFileThatDoesNotOpenLeavesTheStart) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no display";
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PLOTTER_BINARY),
                  {QDir(home.path()).filePath(QStringLiteral("missing.mth"))});
    EXPECT_FALSE(Window(QStringLiteral("plotter")).isEmpty()) << "no message";
    const QString id = Window(QString::fromUtf8("Графики функций"));
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(Blue(Shown(id)), 0);
}

// Work the program did not save survives a kill: the next start asks, and
// "OK" brings back the formula, the file it belonged to and the change mark.
TEST_F(CommandLine, AKilledProgramsWorkComesBack) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no display";
    const QDir data(QDir(home.path()).filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    const TPlotFileRecord record = StartRecord();
    const QString file = QDir(home.path()).filePath(QStringLiteral("work.mth"));
    WritePlotFile(file.toStdString(), record);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PLOTTER_BINARY), {file});
    const QString id = Window(QString::fromUtf8("work.mth — Графики функций"));
    ASSERT_FALSE(id.isEmpty());
    // The formula box, below the menu bar; Enter builds.
    Click(id, 64 + 40, 54 + 10 + 22);
    Xdotool({"type", "--delay", "30", "x^2-3"});
    Xdotool({"key", "Return"});
    ASSERT_FALSE(Window(QString::fromUtf8("work.mth* — Графики функций")).isEmpty());
    // Killed 3 s after the build (or once the file is there, on a slow machine).
    QTest::qWait(3000);
    const QDir recovery(data.filePath(QStringLiteral("grafiki/plotter/recovery")));
    QElapsedTimer waited;
    waited.start();
    while (recovery.entryList({QStringLiteral("recovery-*.mthx")}).isEmpty() &&
           waited.elapsed() < 20000)
        QTest::qWait(100);
    ASSERT_EQ(recovery.entryList({QStringLiteral("recovery-*.mthx")}).size(), 1);
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    program.waitForFinished();

    program.start(QStringLiteral(PLOTTER_BINARY), QStringList());
    // The question: the default button, "OK", takes Return.
    const QString question = Window(QString::fromUtf8("Графики функций"));
    ASSERT_FALSE(question.isEmpty());
    Click(question, 20, 20);
    Xdotool({"key", "Return"});
    const QString restored = Window(QString::fromUtf8("work.mth* — Графики функций"));
    ASSERT_FALSE(restored.isEmpty()) << "not restored with its file and the mark";
    // Saved with Ctrl+S, the file holds the formula typed before the kill.
    Click(restored, 200, 300);
    Xdotool({"key", "ctrl+s"});
    ASSERT_FALSE(Window(QString::fromUtf8("work.mth — Графики функций")).isEmpty());
    EXPECT_EQ(ReadPlotFile(file.toStdString())->MainFormula, "x^2-3");
}

} // namespace
