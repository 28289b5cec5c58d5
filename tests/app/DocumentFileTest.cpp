// The program's own document (.mthx) through the window: what it holds that
// the window cannot show yet comes back on a save, a plot file is told what
// it would lose, and the switches and colours come back with the document.
#include "FilesTestSupport.h"

#include "document/DocumentFile.h"

#include <QAction>

#include <nlohmann/json.hpp>

#include <fstream>

namespace {

using json = nlohmann::json;

json JsonOf(const fs::path& p) {
    std::ifstream in(p);
    return json::parse(in);
}

TEST_F(Files, TheDocumentComesBackWithWhatTheWindowDoesNotShow) {
    TDocumentFile d = DocumentOfRecord(*ReadPlotFile([&] {
        Save("start.mth");
        return (dir / "start.mth").string();
    }()));
    for (int k = 0; k < 12; ++k) {
        TGraphStyle g;
        g.Formula = "x+" + std::to_string(k);
        g.Width = 1 + k % 4;
        g.Style = k % 2 ? TLineStyle::Dash : TLineStyle::Solid;
        g.Name = "g" + std::to_string(k);
        d.Graphs.push_back(g);
    }
    d.Record.AllFormulas = true;
    d.Legend = true;
    d.Switches.Grid = false;
    d.Switches.Families[1] = false;
    d.Colours.Values[1] = 0x202020; // a dark background
    d.Unknown = R"({"theme": "dark"})";
    WriteDocumentFile((dir / "styled.mthx").string(), d);

    Open("styled.mthx");
    ASSERT_TRUE(failures.empty()) << failures[0];
    EXPECT_EQ(form->ComboBox1->count(), 12);
    EXPECT_FALSE(form->CheckBox7->isChecked());
    EXPECT_FALSE(form->CheckBox4->isChecked());
    EXPECT_EQ(BackgroundColor, 0x202020u);
    EXPECT_EQ(form->windowTitle().toStdString(), "styled.mthx[*] — Графики функций");
    EXPECT_FALSE(form->isWindowModified());
    // The legend is a switch of the document: a change, and a step to undo.
    EXPECT_TRUE(form->NLegend->isChecked());
    form->NLegend->trigger();
    EXPECT_FALSE(form->NLegend->isChecked());
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(form->NUndo->text().toStdString(), "Отменить: легенда");
    form->UndoClick();
    EXPECT_TRUE(form->NLegend->isChecked());
    EXPECT_FALSE(form->isWindowModified());

    Save("again.mthx");
    const json source = JsonOf(dir / "styled.mthx"), again = JsonOf(dir / "again.mthx");
    EXPECT_EQ(again["list"], source["list"]);
    EXPECT_EQ(again["theme"], "dark");
    EXPECT_EQ(again["legend"], true);
    EXPECT_EQ(again["switches"], source["switches"]);
    EXPECT_EQ(again["colors"], source["colors"]);
    EXPECT_EQ(again["numbers"], source["numbers"]);

    // A plot file asks first, and names what it would lose.
    answer = false;
    Save("lossy.mth");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(
        questions[0].find("графики 11–12, стиль графиков 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, легенда"),
        std::string::npos)
        << questions[0];
    EXPECT_FALSE(fs::exists(dir / "lossy.mth"));
    EXPECT_EQ(form->windowTitle().toStdString(), "again.mthx[*] — Графики функций");
    answer = true;
    Save("lossy.mth");
    ASSERT_TRUE(fs::exists(dir / "lossy.mth"));
    EXPECT_EQ(ReadPlotFile((dir / "lossy.mth").string())->FormulaList[9], "x+9");
    EXPECT_TRUE(failures.empty()) << failures[0];
}

TEST_F(Files, ADocumentThatCannotBeReadChangesNothing) {
    Save("start.mth");
    form->ComboBox1->setEditText("x^3");
    form->Button2Click();
    const std::string title = form->windowTitle().toStdString();
    std::ofstream(dir / "newer.mthx") << R"({"format": "plotter-document", "version": 7})";
    Open("newer.mthx");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "Файл «newer.mthx» не открыт: он записан более новой программой: версия "
                           "документа 7, а эта программа читает версию 1. Всё осталось как было.");
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "x^3");
    EXPECT_EQ(form->windowTitle().toStdString(), title);
}

} // namespace
