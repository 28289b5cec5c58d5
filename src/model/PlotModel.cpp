#include "model/PlotModel.h"

#include "model/Parameters.h"

#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "plot2d/View2D.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

TPlotFileRecord RecordOfState(const TPlotState& s, bool readX0) {
    TPlotFileRecord r;
    const TPlotInput& in = s.Input;
    r.ResultText = CutFormula(s.X0Result);
    r.Cartesian = in.Coordinates == TCoordinates::Cartesian;
    const std::string& x0 = s.Fields[1];
    // A formula not yet evaluated stops a save here.
    r.X0 = x0.empty() || !readX0 ? 0 : StrToFloat(x0);
    for (int k = 0; k < DocumentFormulaCount; ++k)
        r.Formulas[k] = CutFormula(in.Document.Formulas[k]);
    std::copy(std::begin(in.Document.Numbers), std::end(in.Document.Numbers), r.Numbers);
    r.AllFormulas = in.AllFormulas;
    r.MainFormula = CutFormula(in.Formula);
    for (int k = 0; k < std::min(static_cast<int>(in.List.size()), PlotFileListSlots); ++k)
        r.FormulaList[k] = CutFormula(in.List[k]);
    r.Mode = in.Mode; // 0 when no mode item is checked
    r.FirstFrame = s.Animation.FirstFrame;
    r.LastFrame = s.Animation.LastFrame;
    r.FrameInterval = s.Animation.FrameInterval;
    r.LoopAnimation = s.Animation.Loop;
    return r;
}

std::vector<const TGraphStyle*> StylesOfList(const std::vector<std::string>& list,
                                             const std::vector<TGraphStyle>& all) {
    std::vector<bool> taken(all.size(), false);
    std::vector<const TGraphStyle*> styles(list.size(), nullptr);
    for (std::size_t k = 0; k < list.size(); ++k)
        for (std::size_t j = 0; j < all.size(); ++j)
            if (!taken[j] && all[j].Formula == list[k]) {
                taken[j] = true;
                styles[k] = &all[j];
                break;
            }
    return styles;
}

std::vector<TGraphPen> PensOfList(const std::vector<std::string>& list,
                                  const std::vector<TGraphStyle>& all) {
    std::vector<TGraphPen> pens;
    for (const TGraphStyle* style : StylesOfList(list, all))
        pens.push_back(style != nullptr ? PenOf(*style) : TGraphPen{});
    return pens;
}

std::vector<TGraphStyle> ListStyles(const TPlotState& s) {
    const std::vector<std::string>& list = s.Input.List;
    const std::vector<const TGraphStyle*> styles = StylesOfList(list, s.Styles);
    std::vector<TGraphStyle> graphs;
    for (std::size_t k = 0; k < list.size(); ++k) {
        TGraphStyle graph = styles[k] != nullptr ? *styles[k] : TGraphStyle{};
        if (!graph.ColourGiven)
            graph.Colour = ListGraphColour(s.Colours.Values + 3, static_cast<int>(k) + 1);
        graph.Formula = list[k];
        graphs.push_back(graph);
    }
    return graphs;
}

void ApplyListRows(TPlotState& state, const std::vector<TGraphStyle>& rows) {
    state.Input.List.clear();
    state.Styles.clear();
    for (const TGraphStyle& row : rows) {
        if (row.Formula.empty()) continue;
        state.Input.List.push_back(row.Formula);
        state.Styles.push_back(row);
    }
}

TDocumentFile DocumentOfState(const TPlotState& s, const TDocumentFile& kept, bool readX0) {
    TDocumentFile d = kept;
    d.Record = RecordOfState(s, readX0);
    const TPlotInput& in = s.Input;
    // The texts as typed: the document has no limit of 100 characters.
    for (int k = 0; k < DocumentFormulaCount; ++k)
        d.Record.Formulas[k] = in.Document.Formulas[k];
    d.Record.MainFormula = in.Formula;
    d.Record.ResultText = s.X0Result;
    for (std::string& slot : d.Record.FormulaList)
        slot.clear();
    d.Graphs = ListStyles(s);
    d.Legend = s.Legend;
    d.ExactGraphs = s.ExactGraphs;
    d.FormulaCalculus = in.FormulaCalculus;
    d.Parameters = s.Input.Parameters;
    d.View[0] = s.View.X1, d.View[1] = s.View.X2, d.View[2] = s.View.Y1, d.View[3] = s.View.Y2;
    TDocumentSwitches& w = d.Switches;
    w.Axes = in.Axes, w.Grid = in.Grid, w.EqualScales = in.EqualScales;
    w.MinimalStep = in.MinimalStep, w.Centre = in.Centre, w.EqualRows = in.EqualRows;
    std::copy(std::begin(in.Families), std::end(in.Families), w.Families);
    d.Colours = s.Colours;
    d.CameraPath = s.Animation.CameraPath;
    d.ViewAlong = s.Animation.ViewAlong;
    return d;
}

