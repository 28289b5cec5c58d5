#include "app/Dialogs.h"

#include "plot2d/Compose.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

namespace {

QString PlotFiles() {
    return QCoreApplication::translate("Dialogs", "Файл графиков (*.mth)");
}
QString Documents() {
    return QCoreApplication::translate("Dialogs", "Документ со стилями и всеми графиками (*.mthx)");
}

TDialogHooks PlatformDialogs() {
    TDialogHooks d;
    d.SaveFileName = [](QWidget* parent, const QString& start) {
        QString chosen = PlotFiles();
        QString name = QFileDialog::getSaveFileName(
            parent, QString(), start, PlotFiles() + QStringLiteral(";;") + Documents(), &chosen,
            QFileDialog::DontConfirmOverwrite);
        // The document type chosen, for a name without an extension of its own.
        if (!name.isEmpty() && chosen == Documents() &&
            !name.endsWith(QStringLiteral(".mthx"), Qt::CaseInsensitive) &&
            !name.endsWith(QStringLiteral(".mth")))
            name += QStringLiteral(".mthx");
        return name;
    };
    d.OpenFileName = [](QWidget* parent, const QString& start) {
        return QFileDialog::getOpenFileName(
            parent, QString(), start,
            QCoreApplication::translate("Dialogs", "Файлы графиков (*.mth *.mthx)"));
    };
    d.Confirm = [](QWidget* parent, const QString& text, const QString& caption) {
        return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok;
    };
    d.PickColour = [](QWidget* parent, TColorValue start) -> std::optional<TColorValue> {
        const QColor c = QColorDialog::getColor(ToQColor(start), parent);
        if (!c.isValid()) return std::nullopt;
        return FromQColor(c);
    };
    d.AskSave = [](QWidget* parent, const QString& name) {
        QMessageBox box(
            QMessageBox::Question, QCoreApplication::translate("Dialogs", "Графики функций"),
            QCoreApplication::translate("Dialogs", "Сохранить изменения в «%1»?").arg(name),
            QMessageBox::NoButton, parent);
        QPushButton* save = box.addButton(QCoreApplication::translate("Dialogs", "Сохранить"),
                                          QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QCoreApplication::translate("Dialogs", "Не сохранять"),
                                             QMessageBox::DestructiveRole);
        box.addButton(QCoreApplication::translate("Dialogs", "Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.exec();
        if (box.clickedButton() == save) return TSaveAnswer::Save;
        if (box.clickedButton() == discard) return TSaveAnswer::Discard;
        return TSaveAnswer::Cancel;
    };
    d.RunModal = [](QDialog* dialog) { dialog->exec(); };
    d.Inform = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::about(parent, caption, text);
    };
    d.OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    d.ExportFileName = [](QWidget* parent, const QString& start, const QStringList& filters,
                          QString& chosen) {
        return QFileDialog::getSaveFileName(
            parent, QCoreApplication::translate("Dialogs", "Экспорт рисунка"), start,
            filters.join(QStringLiteral(";;")), &chosen);
    };
    d.PrintPreview = [](QWidget* parent, const std::function<void(QPrinter*)>& paint) {
        QPrintPreviewDialog preview(parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&paint](QPrinter* printer) { paint(printer); });
        preview.exec();
    };
    return d;
}

} // namespace

TDialogHooks& Dialogs() {
    static TDialogHooks hooks = PlatformDialogs();
    return hooks;
}

void RestoreDialogs() {
    Dialogs() = PlatformDialogs();
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
