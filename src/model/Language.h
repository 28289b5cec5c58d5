// The language of the program: Russian, the language of the sources, or
// English through the translation file; the choice is kept in the settings.
#pragma once

#include <QString>

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
