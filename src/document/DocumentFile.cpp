#include "document/DocumentFile.h"

#include "document/AtomicFile.h"
#include "texts/Texts.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace {

using json = nlohmann::ordered_json;

// The document's numbers and formulas by name, in the order of the record.
constexpr const char* NumberNames[DocumentNumberCount] = {"yx.fiMin",
                                                          "yx.fiMax",
                                                          "yx.step",
                                                          "yx.polar.step",
                                                          "yx.y2",
                                                          "yx.y1",
                                                          "yx.x2",
                                                          "yx.x1",
                                                          "yx.polar.y2",
                                                          "yx.polar.y1",
                                                          "yx.polar.x2",
                                                          "yx.polar.x1",
                                                          "plane.tMin",
                                                          "plane.tMax",
                                                          "plane.tStep",
                                                          "plane.polar.tMin",
                                                          "plane.polar.tMax",
                                                          "plane.polar.tStep",
                                                          "plane.y2",
                                                          "plane.y1",
                                                          "plane.x2",
                                                          "plane.x1",
                                                          "plane.polar.y2",
                                                          "plane.polar.y1",
                                                          "plane.polar.x2",
                                                          "plane.polar.x1",
                                                          "surface.xMin",
                                                          "surface.xMax",
                                                          "surface.xStep",
                                                          "surface.yMin",
                                                          "surface.yMax",
                                                          "surface.yStep",
                                                          "implicit.xMin",
                                                          "implicit.xMax",
                                                          "implicit.xStep1",
                                                          "implicit.xStep2",
                                                          "implicit.yMin",
                                                          "implicit.yMax",
                                                          "implicit.yStep1",
                                                          "implicit.yStep2",
                                                          "implicit.zMin",
                                                          "implicit.zMax",
                                                          "implicit.zStep1",
                                                          "implicit.zStep2",
                                                          "curve.tMin",
                                                          "curve.tMax",
                                                          "curve.tStep",
                                                          "patch.uMin",
                                                          "patch.uMax",
                                                          "patch.uStep",
                                                          "patch.vMin",
                                                          "patch.vMax",
                                                          "patch.vStep"};
constexpr const char* FormulaNames[DocumentFormulaCount] = {
    "plane.x", "plane.y", "surface.z", "curve.x", "curve.y",
    "curve.z", "patch.x", "patch.y",   "patch.z", "implicit.F"};
// By mode code.
constexpr const char* ModeNames[] = {
    "", "y(x)", "z(x,y)", "x(t),y(t)", "x(t),y(t),z(t)", "x(u,v),y(u,v),z(u,v)", "F(x,y,z)=0"};
constexpr const char* StyleNames[] = {"solid", "dash", "dot"};

[[noreturn]] void Refuse(const std::string& reason) {
    throw PlotFileError(reason);
}

// --- writing

std::string Hex(TColorValue c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
}

json Number(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
    return v;
}

json Kept(const std::string& unknown) {
    return unknown.empty() ? json::object() : json::parse(unknown);
}

// The view numbers of a mode's 2D picture: x1, x2, y1, y2.
std::array<TNumberIndex, 4> ViewIndexes(int mode, bool cartesian) {
    if (mode == pmPlane)
        return cartesian ? std::array{PlaneCartX1, PlaneCartX2, PlaneCartY1, PlaneCartY2}
                         : std::array{PlanePolarX1, PlanePolarX2, PlanePolarY1, PlanePolarY2};
    return cartesian ? std::array{YxCartX1, YxCartX2, YxCartY1, YxCartY2}
                     : std::array{YxPolarX1, YxPolarX2, YxPolarY1, YxPolarY2};
}

// --- reading: each value checked for its type where it is taken

std::string Path(const std::string& parent, const std::string& key) {
    return parent + "/" + key;
}

[[noreturn]] void WrongValue(const std::string& path, const std::string& what) {
    Refuse(texts::Fill(texts::Translate("DocumentFile", "значение «%1» должно быть %2"),
                       {path, what}));
}

const json* Find(const json& object, const char* key) {
    const auto at = object.find(key);
    return at == object.end() ? nullptr : &*at;
}

