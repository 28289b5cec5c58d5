// The texts of the windows in the language of the program. A text is set
// from its source, the Russian text marked for the translation file under a
// context; the source stays on the widget, so that a change of language sets
// every such text again (RetranslateTree) without a restart.
#pragma once

#include "model/Language.h"

#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

// A label (through SetCaption), button, check box, radio button or group box.
void SetText(QWidget* widget, const char* context, const char* source);
void SetToolTip(QWidget* widget, const char* context, const char* source);
void SetText(QAction* action, const char* context, const char* source);
void SetTitle(QMenu* menu, const char* context, const char* source);
void SetWindowTitle(QWidget* window, const char* context, const char* source);
// The widget takes the size of its text, now and after each change of language.
void FitToText(QWidget* widget);
// The widget's text is no longer a translated one (the program wrote a number there).
void ForgetSource(QWidget* widget);

// Sets every kept text of `root` and the objects under it again.
void RetranslateTree(QObject* root);
