#include "app/Dialogs.h"

#include "plot2d/Compose.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {

const QString Filter = QStringLiteral("*.mth");

TDialogHooks PlatformDialogs() {
    TDialogHooks d;
    d.SaveFileName = [](QWidget* parent) {
        return QFileDialog::getSaveFileName(parent, QString(), QString(), Filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    d.OpenFileName = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), Filter);
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
    d.RunModal = [](QDialog* dialog) { dialog->exec(); };
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