std::string TextAt(const json& object, const char* key, const std::string& parent,
                   const std::string& fallback) {
    const json* v = Find(object, key);
    if (v == nullptr) return fallback;
    if (!v->is_string()) WrongValue(Path(parent, key), texts::Translate("DocumentFile", "строкой"));
    return v->get<std::string>();
}

bool BoolAt(const json& object, const char* key, const std::string& parent, bool fallback) {
    const json* v = Find(object, key);
    if (v == nullptr) return fallback;
    if (!v->is_boolean())
        WrongValue(Path(parent, key), texts::Translate("DocumentFile", "true или false"));
    return v->get<bool>();
}

double RealOf(const json& v, const std::string& path) {
    if (v.is_number()) return v.get<double>();
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
        if (s == "Infinity") return std::numeric_limits<double>::infinity();
        if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    }
    WrongValue(path, texts::Translate("DocumentFile", "числом"));
}

long long IntegerAt(const json& object, const char* key, const std::string& parent,
                    long long fallback, long long low, long long high) {
    const json* v = Find(object, key);
    if (v == nullptr) return fallback;
    if (!v->is_number_integer() || v->get<long long>() < low || v->get<long long>() > high ||
        (v->is_number_unsigned() &&
         v->get<unsigned long long>() > static_cast<unsigned long long>(high)))
        WrongValue(Path(parent, key),
                   texts::Fill(texts::Translate("DocumentFile", "целым числом от %1 до %2"),
                               {std::to_string(low), std::to_string(high)}));
    return v->get<long long>();
}

const json& ObjectAt(const json& object, const char* key, const std::string& parent) {
    static const json empty = json::object();
    const json* v = Find(object, key);
    if (v == nullptr) return empty;
    if (!v->is_object())
        WrongValue(Path(parent, key), texts::Translate("DocumentFile", "объектом"));
    return *v;
}

const json& ArrayAt(const json& object, const char* key, const std::string& parent) {
    static const json empty = json::array();
    const json* v = Find(object, key);
    if (v == nullptr) return empty;
    if (!v->is_array()) WrongValue(Path(parent, key), texts::Translate("DocumentFile", "массивом"));
    return *v;
}

int ChoiceAt(const json& object, const char* key, const std::string& parent,
             const std::vector<std::string>& names, int fallback) {
    const json* v = Find(object, key);
    if (v == nullptr) return fallback;
    const auto at =
        v->is_string() ? std::find(names.begin(), names.end(), v->get<std::string>()) : names.end();
    if (at == names.end()) {
        std::string list;
        for (const std::string& n : names)
            if (!n.empty()) list += (list.empty() ? "\"" : ", \"") + n + "\"";
        WrongValue(Path(parent, key),
                   texts::Fill(texts::Translate("DocumentFile", "одним из: %1"), {list}));
    }
    return static_cast<int>(at - names.begin());
}

TColorValue ColourOf(const json& v, const std::string& path) {
    const std::string s = v.is_string() ? v.get<std::string>() : std::string();
    unsigned r = 0, g = 0, b = 0;
    char end = 0;
    if (s.size() != 7 || std::sscanf(s.c_str(), "#%2x%2x%2x%c", &r, &g, &b, &end) != 3 ||
        !std::all_of(s.begin() + 1, s.end(), [](char c) { return std::isxdigit(c) != 0; }))
        WrongValue(path, texts::Translate("DocumentFile", "цветом вида \"#rrggbb\""));
    return r | g << 8 | b << 16;
}

std::string UnknownOf(const json& object, std::initializer_list<const char*> known) {
    json unknown = json::object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return it.key() == k; }))
            unknown[it.key()] = it.value();
    return unknown.empty() ? std::string() : unknown.dump();
}

