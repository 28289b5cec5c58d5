// Pictures out of the program: the 2D picture as PNG, SVG or PDF, the 3D
// frame as PNG, and the 3D geometry as STL, OBJ or PLY; each written whole
// before it replaces a file of its name. The window and the command line
// export through the same functions.
#pragma once

#include "document/PlotInput.h"
#include "plot2d/Picture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;

enum class TExportFormat { Png, Svg, Pdf, Stl, Obj, Ply };

// One choice of the export dialog: a format, with a size for PNG.
struct TExportChoice {
    TExportFormat Format;
    QString Filter;    // the dialog's text, "PNG, 800 × 800 (*.png)"
    QString Extension; // ".png"
    QSize Size;        // PNG: the picture's pixels; otherwise empty
};

// The choices that fit a mode: PNG, SVG, PDF in 2D; PNG and the geometry's
// own formats in 3D.
std::vector<TExportChoice> ExportChoices(int mode);

// The format a file name asks for by its extension (case is ignored).
std::optional<TExportFormat> FormatOfName(const QString& path);

// Refuses (BuildRefused) a format that does not fit the mode, with the
// message the user reads.
void CheckFormatFits(int mode, TExportFormat format);

// Writes the picture of `input.Mode` to `path` in `format`: in 2D the
// picture of the input in the current view (the view must be set), in 3D
// what the buffers hold, drawn by `frame` (w × h pixels) for a PNG. `size` is the PNG's size (in 2D
// a square, 400 × 400 or a multiple). Throws with the message.
// Relations are proven for up to `relationSeconds`; what is not proven by
// then is written as it stands (uncertain pixels in their tint).
void ExportPicture(const std::string& path, TExportFormat format, const TPlotInput& input,
                   QSize size, const std::function<QImage(int w, int h)>& frame,
                   double relationSeconds = DefaultRelationSeconds);

// The formulas of the input's picture in one line, as printed under it.
QString FormulaLine(const TPlotInput& input);

// The 3D frame of the current buffers, w × h pixels.
using TFrame = std::function<QImage(int w, int h)>;

// What the export dialog gave: the path (with the extension of the format
// chosen when the name has none of its own), the format its name asks for
// or the one chosen, and a PNG's size when the format is the one chosen.
struct TExportTarget {
    QString Path;
    TExportFormat Format;
    QSize Size;
};
TExportTarget ExportTarget(QString path, const std::vector<TExportChoice>& choices,
                           const QString& chosenFilter);
// Where the export dialog starts: beside the open file under its name, or
// in `folder` when no file is open.
QString ExportStart(const std::string& openFile, const QString& folder);

// The picture of the input's mode, side × side pixels: the 2D picture at
// that scale, or the 3D frame. A code that is no mode has none (BuildRefused).
QImage ModeImage(const TPlotInput& input, int side, const TFrame& frame);
// The 2D picture as SVG; empty in 3D.
QByteArray ModeSvg(const TPlotInput& input);
// The printed page of the input's picture on `p`: the picture in its
// square, the formulas in one line under it.
void ComposeModePage(QPainter& p, const TPlotInput& input, const TFrame& frame);
// The message of a mode code that has no picture.
std::string NoPictureMessage();
