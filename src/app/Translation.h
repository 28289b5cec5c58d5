// The language of the program: the texts of the windows follow it. A text
// is set from its source, the Russian text marked for the translation file
// under a context; the source stays on the widget, so that a change of
// language sets every such text again (RetranslateTree) without a restart.
#pragma once

#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

enum class TLanguage { Russian, English };

// The language kept in the settings; Russian when none was chosen, whatever
// the system's locale.
TLanguage SavedLanguage();
// Installs the translations of a language (ours, or Qt's own Russian ones),
// keeps the choice in the settings, and lets every window relabel itself.
// False when the translation files are not there (the texts stay Russian,
// or Qt's dialogs English).
bool ApplyLanguage(TLanguage language);
// The same, without keeping the choice: the texts of a command-line run.
bool InstallLanguage(TLanguage language);
TLanguage CurrentLanguage();
// The translation of the libraries without Qt goes through Qt's translators.
void InstallTextTranslator();

// The text of `source` in the current language.
QString Translated(const char* context, const char* source);

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
