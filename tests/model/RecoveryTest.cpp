// The recovery files of unsaved work: one per running program, found at a
// start only when their program no longer runs, the newest first.
#include "model/Recovery.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <thread>

namespace {

class Recovery : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(data.isValid());
        before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", before); }
    // A recovery as a program of number `process` left it.
    void Leave(qint64 process, const std::string& formula, const std::string& file) {
        TDocumentFile d;
        d.Record.Mode = 1;
        d.Record.MainFormula = formula;
        WriteRecovery(d, file);
        const QString left = RecoveryFolder() + QStringLiteral("/recovery-%1.mthx").arg(process);
        QFile::remove(left);
        QFile::remove(left + ".file");
        ASSERT_TRUE(QFile::rename(OwnRecoveryFile(), left));
        ASSERT_TRUE(QFile::rename(OwnRecoveryFile() + ".file", left + ".file"));
    }
    QTemporaryDir data;
    QByteArray before;
};

TEST_F(Recovery, OnlyTheFilesOfProgramsThatEndedAreFoundNewestFirst) {
    const qint64 running = 2000000001, ended = 2000000002, later = 2000000003;
    Leave(running, "x^2", "");
    Leave(ended, "sin(x)", "/home/u/a.mth");
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // a later write time
    Leave(later, "cos(x)", "");
    TDocumentFile own;
    own.Record.Mode = 1;
    WriteRecovery(own, ""); // this program's own: never offered to itself
    const auto left = LeftRecoveries([&](qint64 p) { return p == running; });
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].Process, later);
    EXPECT_EQ(left[1].Process, ended);
    EXPECT_EQ(left[1].OpenFile, "/home/u/a.mth");
    EXPECT_EQ(TakeRecovery(left[1]).Record.MainFormula, "sin(x)");
    EXPECT_FALSE(QFile::exists(left[1].Path)); // taken: it is gone
    EXPECT_EQ(LeftRecoveries([&](qint64 p) { return p == running; }).size(), 1u);
    RemoveOwnRecovery();
    EXPECT_FALSE(QFile::exists(OwnRecoveryFile()));
    EXPECT_FALSE(QFile::exists(OwnRecoveryFile() + ".file"));
}

TEST_F(Recovery, AProcessRunsWhileItIsThere) {
    EXPECT_TRUE(ProcessRunning(QCoreApplication::applicationPid()));
    EXPECT_FALSE(ProcessRunning(2000000000)); // beyond every process number
    EXPECT_FALSE(ProcessRunning(0));
}

} // namespace
