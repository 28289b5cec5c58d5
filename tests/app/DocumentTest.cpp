// The open document through the window: the title that names the file and
// marks unsaved changes, saving without a question, the question before
// changes are lost (at close, open and "Создать"), the recent files, and
// the help items.
#include "FilesTestSupport.h"

#include "model/RecentFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace {

class Document : public Files {
  protected:
    void SetUp() override {
        Files::SetUp();
        RecentFiles::Clear();
        form->RebuildRecentMenu();
        Dialogs().AskSave = [this](QWidget*, const QString& name) {
            asked.push_back(name.toStdString());
            return reply;
        };
    }
    std::string Title() const { return form->windowTitle().toStdString(); }
    void Change(const char* formula = "x*x") {
        form->ComboBox1->setEditText(formula);
        form->Button2Click();
    }
    std::vector<std::string> asked; // the names the question was asked about
    TSaveAnswer reply = TSaveAnswer::Discard;
};

TEST_F(Document, TheTitleNamesTheFileAndMarksChanges) {
    EXPECT_EQ(Title(), "Графики функций");
    EXPECT_FALSE(form->isWindowModified());
    Change();
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(Title(), "Без имени[*] — Графики функций");
    Save("first");
    EXPECT_EQ(Title(), "first.mth[*] — Графики функций");
    EXPECT_FALSE(form->isWindowModified());
    form->Button2Click(); // building again changes nothing a save writes
    form->Button3Click(); // a zoom does
    EXPECT_TRUE(form->isWindowModified());
    Save("second");
    Open("first.mth");
    EXPECT_EQ(Title(), "first.mth[*] — Графики функций");
    EXPECT_FALSE(form->isWindowModified());
    for (auto change : std::vector<std::function<void()>>{
             [&] { form->CheckBox1->setChecked(true); }, [&] { Type(form->Edit1, "2"); },
             [&] { form->N3DzxyClick(); },
             [&] {
                 windows->Form2->CheckBox2->setChecked(!windows->Form2->CheckBox2->isChecked());
             }}) {
        Open("first.mth");
        ASSERT_FALSE(form->isWindowModified());
        change();
        EXPECT_TRUE(form->isWindowModified());
    }
}

TEST_F(Document, CtrlSSavesToTheOpenFileAndAsksOnlyWithoutOne) {
    int dialogs = 0;
    Dialogs().SaveFileName = [&](QWidget*, const QString&) {
        ++dialogs;
        return QString::fromStdString((dir / "named").string());
    };
    Change();
    form->NSave->trigger(); // no file yet: the name is asked for
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(fs::exists(dir / "named.mth"));
    Change("sin(x)");
    form->NSave->trigger(); // now straight into the open file
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ReadPlotFile((dir / "named.mth").string())->MainFormula, "sin(x)");
    EXPECT_FALSE(form->isWindowModified());
    form->N4->trigger(); // F2 asks every time
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(failures.empty()) << failures[0];
    EXPECT_EQ(form->N5->shortcuts().size(), 2); // F3 and Ctrl+O
    EXPECT_EQ(form->N5->shortcuts()[1].toString().toStdString(), "Ctrl+O");
    EXPECT_EQ(form->NSaveAs->shortcut().toString().toStdString(), "Ctrl+Shift+S");
}

// The three answers, at close, at open and at "Создать".
TEST_F(Document, TheQuestionBeforeChangesAreLost) {
    Save("kept");
    const auto commands = std::vector<std::pair<const char*, std::function<void()>>>{
        {"close", [&] { form->close(); }},
        {"open", [&] { Open("other.mth"); }},
        {"new", [&] { form->NewClick(); }},
    };
    Change("kept1");
    Save("other"); // a second file to open
    Open("kept.mth");
    for (const auto& [name, command] : commands) {
        for (const TSaveAnswer answer :
             {TSaveAnswer::Cancel, TSaveAnswer::Save, TSaveAnswer::Discard}) {
            form->show();
            Open("kept.mth");
            Change("changed");
            asked.clear();
            reply = answer;
            quits = 0;
            command();
            ASSERT_EQ(asked, std::vector<std::string>{"kept.mth"}) << name;
            const std::string box = form->ComboBox1->currentText().toStdString();
            const std::string onDisk = ReadPlotFile((dir / "kept.mth").string())->MainFormula;
            if (answer == TSaveAnswer::Cancel) {
                EXPECT_EQ(box, "changed") << name << ": everything stays";
                EXPECT_EQ(onDisk, "");
                EXPECT_EQ(quits, 0) << name;
            } else {
                EXPECT_EQ(onDisk, answer == TSaveAnswer::Save ? "changed" : "") << name;
                EXPECT_EQ(quits, std::string(name) == "close" ? 1 : 0) << name;
            }
            // Back to the file as it was, for the next answer.
            WritePlotFile((dir / "kept.mth").string(), *ReadPlotFile((dir / "other.mth").string()));
            auto record = *ReadPlotFile((dir / "kept.mth").string());
            record.MainFormula = "";
            WritePlotFile((dir / "kept.mth").string(), record);
        }
    }
    // Nothing changed since the open: no question at all.
    Open("kept.mth");
    asked.clear();
    form->NewClick();
    form->close();
    EXPECT_TRUE(asked.empty());
}

