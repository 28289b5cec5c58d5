// The language of the program: Помощь → "Язык / Language" relabels every
// window at once and back, and no text is cut off in either language.
#include "AppTestSupport.h"

#include "app/TForm2.h"
#include "app/TForm3.h"
#include "app/TForm4.h"
#include "app/TFormFind.h"
#include "app/Translation.h"
#include "view3d/Tfrm3D.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + "\n";
    return out;
}

class Language : public AllWindowsTest {
  protected:
    void TearDown() override {
        ApplyLanguage(TLanguage::Russian);
        AllWindowsTest::TearDown();
    }
    // The texts a user sees first of each window, and Qt's own.
    std::string Seen() const {
        QString find;
        for (int k = 0; k < windows->FormFind->ComboBox3->count(); ++k)
            find += windows->FormFind->ComboBox3->itemText(k) + QLatin1Char(' ');
        const QStringList lines = windows->Form4->Memo1->toPlainText().split(QLatin1Char('\n'));
        const QString shown[] = {
            form->N7->title(),
            form->NExport->text(),
            form->Button2->text(),
            form->LabelN(3)->text(),
            form->StatusLine->text(),
            form->ComboBox1->lineEdit()->toolTip(),
            form->RecentMenu->actions().value(0) ? form->RecentMenu->actions().last()->text()
                                                 : QString(),
            windows->Form2->windowTitle(),
            windows->Form2->FrameGroup->title(),
            windows->Form3->Button5->text(),
            windows->Form4->windowTitle(),
            lines.value(0) + QLatin1Char('|') + lines.value(16),
            find.trimmed(),
            windows->Frm3D->Button1->text(),
            QCoreApplication::translate("QPlatformTheme", "Cancel"),
        };
        std::string out;
        for (const QString& s : shown)
            out += s.toStdString() + "\n";
        return out;
    }
};

TEST_F(Language, TheMenuSwitchesEveryWindowAtOnceAndBack) {
    InstallTextTranslator();
    ASSERT_TRUE(ApplyLanguage(TLanguage::Russian));
    form->ComboBox1->setEditText(QStringLiteral("sin(x"));
    form->Button2Click(); // a status line to translate
    const std::string russian = Lines({
        "Помощь",
        "Экспорт рисунка…",
        "Построить график",
        "Формула y=",
        "Формула y= Не хватает «)» к скобке (позиция 4)",
        "Не хватает «)» к скобке (позиция 4)",
        "Очистить список",
        "Анимация",
        "Параметр f (frame)",
        "По умолчанию",
        "Список используемых функций",
        "ОПЕРАТОРЫ|sqrt(x)    - корень квадратный",
        "корень минимум максимум пересечение площадь",
        "Отмена",
        "Отмена",
    });
    const std::string english = Lines({
        "Help",
        "Export picture…",
        "Plot graph",
        "Formula y=",
        "Formula y= Missing “)” for the bracket (position 4)",
        "Missing “)” for the bracket (position 4)",
        "Clear the list",
        "Animation",
        "Parameter f (frame)",
        "Defaults",
        "List of functions",
        "OPERATORS|sqrt(x)    - square root",
        "root minimum maximum intersection area",
        "Cancel",
        "Cancel",
    });
    EXPECT_EQ(Seen(), russian);
    const struct {
        QAction* item;
        TLanguage language;
        const char* saved;
        const std::string& texts;
    } steps[] = {{form->NEnglish, TLanguage::English, "en", english},
                 {form->NRussian, TLanguage::Russian, "ru", russian},
                 {form->NEnglish, TLanguage::English, "en", english}};
    for (const auto& s : steps) {
        s.item->trigger(); // the menu item, as the user picks it
        EXPECT_EQ(CurrentLanguage(), s.language);
        EXPECT_EQ(QSettings().value(QStringLiteral("language")).toString().toStdString(), s.saved);
        EXPECT_TRUE(s.item->isChecked());
        EXPECT_EQ(Seen(), s.texts) << s.saved;
    }
    // In English still: a mode chosen now lays out its captions in English,
    // and a message of a lower library speaks it too.
    form->N3Dzxy->trigger();
    EXPECT_EQ(form->LabelN(3)->text().toStdString(), "Formula z=");
    EXPECT_EQ(form->LabelN(6)->text().toStdString(), "Step");
    form->N3DFxyz->trigger();
    SetEditText(form->EditN(7), QStringLiteral("x-y"));
    SetEditText(form->EditN(13), QStringLiteral("0"));
    RunCommand([&] { form->Button11Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0],
              "Step1 along X must be greater than zero: otherwise the build never ends.");
}

// Every caption, button, check box and group title of every window shows
// its whole text, in every mode and both languages. ctest runs this at 100 %
// and 200 % (the suite's name starts with Density).
using DensityLanguage = Language;

std::vector<std::string> CutOff(QWidget* window) {
    std::vector<std::string> cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        const QFontMetrics fm = w->fontMetrics();
        // The width a text takes, as Qt sizes a control to fit it.
        const auto advance = [&fm](const QString& t) { return fm.horizontalAdvance(t); };
        QString text;
        int needed = 0, room = w->width();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap() || label->textFormat() == Qt::RichText) continue;
            text = label->text();
            needed = advance(text);
            room = label->contentsRect().width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // The room the style leaves the text inside the button.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text = button->text();
            const QStyle::SubElement contents =
                qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                : qobject_cast<QCheckBox*>(w)  ? QStyle::SE_CheckBoxContents
                                               : QStyle::SE_PushButtonContents;
            // The text starts where the style puts it and is clipped by the
            // button's frame; a push button centres it.
            const QRect r = button->style()->subElementRect(contents, &option, button);
            needed = advance(text);
            room = contents == QStyle::SE_PushButtonContents ? button->width() - 2
                                                             : button->width() - r.left();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            needed = advance(text) + 2 * fm.averageCharWidth();
        } else {
            continue;
        }
        // Nor may the window cut the control off.
        const int left = w->mapTo(window, QPoint(0, 0)).x();
        room = std::min(room, window->width() - left - (w->width() - room) / 2);
        if (!text.isEmpty() && needed > room)
            cut.push_back(window->metaObject()->className() + std::string(": «") +
                          text.toStdString() + "» needs " + std::to_string(needed) + ", has " +
                          std::to_string(room));
    }
    return cut;
}

TEST_F(DensityLanguage, NoTextIsCutOffInAnyModeOrLanguage) {
    InstallTextTranslator();
    QAction* modes[] = {form->N2Dyx,  form->N3Dzxy,  form->N3DFxyz,
                        form->N2Dxyt, form->N3Dxyzt, form->N3Dxyzuv};
    for (const TLanguage language : {TLanguage::Russian, TLanguage::English}) {
        ASSERT_TRUE(ApplyLanguage(language));
        for (QAction* mode : modes)
            for (QRadioButton* coordinates : {form->RadioButton1, form->RadioButton2}) {
                mode->trigger();
                if (!coordinates->isHidden()) coordinates->setChecked(true);
                const std::string where =
                    mode->text().toStdString() + ", " + coordinates->text().toStdString();
                QWidget* windowsOfProgram[] = {form,
                                               windows->Form2.get(),
                                               windows->Form3.get(),
                                               windows->Form4.get(),
                                               windows->FormFind.get(),
                                               windows->Frm3D.get()};
                for (QWidget* window : windowsOfProgram)
                    for (const std::string& c : CutOff(window))
                        ADD_FAILURE() << where << ": " << c;
            }
    }
}

} // namespace
