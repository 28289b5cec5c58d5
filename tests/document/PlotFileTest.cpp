// The plot file: its bytes, its text in Windows-1251, the files it reads and
// refuses, and writes that fail at any step without touching an older file.
#include "document/PlotFile.h"

#include "SaveFaults.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

// The record of a window right after start.
TPlotFileRecord StartRecord() {
    TPlotFileRecord r;
    r.FirstFrame = 1;
    r.LastFrame = 20;
    r.FrameInterval = 50;
    r.Mode = 1;
    TPlotDocument doc;
    SetDocumentDefaults(doc);
    for (int k = 0; k < DocumentNumberCount; ++k)
        r.Numbers[k] = doc.Numbers[k];
    return r;
}

class PlotFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("plotfile-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        ClearFileFaults();
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path dir;
};

TEST_F(PlotFile, TheBytesOfAFileSavedRightAfterStart) {
    const auto b = EncodePlotFile(StartRecord());
    ASSERT_EQ(b.size(), 2680u);
    const std::uint8_t head[24] = {1, 0, 0, 0, 20, 0, 0, 0, 50, 0, 0, 0,
                                   1, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    EXPECT_EQ(std::memcmp(b.data(), head, sizeof head), 0);
    // Every length byte 0: the formula box, the list, the result, the slots.
    for (std::size_t at : {24, 1135})
        EXPECT_EQ(b[at], 0) << at;
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(b[125 + 101 * k], 0) << k;
        EXPECT_EQ(b[1239 + 101 * k], 0) << k;
    }
    EXPECT_EQ(b[1236], 0); // "Все"
    EXPECT_EQ(b[1237], 1); // "декарт"
    EXPECT_EQ(b[1238], 0); // "Цикл"
    for (int k = 2249; k < 2256; ++k)
        EXPECT_EQ(b[k], 0) << k; // padding
    const struct {
        int index;
        double value;
    } numbers[] = {{YxPhiMax, 6.283185307179586},
                   {SurfXStep, 0.2},
                   {PatchVStep, 0.3141592653589793},
                   {YxCartX1, -10}};
    for (const auto& n : numbers) {
        double v;
        std::memcpy(&v, b.data() + 2256 + 8 * n.index, 8);
        EXPECT_EQ(v, n.value) << n.index;
    }
    EXPECT_EQ(b[2256 + 8 * YxPhiMax + 7], 0x40); // little-endian: the sign and exponent last
}

TEST_F(PlotFile, RecordsComeBackAsTheyWere) {
    TPlotFileRecord r = StartRecord();
    r.FirstFrame = -3;
    r.LastFrame = 2147483647;
    r.FrameInterval = 0;
    r.Mode = 6;
    r.X0 = -2.5;
    r.MainFormula = "sin(x)*Привет";
    r.FormulaList[0] = "x";
    r.FormulaList[1] = "cos(x)";
    r.FormulaList[2] = "x*x";
    r.ResultText = "2.62441295442369";
    r.AllFormulas = true;
    r.Cartesian = false;
    r.LoopAnimation = true;
    r.Formulas[fsCurveZ] = "t/5";
    r.Numbers[ImplZStep2] = 0.125;
    const auto bytes = EncodePlotFile(r);
    const TPlotFileRecord back = DecodePlotFile(bytes.data(), bytes.size());
    EXPECT_EQ(back.FirstFrame, -3);
    EXPECT_EQ(back.LastFrame, 2147483647);
    EXPECT_EQ(back.Mode, 6);
    EXPECT_EQ(back.X0, -2.5);
    EXPECT_EQ(back.MainFormula, "sin(x)*Привет");
    EXPECT_EQ(back.FormulaList[2], "x*x");
    EXPECT_EQ(back.FormulaList[3], "");
    EXPECT_EQ(back.ResultText, "2.62441295442369");
    EXPECT_TRUE(back.AllFormulas);
    EXPECT_FALSE(back.Cartesian);
    EXPECT_TRUE(back.LoopAnimation);
    EXPECT_EQ(back.Formulas[fsCurveZ], "t/5");
    EXPECT_EQ(back.Numbers[ImplZStep2], 0.125);
    EXPECT_EQ(EncodePlotFile(back), bytes);
}