TEST_F(Document, CreateGivesTheStartAgain) {
    const TPlotFileRecord start = form->GatherRecord(true);
    form->ComboBox1->setEditText("x");
    form->Button5Click();
    form->CheckBox1->setChecked(true);
    form->N3DFxyzClick();
    Type(form->Edit7, "x-y");
    RunCommand([this] { form->Button11Click(); });
    FirstFrame = 7;
    Save("some");
    form->NewClick();
    EXPECT_EQ(EncodePlotFile(form->GatherRecord(true)), EncodePlotFile(start));
    EXPECT_EQ(form->CurrentPlotMode(), pmYx);
    EXPECT_EQ(form->ComboBox1->count(), 0);
    EXPECT_EQ(Text(windows->Form2->Edit1), "1");
    EXPECT_EQ(Title(), "Графики функций");
    EXPECT_FALSE(windows->Frm3D->isVisible());
}

TEST_F(Document, RecentFilesNewestFirstAtMostEightAndKept) {
    for (int k = 0; k < 10; ++k)
        Save("file" + std::to_string(k));
    QStringList recent = RecentFiles::Files();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(QFileInfo(recent[0]).fileName().toStdString(), "file9.mth");
    EXPECT_EQ(QFileInfo(recent[7]).fileName().toStdString(), "file2.mth");
    Open("file5.mth"); // to the front again, once
    recent = RecentFiles::Files();
    EXPECT_EQ(QFileInfo(recent[0]).fileName().toStdString(), "file5.mth");
    EXPECT_EQ(recent.count(recent[0]), 1);
    // The menu shows them, and the dialogs start in their folder.
    const QList<QAction*> items = form->RecentMenu->actions();
    ASSERT_EQ(items.size(), 8 + 2); // the files, a separator, "Очистить список"
    EXPECT_EQ(items[0]->text().toStdString(), "&1 file5.mth");
    form->N5Click();
    EXPECT_EQ(startedAt, dir.string());

    // A file that no longer opens leaves the list, with the open's message.
    fs::remove(dir / "file8.mth");
    failures.clear();
    form->OpenRecent(QString::fromStdString((dir / "file8.mth").string()));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("file8.mth» не прочитан: такого файла нет (File not found)"),
              std::string::npos)
        << failures[0];
    EXPECT_FALSE(
        RecentFiles::Files().contains(QString::fromStdString((dir / "file8.mth").string())));
    EXPECT_EQ(form->RecentMenu->actions().size(), 7 + 2);

    // A window made after this one finds the same list.
    windows.reset();
    windows = std::make_unique<TApplicationWindows>();
    windows->QuitApplication = [] {};
    form = windows->Form1.get();
    EXPECT_EQ(form->RecentMenu->actions().size(), 7 + 2);
    form->RecentMenu->actions().back()->trigger(); // "Очистить список"
    EXPECT_TRUE(RecentFiles::Files().isEmpty());
    EXPECT_EQ(form->RecentMenu->actions().size(), 2);
}

TEST_F(Document, AboutAndTheGuide) {
    form->NAbout->trigger();
    ASSERT_EQ(answers->Informed.size(), 1u);
    const std::string about = answers->Informed[0];
    for (const char* part : {"О программе", "версия 1.", "Лицензия", "2680 байт", ".mth"})
        EXPECT_NE(about.find(part), std::string::npos) << part;
    form->NGuide->trigger();
    ASSERT_EQ(answers->Opened.size(), 1u);
    const QString page = answers->Opened[0].toLocalFile();
    ASSERT_TRUE(QFileInfo::exists(page)) << page.toStdString();
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>User's guide</h1>")));
    EXPECT_TRUE(html.contains(QStringLiteral("docs/mode_yx.png")));
    EXPECT_TRUE(
        QFileInfo::exists(QFileInfo(page).dir().filePath(QStringLiteral("docs/mode_yx.png"))));
    EXPECT_EQ(form->NGuide->shortcut().toString().toStdString(), "F1");
    // Where it is, in the status line; and in the message when nothing opens it.
    EXPECT_TRUE(form->StatusLine->text().contains(page)) << form->StatusLine->text().toStdString();
    Dialogs().OpenUrl = [](const QUrl&) { return false; };
    form->NGuide->trigger();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find(page.toStdString()), std::string::npos) << failures[0];
}

} // namespace