// The deepest nesting of arrays and objects in a JSON text, counted before
// it is parsed (a parse of deep nesting could use up the stack).
int Depth(const std::string& text) {
    int depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

const char* const PlayNames[] = {"", "loop", "bounce", "once"};

// A parameter of the document, each key checked as the rest are.
// "derivatives": [1, 2] and "antiderivative": {"x0", "y0"} of a graph;
// neither key when it draws neither.
void PutCalculus(json& item, const TGraphCalculus& c) {
    json orders = json::array();
    if (c.First) orders.push_back(1);
    if (c.Second) orders.push_back(2);
    if (!orders.empty()) item["derivatives"] = orders;
    if (c.Antiderivative) item["antiderivative"] = {{"x0", Number(c.X0)}, {"y0", Number(c.Y0)}};
}

TGraphCalculus CalculusOf(const json& item, const std::string& at) {
    TGraphCalculus c;
    const json& orders = ArrayAt(item, "derivatives", at);
    for (std::size_t k = 0; k < orders.size(); ++k) {
        const json& order = orders[k];
        if (!order.is_number_integer() ||
            (order.get<long long>() != 1 && order.get<long long>() != 2))
            WrongValue(Path(at, "derivatives/" + std::to_string(k)),
                       texts::Translate("DocumentFile", "числом 1 или 2"));
        (order.get<long long>() == 1 ? c.First : c.Second) = true;
    }
    if (const json* a = Find(item, "antiderivative"); a != nullptr && !a->is_null()) {
        const std::string path = Path(at, "antiderivative");
        const json& point = ObjectAt(item, "antiderivative", at);
        c.Antiderivative = true;
        for (auto [key, value] : {std::pair{"x0", &c.X0}, std::pair{"y0", &c.Y0}}) {
            const json* v = Find(point, key);
            *value = v == nullptr ? 0 : RealOf(*v, Path(path, key));
            if (!std::isfinite(*value))
                WrongValue(Path(path, key), texts::Translate("DocumentFile", "конечным числом"));
        }
    }
    return c;
}

TParameter ParameterOf(const json& item, const std::string& at) {
    if (!item.is_object()) WrongValue(at, texts::Translate("DocumentFile", "объектом"));
    TParameter p;
    p.Name = TextAt(item, "name", at, "");
    if (!HasParameterNameForm(p.Name))
        WrongValue(Path(at, "name"),
                   texts::Translate("DocumentFile", "именем параметра: латинские буквы и цифры, "
                                                    "первой — буква, не больше 32"));
    const auto real = [&](const char* key, double fallback) {
        const json* v = Find(item, key);
        return v == nullptr ? fallback : RealOf(*v, Path(at, key));
    };
    p.Value = real("value", p.Value);
    p.Min = real("min", p.Min);
    p.Max = real("max", p.Max);
    p.Step = real("step", p.Step);
    p.Speed = real("speed", p.Speed);
    if (!(p.Min < p.Max))
        WrongValue(Path(at, "max"), texts::Translate("DocumentFile", "числом больше \"min\""));
    if (!(p.Step > 0))
        WrongValue(Path(at, "step"), texts::Translate("DocumentFile", "числом больше 0"));
    if (!(p.Speed > 0))
        WrongValue(Path(at, "speed"), texts::Translate("DocumentFile", "числом больше 0"));
    const json* play = Find(item, "play");
    if (play != nullptr && !play->is_null())
        p.Play =
            static_cast<TPlay>(ChoiceAt(item, "play", at, {PlayNames + 1, PlayNames + 4}, 0) + 1);
    p.Unknown = UnknownOf(item, {"name", "value", "min", "max", "step", "play", "speed"});
    return p;
}

std::vector<std::string> Names(std::initializer_list<const char*> names) {
    return {names.begin(), names.end()};
}

} // namespace

TDocumentFile DocumentOfRecord(const TPlotFileRecord& record) {
    TDocumentFile d;
    d.Record = record;
    int last = PlotFileListSlots;
    while (last > 0 && record.FormulaList[last - 1].empty())
        --last;
    const TColourBlock colours = CurrentColours();
    for (int k = 0; k < last; ++k) {
        TGraphStyle g;
        g.Formula = record.FormulaList[k];
        g.Colour = ListGraphColour(colours.Values + 3, k + 1);
        d.Graphs.push_back(g);
    }
    for (std::string& item : d.Record.FormulaList)
        item.clear();
    const auto view = ViewIndexes(RecordMode(record), record.Cartesian);
    for (int k = 0; k < 4; ++k)
        d.View[k] = record.Numbers[view[static_cast<std::size_t>(k)]];
    d.Colours = colours;
    return d;
}

TPlotFileRecord RecordOfDocument(const TDocumentFile& document) {
    TPlotFileRecord r = document.Record;
    for (int k = 0; k < PlotFileListSlots; ++k)
        r.FormulaList[k] = k < static_cast<int>(document.Graphs.size())
                               ? document.Graphs[static_cast<std::size_t>(k)].Formula
                               : std::string();
    return r;
}

