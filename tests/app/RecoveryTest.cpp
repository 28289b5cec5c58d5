// No work lost, through the window: unsaved work goes to the recovery file,
// a save or a normal end removes it, and a start restores what a program
// that did not end left, with its file and the change mark.
#include "FilesTestSupport.h"

#include "model/Recovery.h"

#include <QFile>

namespace {

class RecoveryTest : public Files {
  protected:
    void SetUp() override {
        before = qgetenv("XDG_DATA_HOME");
        qputenv(
            "XDG_DATA_HOME",
            QByteArray::fromStdString(
                (fs::temp_directory_path() / ("recovery-" + std::to_string(::getpid()))).string()));
        Files::SetUp();
    }
    void TearDown() override {
        Files::TearDown();
        fs::remove_all(qgetenv("XDG_DATA_HOME").toStdString());
        qputenv("XDG_DATA_HOME", before);
    }
    // The own recovery file as a program that was killed leaves it.
    TRecovery Killed() {
        const QString left = RecoveryFolder() + QStringLiteral("/recovery-2000000000.mthx");
        EXPECT_TRUE(QFile::rename(OwnRecoveryFile(), left));
        EXPECT_TRUE(QFile::rename(OwnRecoveryFile() + ".file", left + ".file"));
        return {left, (dir / "plot.mth").string(), 2000000000};
    }
    QByteArray before;
};

TEST_F(RecoveryTest, UnsavedWorkIsKeptUntilASaveOrANormalEnd) {
    form->SaveRecovery();
    EXPECT_FALSE(QFile::exists(OwnRecoveryFile())); // nothing unsaved yet
    form->ComboBox1->setEditText("x^3-x");
    form->Button2Click();
    form->SaveRecovery();
    ASSERT_TRUE(QFile::exists(OwnRecoveryFile()));
    EXPECT_EQ(ReadDocumentFile(OwnRecoveryFile().toStdString()).Record.MainFormula, "x^3-x");
    Save("plot.mth");
    EXPECT_FALSE(QFile::exists(OwnRecoveryFile()));
    form->ComboBox1->setEditText("x^4");
    form->Button2Click();
    form->SaveRecovery();
    ASSERT_TRUE(QFile::exists(OwnRecoveryFile()));
    form->FormClose();
    EXPECT_FALSE(QFile::exists(OwnRecoveryFile()));
}

TEST_F(RecoveryTest, AStartRestoresWhatAKilledProgramLeft) {
    Save("plot.mth");
    form->ComboBox1->setEditText("sin(x)*x");
    form->Button2Click();
    form->SaveRecovery();
    const TRecovery left = Killed();
    form->NewClick(); // another start, with the file as it was saved
    ASSERT_EQ(form->ComboBox1->currentText().toStdString(), "");
    questions.clear();
    answer = true;
    EXPECT_TRUE(form->OfferRecovery());
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Восстановить несохранённую работу? / Графики функций");
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "sin(x)*x");
    EXPECT_EQ(form->Model.FileName, (dir / "plot.mth").string());
    EXPECT_EQ(form->windowTitle().toStdString(), "plot.mth[*] — Графики функций");
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_FALSE(QFile::exists(left.Path));
    EXPECT_TRUE(QFile::exists(OwnRecoveryFile())); // still unsaved, now this program's
    EXPECT_TRUE(failures.empty()) << failures[0];
}

TEST_F(RecoveryTest, NoDeletesWhatWasLeft) {
    form->ComboBox1->setEditText("x");
    form->Button2Click();
    form->SaveRecovery();
    const TRecovery left = Killed();
    form->NewClick();
    answer = false;
    EXPECT_FALSE(form->OfferRecovery());
    EXPECT_FALSE(QFile::exists(left.Path));
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "");
    EXPECT_FALSE(form->OfferRecovery()); // asked once
    EXPECT_EQ(questions.size(), 1u);
}

} // namespace
