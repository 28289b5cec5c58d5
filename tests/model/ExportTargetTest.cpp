// What the export dialog's answer means: the file's name, its format and a
// PNG's size; and where the dialog starts.
#include "model/Export.h"

#include "document/PlotDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportTarget, TheNameDecidesTheFormatAndTheChoiceTheRest) {
    const std::vector<TExportChoice> choices = ExportChoices(pmYx);
    const QString png800 = choices[1].Filter; // "PNG, 800 × 800 (*.png)"
    const QString svg = choices[3].Filter;
    ASSERT_EQ(choices[1].Size, QSize(800, 800));
    const struct {
        const char* path;
        QString filter;
        const char* out;
        TExportFormat format;
        QSize size;
    } cases[] = {
        {"/tmp/a", png800, "/tmp/a.png", TExportFormat::Png, {800, 800}},
        {"/tmp/a.PNG", png800, "/tmp/a.PNG", TExportFormat::Png, {800, 800}},
        {"/tmp/a", svg, "/tmp/a.svg", TExportFormat::Svg, {}},
        // A name of another format than the one chosen: the name's, at its own size.
        {"/tmp/a.pdf", png800, "/tmp/a.pdf", TExportFormat::Pdf, {}},
        {"/tmp/a.png", svg, "/tmp/a.png", TExportFormat::Png, {}},
        // A dot in the folder's name is no extension.
        {"/tmp/v1.2/a", svg, "/tmp/v1.2/a.svg", TExportFormat::Svg, {}},
        // A filter that is not among the choices: the first choice.
        {"/tmp/a", "?", "/tmp/a.png", TExportFormat::Png, {400, 400}},
    };
    for (const auto& c : cases) {
        const TExportTarget t = ExportTarget(QString::fromUtf8(c.path), choices, c.filter);
        EXPECT_EQ(t.Path.toStdString(), c.out) << c.path;
        EXPECT_EQ(t.Format, c.format) << c.path;
        EXPECT_EQ(t.Size, c.size) << c.path;
    }
}

TEST(ExportTarget, TheDialogStartsBesideTheOpenFile) {
    EXPECT_EQ(ExportStart("", "/home/u/plots").toStdString(), "/home/u/plots");
    EXPECT_EQ(ExportStart("/home/u/a.b.mth", "/x").toStdString(), "/home/u/a.b");
}

} // namespace