TGraphPen PenOf(const TGraphStyle& graph) {
    TGraphPen pen;
    if (graph.ColourGiven) pen.Colour = graph.Colour;
    pen.Width = graph.Width;
    pen.Style = graph.Style;
    pen.Visible = graph.Visible;
    pen.Name = graph.Name;
    pen.Calculus = graph.Calculus;
    return pen;
}

TPlotInput InputFromDocument(const TDocumentFile& document, bool* replaced) {
    TPlotInput input = InputFromRecord(document.Record, replaced);
    input.List.clear();
    for (const TGraphStyle& g : document.Graphs)
        if (!g.Formula.empty()) {
            input.List.push_back(g.Formula);
            input.Pens.push_back(PenOf(g));
        }
    const TDocumentSwitches& s = document.Switches;
    input.Axes = s.Axes;
    input.Grid = s.Grid;
    input.EqualScales = s.EqualScales;
    input.MinimalStep = s.MinimalStep;
    input.Centre = s.Centre;
    input.EqualRows = s.EqualRows;
    std::copy(std::begin(s.Families), std::end(s.Families), input.Families);
    input.Legend = document.Legend;
    input.ExactGraphs = document.ExactGraphs;
    input.FormulaCalculus = document.FormulaCalculus;
    input.Parameters = document.Parameters;
    return input;
}

std::string LostInRecord(const TDocumentFile& document) {
    std::vector<std::string> lost;
    const auto n = static_cast<int>(document.Graphs.size());
    if (n > PlotFileListSlots)
        lost.push_back(texts::Fill(texts::Translate("DocumentFile", "графики %1–%2"),
                                   {std::to_string(PlotFileListSlots + 1), std::to_string(n)}));
    std::string styled;
    int count = 0;
    for (int k = 0; k < std::min(n, PlotFileListSlots); ++k) {
        const TGraphStyle& g = document.Graphs[static_cast<std::size_t>(k)];
        if (g.Width == 1 && g.Style == TLineStyle::Solid && g.Visible && g.Name.empty()) continue;
        styled += (count++ == 0 ? "" : ", ") + std::to_string(k + 1);
    }
    if (count == 1)
        lost.push_back(texts::Fill(texts::Translate("DocumentFile", "стиль графика %1"), {styled}));
    else if (count > 1)
        lost.push_back(
            texts::Fill(texts::Translate("DocumentFile", "стиль графиков %1"), {styled}));
    if (document.Legend) lost.push_back(texts::Translate("DocumentFile", "легенда"));
    if (document.ExactGraphs)
        lost.push_back(texts::Translate("DocumentFile", "точный рисунок графиков"));
    if (!document.Parameters.empty()) lost.push_back(texts::Translate("DocumentFile", "параметры"));
    bool calculus = document.FormulaCalculus.Any();
    for (const TGraphStyle& g : document.Graphs)
        calculus = calculus || g.Calculus.Any();
    if (calculus) lost.push_back(texts::Translate("DocumentFile", "производные и первообразные"));
    std::string words;
    for (const std::string& w : lost)
        words += (words.empty() ? "" : ", ") + w;
    return words;
}

