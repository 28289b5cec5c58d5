// The program's own document (.mthx): plot files through it and back byte
// for byte, documents through the model and back as the same JSON, the
// keys of later programs kept, and every refusal before anything is used.
#include "document/DocumentFile.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

TPlotFileRecord DefaultRecord(int mode) {
    TPlotFileRecord r;
    r.FirstFrame = 1;
    r.LastFrame = 20;
    r.FrameInterval = 50;
    r.Mode = mode;
    TPlotDocument doc;
    SetDocumentDefaults(doc);
    for (int k = 0; k < DocumentNumberCount; ++k)
        r.Numbers[k] = doc.Numbers[k];
    return r;
}

// Records as the window writes them: every mode, numbers at full precision
// and at the ends of the doubles, texts in Cyrillic, a full list, polar
// coordinates, the ends of the 32-bit frames.
std::vector<TPlotFileRecord> GoldenRecords() {
    std::vector<TPlotFileRecord> records;
    for (int mode = pmYx; mode <= pmImplicit; ++mode)
        records.push_back(DefaultRecord(mode));
    TPlotFileRecord full = DefaultRecord(pmYx);
    full.MainFormula = "sin(x)*x";
    for (int k = 0; k < PlotFileListSlots; ++k)
        full.FormulaList[k] = "x^" + std::to_string(k + 1);
    full.AllFormulas = true;
    full.X0 = 0.1 + 0.2;
    full.ResultText = "0.0886560619984019";
    full.LoopAnimation = true;
    full.FirstFrame = std::numeric_limits<std::int32_t>::min();
    full.LastFrame = std::numeric_limits<std::int32_t>::max();
    full.FrameInterval = -40;
    full.Numbers[YxCartStep] = std::nextafter(0.05, 1.0);
    full.Numbers[YxPhiMax] = 6.283185307179586;
    full.Numbers[SurfXMin] = -0.0;
    full.Numbers[SurfXMax] = std::numeric_limits<double>::denorm_min();
    full.Numbers[PatchVMax] = std::numeric_limits<double>::max();
    full.Formulas[fsImplicitF] = "x^2+y^2-z^2-1";
    records.push_back(full);
    TPlotFileRecord polar = DefaultRecord(pmPlane);
    polar.Cartesian = false;
    polar.Formulas[fsPlaneX] = "t";
    polar.Formulas[fsPlaneY] = "1+cos(t)";
    polar.MainFormula = "Ж(x)"; // a text as a user may type it
    polar.FormulaList[0] = "x";
    polar.FormulaList[2] = "x+2"; // an empty slot between two
    records.push_back(polar);
    return records;
}

TEST(DocumentFile, EveryGoldenRecordComesBackByteForByte) {
    for (const TPlotFileRecord& r : GoldenRecords()) {
        const auto bytes = EncodePlotFile(r);
        const TPlotFileRecord read = DecodePlotFile(bytes.data(), bytes.size());
        const std::string text = DocumentJson(DocumentOfRecord(read));
        const auto back = EncodePlotFile(RecordOfDocument(DocumentOfJson(text)));
        EXPECT_TRUE(back == bytes) << text;
    }
}

// A document of a later program: more graphs than a plot file holds, their
// styles, keys this version does not know at the top and in a graph.
std::string Styled(int graphs) {
    json j = {{"format", "plotter-document"},
              {"version", 1},
              {"mode", "y(x)"},
              {"coordinates", "cartesian"},
              {"view", {{"x1", -2.5}, {"x2", 2.5}, {"y1", -1}, {"y2", 1}}},
              {"formula", "sin(x)"},
              {"all", true},
              {"legend", true},
              {"exactGraphs", true},
              {"derivatives", {2}},
              {"parameters",
               {{{"name", "a"},
                 {"value", 2.5},
                 {"min", -5},
                 {"max", 5},
                 {"step", 0.25},
                 {"play", "bounce"},
                 {"speed", 4},
                 {"easing", "linear"}},
                {{"name", "k2"}, {"play", nullptr}}}},
              {"theme", {{"dark", true}}}};
    for (int k = 0; k < graphs; ++k)
        j["list"].push_back({{"formula", "sin(x+" + std::to_string(k) + ")"},
                             {"color", k % 2 ? "#ff8000" : "#0000ff"},
                             {"width", 1 + k % 8},
                             {"style", k % 3 == 0   ? "solid"
                                       : k % 3 == 1 ? "dash"
                                                    : "dot"},
                             {"visible", k % 5 != 0},
                             {"name", "график " + std::to_string(k)},
                             {"opacity", 0.5}});
    if (graphs > 4) {
        j["list"][4]["derivatives"] = {2, 1};
        j["list"][4]["antiderivative"] = {{"x0", 1.5}, {"y0", -2}};
    }
    return j.dump();
}