TEST_F(PlotFile, TextIsWindows1251AndCutTo100Characters) {
    EXPECT_EQ(ToWindows1251("Пx"), std::string("\xCFx"));
    EXPECT_EQ(FromWindows1251("\xCF\xF0\xE8"), "При");
    EXPECT_EQ(ToWindows1251("日x"), "?x");                  // not in the code page
    EXPECT_EQ(ToWindows1251("a\xFFz"), "a?z");              // not UTF-8
    EXPECT_EQ(FromWindows1251("a\x98z"), "a\xEF\xBF\xBDz"); // undefined in the code page
    TPlotFileRecord r;
    r.Formulas[0] = std::string(150, 'x');
    r.MainFormula = std::string(120, 'x');
    std::string cyrillic;
    for (int i = 0; i < 130; ++i)
        cyrillic += "ж";
    r.ResultText = cyrillic;
    const auto bytes = EncodePlotFile(r);
    EXPECT_EQ(bytes[1239], 100);
    EXPECT_EQ(bytes[24], 100);
    EXPECT_EQ(bytes[1135], 100);
    const TPlotFileRecord back = DecodePlotFile(bytes.data(), bytes.size());
    EXPECT_EQ(back.Formulas[0], std::string(100, 'x'));
    EXPECT_EQ(back.ResultText, cyrillic.substr(0, 200)); // 100 two-byte characters
}

TEST_F(PlotFile, ForeignLengthBytesAndBooleansAreTakenSafely) {
    auto bytes = EncodePlotFile(StartRecord());
    for (std::size_t at : {std::size_t{24}, std::size_t{1135}, std::size_t{1239 + 101 * 9}}) {
        for (int length : {101, 200, 255}) {
            auto b = bytes;
            b[at] = static_cast<std::uint8_t>(length);
            std::memset(b.data() + at + 1, 'a', 100);
            const TPlotFileRecord r = DecodePlotFile(b.data(), b.size());
            const std::string field = at == 24     ? r.MainFormula
                                      : at == 1135 ? r.ResultText
                                                   : r.Formulas[9];
            EXPECT_EQ(field, std::string(100, 'a')) << at << " " << length;
        }
    }
    bytes[1236] = 7;
    bytes[1237] = 0;
    const TPlotFileRecord r = DecodePlotFile(bytes.data(), bytes.size());
    EXPECT_TRUE(r.AllFormulas);
    EXPECT_FALSE(r.Cartesian);
    bytes[12] = 0x03;
    bytes[13] = 0x01; // the mode is the lowest byte
    EXPECT_EQ(RecordMode(DecodePlotFile(bytes.data(), bytes.size())), 3);
}

// Each of the 21 text fields with each length byte: the text is the field's
// first min(length, 100) bytes, and no field reads into its neighbour.
TEST_F(PlotFile, EveryLengthByteOfEveryTextField) {
    std::vector<std::size_t> fields = {24, 1135};
    for (int k = 0; k < PlotFileListSlots; ++k) {
        fields.push_back(125 + 101 * k);
        fields.push_back(1239 + 101 * k);
    }
    const auto text = [](const TPlotFileRecord& r, std::size_t at) -> const std::string& {
        if (at == 24) return r.MainFormula;
        if (at == 1135) return r.ResultText;
        if (at < 1135) return r.FormulaList[(at - 125) / 101];
        return r.Formulas[(at - 1239) / 101];
    };
    auto bytes = EncodePlotFile(StartRecord());
    for (std::size_t at : fields)
        for (int i = 1; i <= 100; ++i)
            bytes[at + i] = static_cast<std::uint8_t>('0' + i % 10);
    for (std::size_t at : fields) {
        for (int length = 0; length <= 255; ++length) {
            auto b = bytes;
            b[at] = static_cast<std::uint8_t>(length);
            const TPlotFileRecord r = DecodePlotFile(b.data(), b.size());
            const std::string expected(reinterpret_cast<const char*>(b.data() + at + 1),
                                       static_cast<std::size_t>(std::min(length, 100)));
            EXPECT_EQ(text(r, at), expected) << at << " " << length;
            for (std::size_t other : fields) {
                if (other == at) continue;
                EXPECT_TRUE(text(r, other).empty()) << at << " " << other;
            }
        }
    }
}

TEST_F(PlotFile, EveryShortLengthIsRefused) {
    const auto bytes = EncodePlotFile(StartRecord());
    for (std::size_t n = 0; n < PlotFileRecordSize; ++n)
        EXPECT_THROW(DecodePlotFile(bytes.data(), n), PlotFileError) << n;
    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.resize(3000, 0xEE); // bytes after the record are ignored
    EXPECT_EQ(DecodePlotFile(longer.data(), longer.size()).LastFrame, 20);
}

