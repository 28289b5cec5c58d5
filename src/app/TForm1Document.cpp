// The open document: its file, the title that names it, the mark of unsaved
// changes and the question before they are lost, "Создать", saving without
// a question, the recent files, and the help items.
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotFile.h"
#include "model/RecentFiles.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>

#ifndef PLOTTER_VERSION
#define PLOTTER_VERSION "0"
#endif

QString TForm1::DocumentName() const {
    return ::DocumentName(Model);
}

void TForm1::UpdateTitle() {
    const bool modified = !StateIsSaved(Model, WindowState());
    setWindowTitle(WindowTitle(Model, modified));
    setWindowModified(modified);
}

void TForm1::DocumentMaybeChanged() {
    UpdateTitle();
}

void TForm1::RememberSavedState() {
    const TPlotState state = WindowState();
    Model.SavedRecord = RecordOfState(state, false);
    Model.SavedX0 = state.Fields[1];
    Model.SavedBeyond = BeyondRecord(state);
    Model.History.MarkSaved();
    UpdateTitle();
}

void TForm1::DocumentIsFile(const std::string& path) {
    Model.FileName = path;
    RemoveOwnRecovery(); // saved, or just opened: nothing to recover
    Model.RecoveryWritten.clear();
    RecentFiles::Add(QString::fromStdString(path));
    RebuildRecentMenu();
    RememberSavedState();
}

bool TForm1::MaySetDocumentAside() {
    UpdateTitle();
    if (!isWindowModified()) return true;
    switch (Dialogs().AskSave(this, DocumentName())) {
    case TSaveAnswer::Discard:
        return true;
    case TSaveAnswer::Cancel:
        return false;
    case TSaveAnswer::Save:
        break;
    }
    // Saved as Ctrl+S saves; a save that fails or is cancelled keeps the document.
    bool saved = false;
    RunCommand([&] {
        if (!Model.FileName.empty()) {
            saved = WritePlotFile(Model.FileName);
            return;
        }
        const QString chosen = Dialogs().SaveFileName(this, RecentFiles::LastFolder());
        saved = !chosen.isEmpty() && SaveAs(chosen);
    });
    return saved;
}

void TForm1::SaveClick() {
    if (Busy() || !N4->isEnabled()) return; // no saving while an animation runs
    if (Model.FileName.empty()) {
        N4Click();
        return;
    }
    WritePlotFile(Model.FileName);
}

void TForm1::SaveAsClick() {
    if (Busy() || !N4->isEnabled()) return;
    const QString start =
        Model.FileName.empty() ? RecentFiles::LastFolder() : QString::fromStdString(Model.FileName);
    const QString chosen = Dialogs().SaveFileName(this, start);
    if (!chosen.isEmpty()) SaveAs(chosen);
}

void TForm1::NewClick() {
    if (Busy() || !MaySetDocumentAside()) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "создать"));
    // Everything a start sets, and then the start itself.
    if (Model.AnimationRunning) N10Click();
    if (Frm3D) {
        Frm3D->Timer1->stop();
        Frm3D->hide();
    }
    ComboBox1->clear();
    ComboBox1->setEditText(QString());
    CheckBox1->setChecked(false);
    Edit1->clear();
    ShowX0Result(QString());
    N6->setChecked(true);
    for (QCheckBox* box : {CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, Equally})
        box->setChecked(true);
    CheckBox8->setChecked(false);
    if (Form2) Form2->CheckBox2->setChecked(false);
    FormCreate();
    if (Form2) Form2->ShowFrameSettings();
    Model.FileName.clear();
    RememberSavedState();
}

void TForm1::OpenRecent(const QString& path) {
    if (Busy() || !MaySetDocumentAside()) return;
    if (!RunCommand([&] { OpenPlotFile(path.toStdString()); })) {
        // A file that no longer opens leaves the list (the message told why).
        RecentFiles::Remove(path);
        RebuildRecentMenu();
    }
}

void TForm1::ClearRecentClick() {
    RecentFiles::Clear();
    RebuildRecentMenu();
}

void TForm1::RebuildRecentMenu() {
    RecentMenu->clear();
    const QStringList files = RecentFiles::Files();
    for (int i = 0; i < files.size(); ++i) {
        QAction* a = RecentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
        a->setToolTip(files[i]);
        a->setData(files[i]);
        connect(a, &QAction::triggered, this, [this, file = files[i]] { OpenRecent(file); });
    }
    RecentMenu->addSeparator();
    QAction* clear = RecentMenu->addAction(tr("Очистить список"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { ClearRecentClick(); });
}

void TForm1::AboutClick() {
    Dialogs().Inform(this, tr("О программе"),
                     tr("<b>Графики функций</b>, версия %1<br><br>"
                        "Графики функций на плоскости и в пространстве по формулам: "
                        "y(x), r(fi), x(t),y(t), z(x,y), F(x,y,z)=0, x(t),y(t),z(t) и "
                        "x(u,v),y(u,v),z(u,v).<br><br>"
                        "Лицензия: все права принадлежат авторам программы "
                        "(LicenseRef-proprietary).<br><br>"
                        "Файл графиков (.mth) — одна запись из 2680 байт: формулы и числа "
                        "всех режимов, режим, список формул y(x) и кадры анимации; "
                        "текст в кодировке Windows-1251.")
                         .arg(QStringLiteral(PLOTTER_VERSION)));
}

QUrl GuideUrl() {
    // Installed: share/doc/<package>/guide beside bin/; from the build tree: guide/.
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {bin.filePath(QStringLiteral("../share/doc/function-plotter/guide/index.html")),
          QStringLiteral(PLOTTER_BUILD_GUIDE)})
        if (QFileInfo::exists(candidate))
            return QUrl::fromLocalFile(QFileInfo(candidate).absoluteFilePath());
    return {};
}

void TForm1::GuideClick() {
    const QUrl guide = GuideUrl();
    if (guide.isEmpty()) {
        ReportFailure(tr("Руководство не найдено: оно ставится вместе с программой в "
                         "share/doc/function-plotter/guide.")
                          .toStdString());
        return;
    }
    // Where it is, in case nothing on this computer shows web pages.
    const QString path = guide.toLocalFile();
    ShowStatus([path] { return tr("Руководство: %1").arg(path); });
    if (!Dialogs().OpenUrl(guide))
        ReportFailure(
            tr("Руководство нечем открыть: откройте в браузере файл %1.").arg(path).toStdString());
}
