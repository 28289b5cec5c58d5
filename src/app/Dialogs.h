// The modal questions the program asks the user: the file dialogs, the
// overwrite question, the colour picker and the modal showing of a dialog.
// The program uses the platform's own; tests put answers of their own in
// their place, so that no dialog ever waits for a hand.
#pragma once

#include "document/Settings.h"

#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

struct TDialogHooks {
    // The chosen file name, or an empty text when the dialog was cancelled.
    std::function<QString(QWidget* parent)> SaveFileName;
    std::function<QString(QWidget* parent)> OpenFileName;
    // True for OK, false for Cancel.
    std::function<bool(QWidget* parent, const QString& text, const QString& caption)> Confirm;
    // The colour chosen, starting from `start`; nothing when cancelled.
    std::function<std::optional<TColorValue>(QWidget* parent, TColorValue start)> PickColour;
    // Shows a dialog modally and returns when it is closed.
    std::function<void(QDialog* dialog)> RunModal;
};

TDialogHooks& Dialogs();
void RestoreDialogs(); // the platform's dialogs again

// Places a window in the middle of the screen.
void CentreOnScreen(QWidget* window);
