// The modal questions the program asks the user: the file dialogs, the
// overwrite and unsaved-changes questions, the colour picker, the modal
// showing of a dialog, a message to read and a page to open. The program
// uses the platform's own; tests put answers of their own in their place,
// so that no dialog ever waits for a hand.
#pragma once

#include "document/Settings.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

// The answers to "Сохранить изменения в «name»?".
enum class TSaveAnswer { Save, Discard, Cancel };

struct TDialogHooks {
    // The chosen file name, or an empty text when the dialog was cancelled;
    // the dialog starts at `start` (a folder, or a file's path).
    std::function<QString(QWidget* parent, const QString& start)> SaveFileName;
    std::function<QString(QWidget* parent, const QString& start)> OpenFileName;
    // True for OK, false for Cancel.
    std::function<bool(QWidget* parent, const QString& text, const QString& caption)> Confirm;
    // Whether changes of the document `name` are saved before it is set aside.
    std::function<TSaveAnswer(QWidget* parent, const QString& name)> AskSave;
    // The colour chosen, starting from `start`; nothing when cancelled.
    std::function<std::optional<TColorValue>(QWidget* parent, TColorValue start)> PickColour;
    // Shows a dialog modally and returns when it is closed.
    std::function<void(QDialog* dialog)> RunModal;
    // A message to read, with an OK button.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> Inform;
    // Opens a page (the user's guide) in the desktop's viewer; false when none took it.
    std::function<bool(const QUrl& url)> OpenUrl;
    // The name to export to, from `filters` (the one chosen left in `chosen`).
    std::function<QString(QWidget* parent, const QString& start, const QStringList& filters,
                          QString& chosen)>
        ExportFileName;
    // A print preview whose pages `paint` draws on the printer; it prints
    // when the user asks it to.
    std::function<void(QWidget* parent, const std::function<void(QPrinter*)>& paint)> PrintPreview;
};

TDialogHooks& Dialogs();
void RestoreDialogs(); // the platform's dialogs again

// Places a window in the middle of the screen.
void CentreOnScreen(QWidget* window);
