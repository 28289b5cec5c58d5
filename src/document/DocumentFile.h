// The program's own document (.mthx): one JSON object that holds all a plot
// file holds, at full precision, and what a plot file cannot: any number of
// y(x) graphs with their own style, the legend, the 2D view, the window's
// switches and colours; and every key of a later program kept on a resave.
// Its contract is docs/document.schema.json.
#pragma once

#include "document/PlotFile.h"
#include "document/Settings.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int DocumentFileVersion = 1;
// What a reader takes at most, before it parses anything.
constexpr std::size_t MaxDocumentFileBytes = 16u << 20;
constexpr int MaxDocumentDepth = 32;

// One graph of the y(x) list, with its pen and its name in the legend.
struct TGraphStyle {
    std::string Formula;
    TColorValue Colour = ClBlue;
    bool ColourGiven = false; // by the document; otherwise the colour of its place in "Цвета"
    int Width = 1;            // device-independent pixels, 1 ... 8
    TLineStyle Style = TLineStyle::Solid;
    bool Visible = true;
    std::string Name; // empty: the legend shows the formula
    TGraphCalculus Calculus;
    std::string Unknown; // keys of a later program, as a JSON object ("" for none)
};

// The switches of the main window that a picture depends on.
struct TDocumentSwitches {
    bool Axes = true, Grid = true, EqualScales = true, MinimalStep = true, Centre = false,
         EqualRows = true;
    bool Families[3] = {true, true, true};
};

struct TDocumentFile {
    // Everything a plot file holds; its list is `Graphs` (any number).
    TPlotFileRecord Record;
    std::vector<TGraphStyle> Graphs;
    bool Legend = false;
    bool ExactGraphs = false;
    TGraphCalculus FormulaCalculus;      // of the graph of the formula box
    double View[4] = {-10, 10, -10, 10}; // x1, x2, y1, y2 of the 2D picture
    TDocumentSwitches Switches;
    TColourBlock Colours = DefaultColours();
    bool CameraPath = false;
    int ViewAlong = 1; // 1 ... 3
    std::vector<TParameter> Parameters;
    std::string Unknown; // keys of a later program, as a JSON object
};

// The document as a plot file has it: its list, with the graphs' colours
// from the colour block, and the 2D view of the record's mode.
TDocumentFile DocumentOfRecord(const TPlotFileRecord& record);
// The plot file of a document: the first ten graphs' formulas; every text
// is cut to 100 characters by the writer. What the record cannot hold is
// named by LostInRecord.
TPlotFileRecord RecordOfDocument(const TDocumentFile& document);
// What a plot file would lose of the document, in words ("графики 11–30,
// стиль графика 2"); empty when it holds it all.
std::string LostInRecord(const TDocumentFile& document);

// The pen a graph is drawn with, and its name in the legend.
TGraphPen PenOf(const TGraphStyle& graph);

// What a picture of the document is made from: the record's (as
// InputFromRecord makes it), with every graph of the list and the
// document's switches.
TPlotInput InputFromDocument(const TDocumentFile& document, bool* replaced = nullptr);

// The JSON text of a document, keys of a later program included.
std::string DocumentJson(const TDocumentFile& document);
// The document of a JSON text. Throws PlotFileError, before anything is
// used, for a text that is not such a document: not JSON, too large or too
// deeply nested, of another format, of a later version (named), a key of a
// wrong type or value (named by its path).
TDocumentFile DocumentOfJson(const std::string& text);

// Reads and writes a document file; a write is atomic. The messages name the file.
TDocumentFile ReadDocumentFile(const std::string& path);
void WriteDocumentFile(const std::string& path, const TDocumentFile& document);

// The name ends in ".mthx" (case is ignored).
bool IsDocumentFileName(const std::string& path);
