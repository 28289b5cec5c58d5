// The texts the libraries without Qt show the user. Each is written in
// Russian, the program's own language, and passes through the translator
// the program installs (none: the Russian text stays). The context names
// the place, as the translation file groups them.
#pragma once

#include <initializer_list>
#include <string>

// Marks a text for the translation file where it is written, when it is
// translated later (by Translate with the same context).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace texts {

using TTranslator = std::string (*)(const char* context, const char* source);
void SetTranslator(TTranslator translator);

// The text of `source` in the current language.
std::string Translate(const char* context, const char* source);

// `pattern` with %1, %2 ... replaced by the arguments, in one pass (an
// argument that holds "%2" stays as it is).
std::string Fill(const std::string& pattern, std::initializer_list<std::string> arguments);

} // namespace texts
