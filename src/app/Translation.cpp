#include "app/Translation.h"

#include "app/Fields.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace {

// Properties that keep a widget's sources.
constexpr char ContextProperty[] = "plotterContext";
constexpr char TextProperty[] = "plotterText";
constexpr char TipProperty[] = "plotterTip";
constexpr char TitleProperty[] = "plotterTitle";
constexpr char FitProperty[] = "plotterFit";

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