TEST_F(PlotFile, NumbersThatAreNotFiniteBecomeDefaults) {
    TPlotFileRecord r = StartRecord();
    r.Numbers[YxCartX1] = std::numeric_limits<double>::quiet_NaN();
    r.Numbers[SurfXMax] = std::numeric_limits<double>::infinity();
    r.Numbers[CurveTMin] = -7;
    r.Formulas[fsSurfaceZ] = "x*y";
    TPlotDocument doc;
    EXPECT_TRUE(DocumentFromRecord(r, doc));
    EXPECT_EQ(doc.Numbers[YxCartX1], -10);
    EXPECT_EQ(doc.Numbers[SurfXMax], 10);
    EXPECT_EQ(doc.Numbers[CurveTMin], -7);
    EXPECT_EQ(doc.Formulas[fsSurfaceZ], "x*y");
    EXPECT_FALSE(DocumentFromRecord(StartRecord(), doc));
}

TEST_F(PlotFile, NamesGetTheirExtension) {
    EXPECT_EQ(PlotFileName("plot"), "plot.mth");
    EXPECT_EQ(PlotFileName("plot.mth"), "plot.mth");
    EXPECT_EQ(PlotFileName("PLOT.MTH"), "PLOT.MTH.mth");
    EXPECT_EQ(PlotFileName("/a/b.mth.x"), "/a/b.mth.x.mth");
}

TEST_F(PlotFile, WrittenFilesReadBack) {
    const fs::path p = dir / "plot.mth";
    WritePlotFile(p, StartRecord());
    EXPECT_EQ(fs::file_size(p), 2680u);
    const auto r = ReadPlotFile(p);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->LastFrame, 20);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    // A read-only file is opened all the same.
    fs::permissions(p, fs::perms::owner_read, fs::perm_options::replace);
    EXPECT_TRUE(ReadPlotFile(p).has_value());
}

TEST_F(PlotFile, FilesThatAreNotPlotsAreRefusedOrIgnored) {
    WriteBytes(dir / "empty.mth", {});
    EXPECT_FALSE(ReadPlotFile(dir / "empty.mth").has_value());
    WriteBytes(dir / "short.mth", std::vector<std::uint8_t>(100, 1));
    try {
        ReadPlotFile(dir / "short.mth");
        ADD_FAILURE() << "a file of 100 bytes was read";
    } catch (const PlotFileError& e) {
        EXPECT_NE(std::string(e.what()).find("short.mth» не прочитан: он короче"),
                  std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("(Read beyond end of file)"), std::string::npos);
    }
    try {
        ReadPlotFile(dir / "missing.mth");
        ADD_FAILURE() << "a missing file was read";
    } catch (const PlotFileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.mth» не прочитан: такого файла нет (File "
                                             "not found)."),
                  std::string::npos)
            << e.what();
    }
    EXPECT_THROW(ReadPlotFile(dir), PlotFileError); // a folder
}

// Each step of a save made to fail: the earlier file stays byte for byte,
// no half-written file is left beside it, and the reason is given.
TEST_F(PlotFile, ASaveThatFailsAtAnyStepKeepsTheOldFile) {
    const fs::path p = dir / "plot.mth";
    TPlotFileRecord old = StartRecord();
    old.MainFormula = "the old one";
    WritePlotFile(p, old);
    const auto before = Bytes(p);
    TPlotFileRecord changed = StartRecord();
    changed.MainFormula = "the new one";
    for (const TSaveFault& c : SaveFaults) {
        ClearFileFaults();
        c.breakIt(FileFaults());
        try {
            WritePlotFile(p, changed);
            ADD_FAILURE() << c.name << ": the save did not fail";
        } catch (const PlotFileError& e) {
            // The file, and the run-time's words for the cause.
            const std::string what = e.what();
            EXPECT_EQ(what.rfind("Файл «" + p.string() + "» не записан: ", 0), 0u) << what;
            EXPECT_NE(what.find("(" + std::string(c.message) + ")."), std::string::npos)
                << c.name << ": " << what;
        }
        EXPECT_EQ(Bytes(p), before) << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
            << c.name << ": something was left beside the file";
    }
    ClearFileFaults();
    WritePlotFile(p, changed);
    EXPECT_NE(Bytes(p), before);
}

TEST_F(PlotFile, AReadOnlyFolderRefusesTheSave) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes anywhere";
    const fs::path p = dir / "plot.mth";
    WritePlotFile(p, StartRecord());
    const auto before = Bytes(p);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    try {
        WritePlotFile(p, StartRecord());
        ADD_FAILURE() << "saved into a read-only folder";
    } catch (const PlotFileError& e) {
        EXPECT_NE(std::string(e.what()).find("(File access denied)"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(Bytes(p), before);
}

} // namespace