std::string DocumentJson(const TDocumentFile& d) {
    const TPlotFileRecord& r = d.Record;
    json j;
    j["format"] = "plotter-document";
    j["version"] = DocumentFileVersion;
    j["mode"] = ModeNames[std::clamp(RecordMode(r), 0, 6)];
    j["coordinates"] = r.Cartesian ? "cartesian" : "polar";
    j["view"] = {{"x1", Number(d.View[0])},
                 {"x2", Number(d.View[1])},
                 {"y1", Number(d.View[2])},
                 {"y2", Number(d.View[3])}};
    j["formula"] = r.MainFormula;
    PutCalculus(j, d.FormulaCalculus);
    j["all"] = r.AllFormulas;
    json list = json::array();
    for (const TGraphStyle& g : d.Graphs) {
        json item = {{"formula", g.Formula}, {"color", Hex(g.Colour)},
                     {"width", g.Width},     {"style", StyleNames[static_cast<int>(g.Style)]},
                     {"visible", g.Visible}, {"name", g.Name}};
        PutCalculus(item, g.Calculus);
        const json kept = Kept(g.Unknown);
        for (const auto& [key, value] : kept.items())
            if (!item.contains(key)) item[key] = value;
        list.push_back(item);
    }
    j["list"] = list;
    j["legend"] = d.Legend;
    j["exactGraphs"] = d.ExactGraphs;
    json parameters = json::array();
    for (const TParameter& p : d.Parameters) {
        json item = {{"name", p.Name},          {"value", Number(p.Value)}, {"min", Number(p.Min)},
                     {"max", Number(p.Max)},    {"step", Number(p.Step)},   {"play", nullptr},
                     {"speed", Number(p.Speed)}};
        if (p.Play != TPlay::None) item["play"] = PlayNames[static_cast<int>(p.Play)];
        const json kept = Kept(p.Unknown); // alive through the loop over its items
        for (auto& [key, value] : kept.items())
            if (!item.contains(key)) item[key] = value;
        parameters.push_back(item);
    }
    j["parameters"] = parameters;
    j["x0"] = Number(r.X0);
    j["result"] = r.ResultText;
    j["animation"] = {{"first", r.FirstFrame},       {"last", r.LastFrame},
                      {"interval", r.FrameInterval}, {"loop", r.LoopAnimation},
                      {"cameraPath", d.CameraPath},  {"viewAlong", d.ViewAlong}};
    const TDocumentSwitches& s = d.Switches;
    j["switches"] = {{"axes", s.Axes},
                     {"grid", s.Grid},
                     {"equalScales", s.EqualScales},
                     {"minimalStep", s.MinimalStep},
                     {"centre", s.Centre},
                     {"equalRows", s.EqualRows},
                     {"levelLines", {s.Families[0], s.Families[1], s.Families[2]}}};
    json graphs = json::array();
    for (int k = 0; k < GraphColourCount; ++k)
        graphs.push_back(Hex(d.Colours.Values[3 + k]));
    j["colors"] = {{"axes", Hex(d.Colours.Values[0])},
                   {"background", Hex(d.Colours.Values[1])},
                   {"font", Hex(d.Colours.Values[2])},
                   {"graphs", graphs}};
    json numbers, formulas;
    for (int k = 0; k < DocumentNumberCount; ++k)
        numbers[NumberNames[k]] = Number(r.Numbers[k]);
    for (int k = 0; k < DocumentFormulaCount; ++k)
        formulas[FormulaNames[k]] = r.Formulas[k];
    j["numbers"] = numbers;
    j["formulas"] = formulas;
    const json kept = Kept(d.Unknown);
    for (const auto& [key, value] : kept.items())
        if (!j.contains(key)) j[key] = value;
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

TDocumentFile DocumentOfJson(const std::string& text) {
    if (text.size() > MaxDocumentFileBytes)
        Refuse(texts::Fill(texts::Translate("DocumentFile", "он больше %1 МБ"),
                           {std::to_string(MaxDocumentFileBytes >> 20)}));
    if (Depth(text) > MaxDocumentDepth)
        Refuse(texts::Fill(texts::Translate("DocumentFile", "вложенность в нём глубже %1"),
                           {std::to_string(MaxDocumentDepth)}));
    json j;
    try {
        j = json::parse(text);
    } catch (const json::parse_error& e) {
        Refuse(texts::Fill(texts::Translate("DocumentFile", "в нём не JSON (ошибка у байта %1)"),
                           {std::to_string(e.byte)}));
    } catch (const json::exception&) { // a number beyond the doubles, say
        Refuse(texts::Translate("DocumentFile", "в нём не JSON, который можно прочесть"));
    }
    if (!j.is_object() || TextAt(j, "format", "", "") != "plotter-document")
        Refuse(texts::Translate(
            "DocumentFile",
            "это не документ программы: в нём нет \"format\": \"plotter-document\""));
    const long long version = IntegerAt(j, "version", "", -1, 1, std::numeric_limits<int>::max());
    if (version > DocumentFileVersion)
        Refuse(
            texts::Fill(texts::Translate("DocumentFile",
                                         "он записан более новой программой: версия документа %1, "
                                         "а эта программа читает версию %2"),
                        {std::to_string(version), std::to_string(DocumentFileVersion)}));
    if (version < 1) WrongValue("/version", texts::Translate("DocumentFile", "целым числом от 1"));

    TDocumentFile d;
    TPlotFileRecord& r = d.Record;
    TPlotDocument defaults;
    SetDocumentDefaults(defaults);
    r.Mode = ChoiceAt(j, "mode", "", {ModeNames, ModeNames + 7}, pmYx);
    if (r.Mode == 0) WrongValue("/mode", texts::Translate("DocumentFile", "режимом"));
    r.Cartesian = ChoiceAt(j, "coordinates", "", Names({"cartesian", "polar"}), 0) == 0;
    r.MainFormula = TextAt(j, "formula", "", "");
    d.FormulaCalculus = CalculusOf(j, "");
    r.AllFormulas = BoolAt(j, "all", "", false);
    const json& list = ArrayAt(j, "list", "");
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::string at = "/list/" + std::to_string(k);
        if (!list[k].is_object()) WrongValue(at, texts::Translate("DocumentFile", "объектом"));
        const json& item = list[k];
        TGraphStyle g;
        g.Formula = TextAt(item, "formula", at, "");
        if (const json* c = Find(item, "color")) {
            g.Colour = ColourOf(*c, Path(at, "color"));
            g.ColourGiven = true;
        }
        g.Width = static_cast<int>(IntegerAt(item, "width", at, 1, 1, 8));
        g.Style =
            static_cast<TLineStyle>(ChoiceAt(item, "style", at, {StyleNames, StyleNames + 3}, 0));
        g.Visible = BoolAt(item, "visible", at, true);
        g.Name = TextAt(item, "name", at, "");
        g.Calculus = CalculusOf(item, at);
        g.Unknown = UnknownOf(item, {"formula", "color", "width", "style", "visible", "name",
                                     "derivatives", "antiderivative"});
        d.Graphs.push_back(g);
    }
    d.Legend = BoolAt(j, "legend", "", false);
    d.ExactGraphs = BoolAt(j, "exactGraphs", "", false);
    const json& parameters = ArrayAt(j, "parameters", "");
    for (std::size_t k = 0; k < parameters.size(); ++k)
        d.Parameters.push_back(ParameterOf(parameters[k], "/parameters/" + std::to_string(k)));
    for (std::size_t k = 0; k < d.Parameters.size(); ++k)
        for (std::size_t m = 0; m < k; ++m)
            if (UpperParameterName(d.Parameters[k].Name) ==
                UpperParameterName(d.Parameters[m].Name))
                WrongValue(
                    "/parameters/" + std::to_string(k) + "/name",
                    texts::Translate("DocumentFile", "именем, которого нет у параметров до него"));
    const json* x0 = Find(j, "x0");
    r.X0 = x0 == nullptr ? 0 : RealOf(*x0, "/x0");
    r.ResultText = TextAt(j, "result", "", "");
    const json& animation = ObjectAt(j, "animation", "");
    constexpr long long I32 = std::numeric_limits<std::int32_t>::max();
    r.FirstFrame =
        static_cast<std::int32_t>(IntegerAt(animation, "first", "/animation", 1, -I32 - 1, I32));
    r.LastFrame =
        static_cast<std::int32_t>(IntegerAt(animation, "last", "/animation", 20, -I32 - 1, I32));
    r.FrameInterval = static_cast<std::int32_t>(
        IntegerAt(animation, "interval", "/animation", 50, -I32 - 1, I32));
    r.LoopAnimation = BoolAt(animation, "loop", "/animation", false);
    d.CameraPath = BoolAt(animation, "cameraPath", "/animation", false);
    d.ViewAlong = static_cast<int>(IntegerAt(animation, "viewAlong", "/animation", 1, 1, 3));
    const json& switches = ObjectAt(j, "switches", "");
    TDocumentSwitches& sw = d.Switches;
    const std::pair<const char*, bool*> flags[] = {{"axes", &sw.Axes},
                                                   {"grid", &sw.Grid},
                                                   {"equalScales", &sw.EqualScales},
                                                   {"minimalStep", &sw.MinimalStep},
                                                   {"centre", &sw.Centre},
                                                   {"equalRows", &sw.EqualRows}};
    for (const auto& [key, flag] : flags)
        *flag = BoolAt(switches, key, "/switches", *flag);
    const json& levels = ArrayAt(switches, "levelLines", "/switches");
    if (!levels.empty() &&
        (levels.size() != 3 ||
         !std::all_of(levels.begin(), levels.end(), [](const json& v) { return v.is_boolean(); })))
        WrongValue("/switches/levelLines",
                   texts::Translate("DocumentFile", "массивом из трёх true или false"));
    for (std::size_t k = 0; k < levels.size(); ++k)
        sw.Families[k] = levels[k].get<bool>();
    const json& colors = ObjectAt(j, "colors", "");
    const char* colourKeys[] = {"axes", "background", "font"};
    for (int k = 0; k < 3; ++k)
        if (const json* c = Find(colors, colourKeys[k]))
            d.Colours.Values[k] = ColourOf(*c, Path("/colors", colourKeys[k]));
    const json& graphColours = ArrayAt(colors, "graphs", "/colors");
    if (graphColours.size() > GraphColourCount)
        WrongValue("/colors/graphs", texts::Translate("DocumentFile", "массивом из 11 цветов"));
    for (std::size_t k = 0; k < graphColours.size(); ++k)
        d.Colours.Values[3 + k] = ColourOf(graphColours[k], "/colors/graphs/" + std::to_string(k));
    const json& numbers = ObjectAt(j, "numbers", "");
    for (int k = 0; k < DocumentNumberCount; ++k) {
        const json* v = Find(numbers, NumberNames[k]);
        r.Numbers[k] =
            v == nullptr ? defaults.Numbers[k] : RealOf(*v, Path("/numbers", NumberNames[k]));
    }
    const json& formulas = ObjectAt(j, "formulas", "");
    for (int k = 0; k < DocumentFormulaCount; ++k)
        r.Formulas[k] = TextAt(formulas, FormulaNames[k], "/formulas", defaults.Formulas[k]);
    // The view, where given, is the 2D view of the mode.
    const json& view = ObjectAt(j, "view", "");
    const auto indexes = ViewIndexes(r.Mode, r.Cartesian);
    const char* viewKeys[] = {"x1", "x2", "y1", "y2"};
    for (int k = 0; k < 4; ++k) {
        const auto index = indexes[static_cast<std::size_t>(k)];
        const json* v = Find(view, viewKeys[k]);
        d.View[k] = v == nullptr ? r.Numbers[index] : RealOf(*v, Path("/view", viewKeys[k]));
        if (r.Mode == pmYx || r.Mode == pmPlane) r.Numbers[index] = d.View[k];
    }
    d.Unknown = UnknownOf(j, {"format",     "version",     "mode",        "coordinates",
                              "view",       "formula",     "all",         "list",
                              "legend",     "exactGraphs", "derivatives", "antiderivative",
                              "parameters", "x0",          "result",      "animation",
                              "switches",   "colors",      "numbers",     "formulas"});
    return d;
}

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

