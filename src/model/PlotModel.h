// What the program holds beside the controls: the history of the window's
// state, the open file and what it holds as saved, the formulas as they
// were typed, the trees of the y(x) formulas, and what runs now. The main
// window owns one; its handlers read and write it, never a field of their
// own.
#pragma once

#include "document/DocumentFile.h"
#include "document/PlotFile.h"
#include "model/History.h"
#include "model/PlotState.h"
#include "plot2d/Picture.h"

#include <QString>

#include <functional>
#include <string>

struct TPlotModel {
    // The state as the controls show it now: each control writes its change
    // here as it happens, and the handlers read it from here. The document,
    // the colours, the frames and the view are kept by the program's globals
    // and joined to it when a step ends (see the window's WindowState).
    TPlotState State;
    TStateHistory History;

    // --- the open document
    std::string FileName; // the open file; empty: none
    // What a save wrote or an open read last, to tell unsaved changes.
    TPlotFileRecord SavedRecord;
    std::string SavedX0;
    // What the document held beyond a record (BeyondRecord).
    std::string SavedBeyond;
    // The formulas of the document as they were typed or read, before the
    // document cut them to 100 characters.
    std::string TypedFormulas[DocumentFormulaCount];
    // What the open document holds that the state does not: the
    // parameters and the keys of a later program; a save as .mthx writes
    // them again.
    TDocumentFile Kept;

    // --- what runs now
    // The y(x) formulas as last compiled: while the animation runs, they are
    // compiled again only when the slots have changed since (another mode's
    // build compiled into them) or the formula box was edited.
    TYxTrees YxTrees;
    // From its start until it ends or is cancelled, also with an interval
    // that gives no ticks.
    bool AnimationRunning = false;
    // The camera's curve failed to build: told once, not at every frame.
    bool TrajectoryFailed = false;
    // The picture of the plot area comes from a build that no repaint has
    // shown yet: the repaint that the build asked for need not build again.
    bool PictureFresh = false;
    // The window was asked to close while a scan ran: it closes when the scan ends.
    bool CloseAfterScan = false;
    // What the recovery file holds now (the state's bytes and the file's
    // name); empty: there is none.
    std::string RecoveryWritten;

    // --- what the status line says, in the language of the moment
    using TStatus = std::function<QString()>;
    TStatus Status;
    TStatus FieldErrorStatus; // the first field that failed in this build
};

// The record a save writes of a state; without `readX0` the x0 field is not
// read (nor can it fail), and its number is 0.
TPlotFileRecord RecordOfState(const TPlotState& state, bool readX0);

// The document a save as .mthx writes of a state: all of it, its texts as
// typed, every graph of the list with its style (ListStyles), the legend,
// and what `kept` holds beyond the state (parameters, keys of a later program).
TDocumentFile DocumentOfState(const TPlotState& state, const TDocumentFile& kept, bool readX0);

// The styles of a list's graphs among `styles`, found by their formulas
// (the list may have been added to, cut or cleared since): for each graph,
// its style, or none for a graph that has none.
std::vector<const TGraphStyle*> StylesOfList(const std::vector<std::string>& list,
                                             const std::vector<TGraphStyle>& styles);
// The pens of a list's graphs, from their styles among `styles`.
std::vector<TGraphPen> PensOfList(const std::vector<std::string>& list,
                                  const std::vector<TGraphStyle>& styles);
// Every graph of a state's list with its style: its own where it has one,
// else the pen of today's pictures in the colour of its place.
std::vector<TGraphStyle> ListStyles(const TPlotState& state);
// The rows of the list's editor as the state's list and styles, in their
// order; a row without a formula is left out.
void ApplyListRows(TPlotState& state, const std::vector<TGraphStyle>& rows);

// Two records save the same document: the same text everywhere, the same
// switches, and numbers that the fields show alike (15 digits). The result
// of y(x0) is left out: the program computes it again at will.
bool SameDocument(const TPlotFileRecord& a, const TPlotFileRecord& b);

// What a state's document holds beyond a record, as bytes to compare: the
// y(x) list beyond the record's slots, every graph's style and the legend.
std::string BeyondRecord(const TPlotState& state);

// The state holds what was saved last: no change to mark in the title.
bool StateIsSaved(const TPlotModel& model, const TPlotState& state);

// The name of the open document as the title and the question give it:
// its file's name, or "Без имени".
QString DocumentName(const TPlotModel& model);
// The main window's title: the program's own for a new document that
// nothing changed yet, otherwise the document's name with the place of the
// change mark ("[*]") before the program's.
QString WindowTitle(const TPlotModel& model, bool modified);

// --- the model and the program's globals
// The document with its formulas as typed, where the document holds them
// cut: what the builds take.
TPlotDocument TypedDocument(const TPlotModel& model);
// The whole state: the model's, with what the globals hold beside it (the
// document, the colours, the 3D colouring, the frames and where the flying
// camera looks, and the 2D view's edges).
TPlotState StateWithGlobals(const TPlotModel& model);
// A state's document, colours, colouring, frames and parameters into the globals (and
// the formulas as typed into the model); the view apart (ApplyView), since
// a layout sets a view of its own on the way.
void ApplyGlobals(TPlotModel& model, const TPlotState& state);
// The 2D view of the edges, exactly.
void ApplyView(const TViewEdges& view);