TEST(DocumentFile, ADocumentComesBackAsTheSameJson) {
    const TDocumentFile d = DocumentOfJson(Styled(120));
    ASSERT_EQ(d.Graphs.size(), 120u);
    EXPECT_EQ(d.Graphs[7].Width, 8);
    EXPECT_EQ(d.Graphs[7].Style, TLineStyle::Dash);
    EXPECT_EQ(d.Graphs[7].Colour, 0x0080FFu); // #ff8000 as the colour block keeps it
    EXPECT_FALSE(d.Graphs[10].Visible);
    EXPECT_EQ(d.Graphs[3].Name, "график 3");
    EXPECT_TRUE(d.Legend);
    EXPECT_TRUE(d.ExactGraphs);
    EXPECT_TRUE(InputFromDocument(d).ExactGraphs);
    // f′, f″ and ∫f through (1.5, -2) beside graph 5, f″ beside the box's.
    const TGraphCalculus beside = d.Graphs[4].Calculus;
    EXPECT_TRUE(beside.First && beside.Second && beside.Antiderivative);
    EXPECT_EQ(beside.X0, 1.5);
    EXPECT_EQ(beside.Y0, -2);
    EXPECT_FALSE(d.Graphs[3].Calculus.Any());
    EXPECT_EQ(InputFromDocument(d).Pens[4].Calculus, beside);
    EXPECT_TRUE(!d.FormulaCalculus.First && d.FormulaCalculus.Second);
    EXPECT_EQ(InputFromDocument(d).FormulaCalculus, d.FormulaCalculus);
    // The view is the 2D view of the mode.
    EXPECT_EQ(d.Record.Numbers[YxCartX1], -2.5);
    EXPECT_EQ(d.Record.Numbers[YxCartY2], 1);
    const json once = json::parse(DocumentJson(d));
    const json twice = json::parse(DocumentJson(DocumentOfJson(once.dump())));
    EXPECT_EQ(once, twice);
    EXPECT_EQ(once["theme"]["dark"], true);
    EXPECT_EQ(once["list"][4]["opacity"], 0.5);
    EXPECT_EQ(once["numbers"]["yx.x1"], -2.5);
    // The parameters, with what a key left out means, and a later key kept.
    ASSERT_EQ(d.Parameters.size(), 2u);
    EXPECT_EQ(d.Parameters[0].Value, 2.5);
    EXPECT_EQ(d.Parameters[0].Step, 0.25);
    EXPECT_EQ(d.Parameters[0].Play, TPlay::Bounce);
    EXPECT_EQ(d.Parameters[1].Value, 1);
    EXPECT_EQ(d.Parameters[1].Min, -10);
    EXPECT_EQ(d.Parameters[1].Play, TPlay::None);
    EXPECT_EQ(once["parameters"][0]["easing"], "linear");
    EXPECT_EQ(once["list"][4]["derivatives"], json({1, 2}));
    EXPECT_FALSE(once["list"][3].contains("derivatives"));
    EXPECT_FALSE(once["list"][3].contains("antiderivative"));
    EXPECT_TRUE(once["parameters"][1]["play"].is_null());
}

TEST(DocumentFile, WhatAPlotFileWouldLose) {
    TDocumentFile d = DocumentOfRecord(GoldenRecords()[6]);
    EXPECT_EQ(LostInRecord(d), "");
    d.Graphs.resize(30);
    d.Graphs[1].Width = 3;
    d.Graphs[4].Style = TLineStyle::Dot;
    d.Legend = true;
    EXPECT_EQ(LostInRecord(d), "графики 11–30, стиль графиков 2, 5, легенда");
    // A plot file takes the first ten formulas.
    d.Graphs[9].Formula = "x^10";
    EXPECT_EQ(RecordOfDocument(d).FormulaList[9], "x^10");
    d.Graphs.resize(3);
    d.Graphs[1].Width = 1; // graph 2 plain again
    d.Legend = false;
    EXPECT_EQ(LostInRecord(d), "");
    d.Graphs[2].Visible = false;
    EXPECT_EQ(LostInRecord(d), "стиль графика 3");
    d.Graphs[2].Visible = true;
    d.Parameters.emplace_back();
    d.Parameters.back().Name = "a";
    EXPECT_EQ(LostInRecord(d), "параметры");
    d.Parameters.clear();
    d.ExactGraphs = true;
    EXPECT_EQ(LostInRecord(d), "точный рисунок графиков");
    d.ExactGraphs = false;
    d.Graphs[1].Calculus.Antiderivative = true;
    EXPECT_EQ(LostInRecord(d), "производные и первообразные");
}

std::string RefusalOf(const std::string& text) {
    try {
        DocumentOfJson(text);
    } catch (const PlotFileError& e) {
        return e.what();
    }
    return "(taken)";
}