[[noreturn]] void NotOpened(const std::string& path, const std::string& reason) {
    throw PlotFileError(texts::Fill(
        texts::Translate("DocumentFile", "Файл «%1» не открыт: %2. Всё осталось как было."),
        {FileName(path), reason}));
}

} // namespace

TDocumentFile ReadDocumentFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        NotOpened(path, texts::Translate("DocumentFile", "его нет"));
    if (!std::filesystem::is_regular_file(status))
        NotOpened(path, texts::Translate("DocumentFile", "это не обычный файл"));
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > MaxDocumentFileBytes)
        NotOpened(path, texts::Fill(texts::Translate("DocumentFile", "он больше %1 МБ"),
                                    {std::to_string(MaxDocumentFileBytes >> 20)}));
    std::ifstream in(path, std::ios::binary);
    if (!in) NotOpened(path, texts::Translate("DocumentFile", "его не прочесть"));
    std::string text;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    try {
        return DocumentOfJson(text);
    } catch (const PlotFileError& e) {
        NotOpened(path, e.what());
    }
}

void WriteDocumentFile(const std::string& path, const TDocumentFile& document) {
    const std::string text = DocumentJson(document);
    WritePlotFileBytes(path, text.data(), text.size());
}

bool IsDocumentFileName(const std::string& path) {
    if (path.size() < 5) return false;
    std::string end = path.substr(path.size() - 5);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".mthx";
}
