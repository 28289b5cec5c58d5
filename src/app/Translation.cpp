#include "app/Translation.h"

#include "app/Fields.h"
#include "texts/Texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QSettings>
#include <QTranslator>

namespace {

// Properties that keep a widget's sources.
constexpr char ContextProperty[] = "plotterContext";
constexpr char TextProperty[] = "plotterText";
constexpr char TipProperty[] = "plotterTip";
constexpr char TitleProperty[] = "plotterTitle";
constexpr char FitProperty[] = "plotterFit";

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

void Keep(QObject* o, const char* property, const char* context, const char* source) {
    o->setProperty(ContextProperty, QByteArray(context));
    o->setProperty(property, QByteArray(source));
}

void SetWidgetText(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        SetCaption(label, text);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(text);
}

void Retranslate(QObject* o) {
    const QByteArray context = o->property(ContextProperty).toByteArray();
    if (context.isEmpty()) return;
    const auto source = [o](const char* property) { return o->property(property).toByteArray(); };
    const QByteArray text = source(TextProperty), tip = source(TipProperty),
                     title = source(TitleProperty);
    if (auto* action = qobject_cast<QAction*>(o)) {
        if (!text.isEmpty()) SetText(action, context.constData(), text.constData());
    } else if (auto* menu = qobject_cast<QMenu*>(o)) {
        if (!title.isEmpty()) SetTitle(menu, context.constData(), title.constData());
    } else if (auto* widget = qobject_cast<QWidget*>(o)) {
        if (!text.isEmpty()) SetText(widget, context.constData(), text.constData());
        if (!tip.isEmpty()) SetToolTip(widget, context.constData(), tip.constData());
        if (!title.isEmpty()) SetWindowTitle(widget, context.constData(), title.constData());
        if (widget->property(FitProperty).toBool()) widget->adjustSize();
    }
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

void SetText(QWidget* widget, const char* context, const char* source) {
    SetWidgetText(widget, Translated(context, source));
    Keep(widget, TextProperty, context, source);
}

void SetToolTip(QWidget* widget, const char* context, const char* source) {
    widget->setToolTip(Translated(context, source));
    Keep(widget, TipProperty, context, source);
}

void SetText(QAction* action, const char* context, const char* source) {
    action->setText(Translated(context, source));
    Keep(action, TextProperty, context, source);
}

void SetTitle(QMenu* menu, const char* context, const char* source) {
    menu->setTitle(Translated(context, source));
    Keep(menu, TitleProperty, context, source);
}

void SetWindowTitle(QWidget* window, const char* context, const char* source) {
    window->setWindowTitle(Translated(context, source));
    Keep(window, TitleProperty, context, source);
}

void FitToText(QWidget* widget) {
    widget->setProperty(FitProperty, true);
    widget->adjustSize();
}

void ForgetSource(QWidget* widget) {
    widget->setProperty(TextProperty, QVariant());
}

void RetranslateTree(QObject* root) {
    Retranslate(root);
    for (QObject* child : root->findChildren<QObject*>())
        Retranslate(child);
}