TEST(DocumentFile, WhatIsNoSuchDocumentIsRefusedWithItsReason) {
    json newer = json::parse(Styled(2));
    newer["version"] = 2;
    json wrongWidth = json::parse(Styled(5));
    wrongWidth["list"][3]["width"] = "thick";
    json tooWide = json::parse(Styled(5));
    tooWide["list"][1]["width"] = 9;
    json badColour = json::parse(Styled(1));
    badColour["list"][0]["color"] = "blue";
    json badMode = json::parse(Styled(0));
    badMode["mode"] = "r(fi)";
    json badNumber = json::parse(Styled(0));
    badNumber["numbers"] = {{"surface.xMin", "-4"}};
    json order = json::parse(Styled(5));
    order["list"][4]["derivatives"] = {1, 3};
    json start = json::parse(Styled(5));
    start["list"][4]["antiderivative"]["x0"] = "Infinity";
    json frames = json::parse(Styled(0));
    frames["animation"] = {{"last", 4294967296LL}};
    const auto parameter = [](const char* key, json value) {
        json j = json::parse(Styled(0));
        j["parameters"][1][key] = std::move(value);
        return j.dump();
    };
    const std::string text = Styled(3);
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::string large = text;
    large.insert(large.size() - 1, ",\"padding\":\"" + std::string(50u << 20, ' ') + "\"");
    const struct {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"newer", newer.dump(), "версия документа 2, а эта программа читает версию 1"},
        {"a wrong type", wrongWidth.dump(),
         "значение «/list/3/width» должно быть целым числом от 1 до 8"},
        {"too wide", tooWide.dump(), "«/list/1/width»"},
        {"a colour", badColour.dump(), "«/list/0/color» должно быть цветом"},
        {"a mode", badMode.dump(), "«/mode» должно быть одним из: \"y(x)\""},
        {"a number as text", badNumber.dump(), "«/numbers/surface.xMin» должно быть числом"},
        {"a frame beyond 32 bits", frames.dump(), "«/animation/last»"},
        {"a third derivative", order.dump(), "«/list/4/derivatives/1» должно быть числом 1 или 2"},
        {"an infinite start", start.dump(),
         "«/list/4/antiderivative/x0» должно быть конечным числом"},
        {"a parameter's name", parameter("name", "2a"), "«/parameters/1/name» должно быть именем"},
        {"the same name twice", parameter("name", "A"), "«/parameters/1/name»"},
        {"an empty range", parameter("min", 10), "«/parameters/1/max» должно быть числом больше"},
        {"no step", parameter("step", 0), "«/parameters/1/step» должно быть числом больше 0"},
        {"a value as text", parameter("value", "1"), "«/parameters/1/value» должно быть числом"},
        {"a way to play", parameter("play", "fast"), "«/parameters/1/play» должно быть одним из"},
        {"truncated", text.substr(0, text.size() / 2), "в нём не JSON"},
        {"a number beyond the doubles",
         R"({"format": "plotter-document", "version": 1, "x0": 1e400})", "в нём не JSON"},
        {"another JSON", "{\"format\": \"geojson\"}", "нет \"format\": \"plotter-document\""},
        {"an array", "[1, 2]", "нет \"format\""},
        {"deeply nested", deep, "вложенность в нём глубже 32"},
        {"50 MB", large, "он больше 16 МБ"},
    };
    for (const auto& c : cases)
        EXPECT_NE(RefusalOf(c.text).find(c.reason), std::string::npos)
            << c.name << ": " << RefusalOf(c.text);
}

class DocumentFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("documentfile-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(DocumentFiles, WrittenFilesReadBackAndMeetTheSchema) {
    const std::vector<TPlotFileRecord> records = GoldenRecords();
    std::vector<fs::path> written;
    for (std::size_t k = 0; k < records.size(); ++k) {
        written.push_back(dir / ("golden" + std::to_string(k) + ".mthx"));
        WriteDocumentFile(written.back().string(), DocumentOfRecord(records[k]));
    }
    written.push_back(dir / "styled.MTHX");
    WriteDocumentFile(written.back().string(), DocumentOfJson(Styled(100)));
    for (const fs::path& p : written) {
        EXPECT_TRUE(IsDocumentFileName(p.string()));
        EXPECT_NO_THROW(ReadDocumentFile(p.string())) << p;
        // Checked by a validator of JSON Schema that is not ours.
        const std::string check = "/usr/bin/python3 -m jsonschema -i '" + p.string() + "' '" +
                                  PLOTTER_SOURCE_DIR "/docs/document.schema.json'";
        EXPECT_EQ(std::system(check.c_str()), 0) << p;
    }
    EXPECT_FALSE(IsDocumentFileName((dir / "a.mth").string()));
    // A file that is not there, and a folder, name the file.
    for (const char* name : {"none.mthx", ""}) {
        try {
            ReadDocumentFile((dir / name).string());
            ADD_FAILURE() << name;
        } catch (const PlotFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Файл «", 0), 0u) << e.what();
        }
    }
}

} // namespace
