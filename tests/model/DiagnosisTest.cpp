// Which formula of a build the status line tells of, and under what caption.
#include "model/FormulaMessages.h"

#include "document/PlotDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(FirstDiagnosis, TheFirstFormulaTheBuildTakesThatIsNotUnderstood) {
    const auto box = [] { return QStringLiteral("Формула y="); };
    TPlotInput yx;
    yx.Mode = pmYx;
    yx.Formula = "sin(x";
    yx.List = {"x", "cos(x", "ln(x"};
    TPlotInput all = yx;
    all.AllFormulas = true;
    TPlotInput plane;
    plane.Mode = pmPlane;
    SetDocumentDefaults(plane.Document);
    plane.Document.Formulas[fsPlaneX] = "cos(t)";
    plane.Document.Formulas[fsPlaneY] = "2*(t";
    plane.Formula = "sin(x"; // the box is not part of this build
    TPlotInput fine = plane;
    fine.Document.Formulas[fsPlaneY] = "t";
    const struct {
        const char* name;
        const TPlotInput& input;
        const char* told; // empty: nothing
    } cases[] = {
        {"the box", yx, "Формула y= Не хватает «)» к скобке (позиция 4)"},
        {"the list", all, "Формула 2 списка Не хватает «)» к скобке (позиция 4)"},
        {"a mode's slot", plane, "y(t)= Не хватает «)» к скобке (позиция 3)"},
        {"nothing", fine, ""},
    };
    for (const auto& c : cases) {
        const TMessage found = FirstDiagnosis(c.input, box);
        EXPECT_EQ(found ? found().toStdString() : "", c.told) << c.name;
    }
}

} // namespace
