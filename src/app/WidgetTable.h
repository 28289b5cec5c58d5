// The controls of a dialog as a table: each row names the member that holds
// the control, the group box it lies in, its place, its caption, its hint,
// whether it starts checked, and the handler it runs. CreateWidgets makes
// them in the order of the rows and connects the handlers.
#pragma once

#include "app/ErrorReport.h"
#include "app/Translation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <span>
#include <variant>

template <typename Form> struct TWidgetRow {
    std::variant<QGroupBox * Form::*, QLabel * Form::*, QLineEdit * Form::*, QCheckBox * Form::*,
                 QPushButton * Form::*, QRadioButton * Form::*, QComboBox * Form::*,
                 QFrame * Form::*>
        Member;
    QGroupBox* Form::*Parent = nullptr; // none: the dialog itself
    int X = 0, Y = 0, W = 0, H = 0;     // no width: the control's own size at (X, Y)
    const char* Text = nullptr;
    const char* Hint = nullptr;
    bool Checked = false;
    void (Form::*Handler)() = nullptr; // a click, a check, or a change of the text
};

namespace widget_table {

template <typename W> W* Make(const QString& text, QWidget* parent) {
    if constexpr (std::is_same_v<W, QComboBox> || std::is_same_v<W, QFrame>)
        return new W(parent);
    else
        return new W(text, parent);
}

template <typename Form, typename W>
void Connect(Form* form, W* w, bool checked, void (Form::*handler)()) {
    if constexpr (std::is_same_v<W, QCheckBox> || std::is_same_v<W, QRadioButton>)
        w->setChecked(checked);
    if (handler == nullptr) return;
    const auto run = [form, handler] { std::invoke(handler, form); };
    if constexpr (std::is_same_v<W, QPushButton>)
        QObject::connect(w, &QPushButton::clicked, form, AsCommand(run));
    else if constexpr (std::is_same_v<W, QRadioButton>)
        // A radio button that becomes checked runs its action, whoever checked it.
        QObject::connect(w, &QRadioButton::toggled, form, [run](bool on) {
            if (on) run();
        });
    else if constexpr (std::is_same_v<W, QCheckBox>)
        QObject::connect(w, &QCheckBox::toggled, form, run);
    else if constexpr (std::is_same_v<W, QComboBox>)
        QObject::connect(w, &QComboBox::editTextChanged, form, AsCommand(run));
    else if constexpr (std::is_same_v<W, QLineEdit>)
        QObject::connect(w, &QLineEdit::textChanged, form, run);
}

} // namespace widget_table

// The captions and hints are sources of the translations under `context`.
template <typename Form>
void CreateWidgets(Form* form, std::span<const TWidgetRow<Form>> rows, const char* context) {
    for (const TWidgetRow<Form>& r : rows) {
        QWidget* parent = r.Parent ? static_cast<QWidget*>(form->*r.Parent) : form;
        std::visit(
            [&](auto member) {
                using W = std::remove_pointer_t<
                    std::remove_reference_t<decltype(std::declval<Form&>().*member)>>;
                W* w = widget_table::Make<W>(QString(), parent);
                form->*member = w;
                if (r.Text && *r.Text) SetText(w, context, r.Text);
                if (r.W > 0)
                    w->setGeometry(r.X, r.Y, r.W, r.H);
                else {
                    w->move(r.X, r.Y);
                    FitToText(w);
                }
                if (r.Hint) SetToolTip(w, context, r.Hint);
                widget_table::Connect(form, w, r.Checked, r.Handler);
            },
            r.Member);
    }
}
