// The command line's work without its options: the points and areas of a
// file's graphs against closed forms, and the 3D picture of a file.
#include "model/Commands.h"

#include "document/PlotFile.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Implicit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cmath>
#include <regex>
#include <stdexcept>

namespace {

class NoProgress : public TScanProgress {
    bool Plane(double, double, double, double) override { return false; }
};

class Commands : public ::testing::Test {
  protected:
    void SetUp() override { DecimalSeparatorChar = '.'; }
    void TearDown() override { FreeAllTrees(); }
    // A file of the start's numbers in `mode`, with `formula` in the box
    // (y(x)) or in the mode's slot.
    std::string File(int mode, const std::string& formula, bool cartesian = true) {
        TPlotFileRecord r;
        TPlotDocument document;
        SetDocumentDefaults(document);
        std::copy(std::begin(document.Numbers), std::end(document.Numbers), r.Numbers);
        r.Mode = mode;
        r.Cartesian = cartesian;
        r.MainFormula = formula;
        if (mode == pmSurface) r.Formulas[fsSurfaceZ] = formula;
        if (mode == pmImplicit) r.Formulas[fsImplicitF] = formula;
        const std::string path = QDir(dir.path()).filePath("f.mth").toStdString();
        WritePlotFile(path, r);
        return path;
    }
    // The x of each line of the kind.
    static std::vector<double> Xs(const std::string& json, const std::string& kind) {
        std::vector<double> xs;
        const std::regex line("\"kind\": \"" + kind + "\", \"x\": ([-0-9.e+]+)");
        for (auto m = std::sregex_iterator(json.begin(), json.end(), line);
             m != std::sregex_iterator(); ++m)
            xs.push_back(std::stod((*m)[1]));
        return xs;
    }
    QTemporaryDir dir;
};

TEST_F(Commands, ThePointsOfAParabolaAreItsClosedForms) {
    const TCommandOutput out = AnalyseGraphs(GraphsOfFile(File(pmYx, "x^2-2")), {}, {});
    const std::vector<double> roots = Xs(out.Out, "root");
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_NEAR(roots[0], -std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(roots[1], std::sqrt(2.0), 1e-12);
    const std::vector<double> minima = Xs(out.Out, "min");
    ASSERT_EQ(minima.size(), 1u);
    EXPECT_NEAR(minima[0], 0, 1e-6);
    EXPECT_TRUE(out.Err.empty());
    // On a segment that holds one root only.
    EXPECT_EQ(Xs(AnalyseGraphs(GraphsOfFile(File(pmYx, "x^2-2")), 0.5, 3).Out, "root").size(), 1u);
}

TEST_F(Commands, TheAreaUnderAParabola) {
    const TCommandOutput out = IntegrateGraphs(GraphsOfFile(File(pmYx, "x^2")), 0, 3);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(out.Out, m, std::regex("\"area\": ([-0-9.e+]+)")));
    EXPECT_NEAR(std::stod(m[1]), 9, 1e-12);
}

TEST_F(Commands, FilesTheyCannotWorkOnAreRefused) {
    EXPECT_THROW(GraphsOfFile(File(pmYx, "x", false)), std::runtime_error); // polar
    EXPECT_THROW(GraphsOfFile(File(pmSurface, "x")), std::runtime_error);
    EXPECT_THROW(GraphsOfFile(File(pmYx, "")), std::runtime_error);
    EXPECT_THROW(IntegrateGraphs(GraphsOfFile(File(pmYx, "1/x")), -1, 1), std::runtime_error);
    EXPECT_THROW(NumberOf("1/0", "from"), std::invalid_argument);
    EXPECT_THROW(NumberOf("1..2", "from"), std::invalid_argument);
    EXPECT_DOUBLE_EQ(NumberOf("2*pi", "from"), 2 * M_PI);
}

TEST_F(Commands, TheSurfaceOfAFileIsBuiltOverItsRanges) {
    NoProgress progress;
    const TPlotInput input = AsLaidOut(InputOfFile(File(pmSurface, "x*y")));
    EXPECT_EQ(BuildForExport(input, 1, DefaultMaxScanSamples, false, progress), "");
    // The start's ranges: x and y from -10 to 10 by 0.2.
    EXPECT_EQ(SurfaceRows, 101);
    EXPECT_EQ(SurfaceCols, 101);
    const TPlotInput implicit = AsLaidOut(InputOfFile(File(pmImplicit, "x^2+y^2+z^2-25")));
    EXPECT_THROW(BuildForExport(implicit, 1, 1000, false, progress), std::runtime_error);
    const TPlotInput empty = AsLaidOut(InputOfFile(File(pmSurface, "")));
    EXPECT_THROW(BuildForExport(empty, 1, DefaultMaxScanSamples, false, progress),
                 std::runtime_error);
}

} // namespace
