// The language of the window: Помощь → "Язык / Language", and every text
// set again when it changes.
#include "app/TForm1.h"

#include "app/Translation.h"
#include "model/GraphAnalysis.h"

#include <QAction>
#include <QEvent>

void TForm1::RussianClick() {
    ApplyLanguage(TLanguage::Russian);
}

void TForm1::EnglishClick() {
    ApplyLanguage(TLanguage::English);
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateUi();
    QMainWindow::changeEvent(event);
}

void TForm1::CheckLanguageItem() {
    NRussian->setChecked(CurrentLanguage() == TLanguage::Russian);
    NEnglish->setChecked(CurrentLanguage() == TLanguage::English);
}

void TForm1::RetranslateUi() {
    RetranslateTree(this);
    CheckLanguageItem();
    UpdateTitle();
    RebuildRecentMenu();
    UpdateUndoItems();
    ShowStatus(Model.Status);
    if (Analysis) Analysis->Retranslate();
}
