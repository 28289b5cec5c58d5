#include "model/Language.h"

#include "texts/Texts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace {

const char* SettingsKey = "language";

TLanguage& Current() {
    static TLanguage language = TLanguage::Russian;
    return language;
}

// The translators installed now: ours and Qt's own dialogs' texts.
QTranslator*& Ours() {
    static QTranslator* t = nullptr;
    return t;
}
QTranslator*& Qts() {
    static QTranslator* t = nullptr;
    return t;
}

} // namespace

TLanguage SavedLanguage() {
    return QSettings().value(SettingsKey).toString() == QLatin1String("en") ? TLanguage::English
                                                                            : TLanguage::Russian;
}

TLanguage CurrentLanguage() {
    return Current();
}

bool ApplyLanguage(TLanguage language) {
    const bool loaded = InstallLanguage(language);
    QSettings().setValue(SettingsKey, language == TLanguage::English ? "en" : "ru");
    return loaded;
}

bool InstallLanguage(TLanguage language) {
    InstallTextTranslator();
    for (QTranslator** t : {&Ours(), &Qts()}) {
        if (*t == nullptr) continue;
        QCoreApplication::removeTranslator(*t);
        delete *t;
        *t = nullptr;
    }
    // Qt's own texts are English already; ours are Russian in the source.
    QTranslator*& slot = language == TLanguage::English ? Ours() : Qts();
    slot = new QTranslator;
    const bool loaded =
        language == TLanguage::English
            ? slot->load(QStringLiteral(":/i18n/plotter_en.qm"))
            : slot->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded) {
        QCoreApplication::installTranslator(slot);
    } else {
        delete slot;
        slot = nullptr;
    }
    Current() = language;
    // Every window relabels itself now, not after the handler that switched.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    // Installing or removing a translator sends every widget a LanguageChange.
    return loaded;
}

void InstallTextTranslator() {
    texts::SetTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}

QString Translated(const char* context, const char* source) {
    return QCoreApplication::translate(context, source);
}
