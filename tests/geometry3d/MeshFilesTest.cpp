// The mesh files of surfaces whose formulas are undefined on part of the
// grid, as admesh and assimp read them: the cells left out are those with
// a corner outside the closed-form domain; and each STL facet turns the way
// its normal points.
#include "geometry3d/MeshFiles.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What a tool prints (standard output and error); a failure when it fails.
std::string Tool(const std::string& command) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr) {
        ADD_FAILURE() << "cannot start " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(pclose(p), 0) << command << "\n" << out;
    return out;
}

// The number after `label` in a tool's report; -1 when there is none.
long long After(const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return -1;
    const std::size_t digit = text.find_first_of("0123456789", at + label.size());
    return digit == std::string::npos ? -1 : std::stoll(text.substr(digit));
}

class MeshFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        SeedRandom(5);
        RandomiseColourCoeffs();
        dir = fs::temp_directory_path() / ("meshes-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        FreeAllTrees();
        fs::remove_all(dir);
    }
    std::string Write(const std::string& name,
                      const std::function<std::int64_t(TFileSink&)>& writer) {
        const std::string path = (dir / name).string();
        WriteFileAtomically(path, [&](TFileSink& sink) { writer(sink); });
        return path;
    }
    static long long CellsDrawn() {
        long long cells = 0;
        for (int i = 0; i + 1 < SurfaceRows; ++i)
            for (int j = 0; j + 1 < SurfaceCols; ++j)
                cells += Drawable(SurfaceGrid[i][j]) && Drawable(SurfaceGrid[i + 1][j]) &&
                         Drawable(SurfaceGrid[i + 1][j + 1]) && Drawable(SurfaceGrid[i][j + 1]);
        return cells;
    }
    fs::path dir;
};

// On the whole-number grid -5 … 5 (11 × 11 samples, 100 cells):
// sqrt(x) is defined for x >= 0 (6 rows: 5 × 10 cells); ln(x*y) where x and
// y have one sign (two 5 × 5 corners: 2 × 4 × 4 cells); 1/(x-y) off the
// diagonal (the 28 cells with |i - j| <= 1 touch it).
TEST_F(MeshFiles, CellsWithAnUndefinedCornerAreLeftOut) {
    const struct {
        const char* formula;
        long long cells;
    } rows[] = {{"sqrt(x)", 50}, {"ln(x*y)", 32}, {"1/(x-y)", 72}, {"sqrt(-5)+x", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        ASSERT_TRUE(BuildSurfaceZxy(row.formula, {-5, 5, 1, -5, 5, 1}));
        EXPECT_EQ(CellsDrawn(), row.cells);
        if (row.cells == 0) continue;
        const std::string stl = Tool("admesh --exact " + Write("s.stl", WriteSurfaceStl));
        EXPECT_EQ(After(stl, "Number of facets"), 2 * row.cells);
        const std::string obj = Tool("assimp info " + Write("s.obj", WriteSurfaceObj));
        EXPECT_EQ(After(obj, "Faces"), 2 * row.cells);
    }
}

// A parametric surface and a space curve: a point with a domain error is
// no point of the picture, and breaks the curve.
TEST_F(MeshFiles, UndefinedPointsOfPatchesAndCurves) {
    ASSERT_TRUE(BuildParametricSurface("u", "v", "sqrt(u)", {-2, 2, 1, 0, 3, 1}));
    EXPECT_EQ(CellsDrawn(), 2 * 3); // u = 0, 1, 2: two rows of three cells
    ASSERT_TRUE(BuildCurve3D("t", "ln(t*t-1)", "t", -3, 3, 1));
    // t = -3, -2 | -1, 0, 1 undefined | 2, 3: two runs of two points.
    const std::string path = Write("c.obj", WriteCurveObj);
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> polylines;
    for (std::size_t at = text.find("\nl "); at != std::string::npos;
         at = text.find("\nl ", at + 1))
        polylines.push_back(text.substr(at + 1, text.find('\n', at + 1) - at - 1));
    EXPECT_EQ(polylines, (std::vector<std::string>{"l 1 2", "l 6 7"}));
}

// Each facet of the STL lists its corners counter-clockwise seen from the
// side its normal points to, as admesh checks too.
TEST_F(MeshFiles, StlFacetsTurnTheWayTheirNormalsPoint) {
    ASSERT_TRUE(BuildSurfaceZxy("x*x-y*y/2+x*y/3", {-3, 3, 0.5, -2, 2, 0.5}));
    const std::string path = Write("w.stl", WriteSurfaceStl);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::uint32_t count;
    std::memcpy(&count, bytes.data() + 80, 4);
    ASSERT_EQ(count, 2u * CellsDrawn());
    ASSERT_EQ(bytes.size(), 84 + 50u * count);
    for (std::uint32_t k = 0; k < count; ++k) {
        float f[12];
        std::memcpy(f, bytes.data() + 84 + 50 * k, sizeof f);
        const double u[3] = {f[6] - f[3], f[7] - f[4], f[8] - f[5]};
        const double w[3] = {f[9] - f[3], f[10] - f[4], f[11] - f[5]};
        const double turn = f[0] * (u[1] * w[2] - u[2] * w[1]) +
                            f[1] * (u[2] * w[0] - u[0] * w[2]) + f[2] * (u[0] * w[1] - u[1] * w[0]);
        ASSERT_GT(turn, 0) << "facet " << k;
    }
    const std::string report = Tool("admesh --exact --normal-directions " + path);
    EXPECT_EQ(After(report, "Facets reversed"), 0);
    EXPECT_EQ(After(report, "Backwards edges"), 0);
}

} // namespace