bool SameDocument(const TPlotFileRecord& a, const TPlotFileRecord& b) {
    if (a.FirstFrame != b.FirstFrame || a.LastFrame != b.LastFrame ||
        a.FrameInterval != b.FrameInterval || a.Mode != b.Mode || a.AllFormulas != b.AllFormulas ||
        a.Cartesian != b.Cartesian || a.LoopAnimation != b.LoopAnimation ||
        a.MainFormula != b.MainFormula)
        return false;
    for (int k = 0; k < PlotFileListSlots; ++k)
        if (a.FormulaList[k] != b.FormulaList[k]) return false;
    for (int k = 0; k < DocumentFormulaCount; ++k)
        if (a.Formulas[k] != b.Formulas[k]) return false;
    for (int k = 0; k < DocumentNumberCount; ++k)
        if (FormatNumber(a.Numbers[k]) != FormatNumber(b.Numbers[k])) return false;
    return true;
}

std::string BeyondRecord(const TPlotState& state) {
    TPlotState beyond;
    const auto& list = state.Input.List;
    beyond.Input.List.assign(
        list.begin() + std::min<std::ptrdiff_t>(std::ssize(list), PlotFileListSlots), list.end());
    // Only what the document would save: styles of graphs no longer in the
    // list, kept for their return, change nothing.
    const std::vector<const TGraphStyle*> styles = StylesOfList(list, state.Styles);
    for (const TGraphStyle* style : styles)
        beyond.Styles.push_back(style != nullptr ? *style : TGraphStyle{});
    beyond.Legend = state.Legend;
    beyond.ExactGraphs = state.ExactGraphs;
    beyond.Input.FormulaCalculus = state.Input.FormulaCalculus;
    return StateBytes(beyond);
}

bool StateIsSaved(const TPlotModel& model, const TPlotState& state) {
    return SameDocument(RecordOfState(state, false), model.SavedRecord) &&
           state.Fields[1] == model.SavedX0 && BeyondRecord(state) == model.SavedBeyond;
}

QString DocumentName(const TPlotModel& model) {
    return model.FileName.empty() ? QCoreApplication::translate("TForm1", "Без имени")
                                  : QFileInfo(QString::fromStdString(model.FileName)).fileName();
}

QString WindowTitle(const TPlotModel& model, bool modified) {
    const QString program = QCoreApplication::translate("TForm1", "Графики функций");
    if (model.FileName.empty() && !modified) return program;
    return DocumentName(model) + QStringLiteral("[*] — ") + program;
}

TPlotDocument TypedDocument(const TPlotModel& model) {
    TPlotDocument document = PlotDocument;
    // The builds take the formulas as typed; the document keeps 100 characters.
    for (int k = 0; k < DocumentFormulaCount; ++k)
        if (CutFormula(model.TypedFormulas[k]) == PlotDocument.Formulas[k])
            document.Formulas[k] = model.TypedFormulas[k];
    return document;
}

TPlotState StateWithGlobals(const TPlotModel& model) {
    TPlotState s = model.State;
    s.Input.Document = TypedDocument(model);
    s.Colours = CurrentColours();
    static_assert(std::tuple_size_v<decltype(s.Colouring)> == ColourCoeffCount);
    std::copy(std::begin(ColourCoeffs), std::end(ColourCoeffs), s.Colouring.begin());
    s.Animation.FirstFrame = FirstFrame;
    s.Animation.LastFrame = LastFrame;
    s.Animation.FrameInterval = FrameInterval;
    s.Animation.ViewAlong = ViewAlongMode;
    s.View = {ViewX1, ViewX2, ViewY1, ViewY2};
    return s;
}

void ApplyGlobals(TPlotModel& model, const TPlotState& s) {
    const TPlotDocument& document = s.Input.Document;
    for (int k = 0; k < DocumentFormulaCount; ++k) {
        model.TypedFormulas[k] = document.Formulas[k];
        PlotDocument.Formulas[k] = CutFormula(document.Formulas[k]);
    }
    std::copy(std::begin(document.Numbers), std::end(document.Numbers), PlotDocument.Numbers);
    ApplyColours(s.Colours);
    std::copy(s.Colouring.begin(), s.Colouring.end(), ColourCoeffs);
    FirstFrame = s.Animation.FirstFrame;
    LastFrame = s.Animation.LastFrame;
    FrameInterval = s.Animation.FrameInterval;
    ViewAlongMode = s.Animation.ViewAlong;
    ApplyParameters(s.Input.Parameters);
}

void ApplyView(const TViewEdges& view) {
    ViewX1 = view.X1, ViewX2 = view.X2, ViewY1 = view.Y1, ViewY2 = view.Y2;
    RecomputeViewFromEdges();
    RangeEditsDirty = false;
}
